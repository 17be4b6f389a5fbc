// A setup-view host on a catalogue of its own, with the editors' changes written to a Chord.dat
// in a temporary folder.
#pragma once

#include "setup/SetupRecord.h"
#include "setup/UserCatalogue.h"
#include "ui/setup/SetupViewHost.h"

#include <QTemporaryDir>

namespace kalvintor::ui::testing {

struct FakeSetupHost final : SetupViewHost {
    FakeSetupHost() { catalogue.Load(std::filesystem::path(dir.path().toStdString()) / "Chord.dat"); }

    theory::ChordCatalogue& editableCatalogue() override { return catalogue.catalogue; }
    void catalogueEdited() override {
        catalogue.changed = true;
        ++edits;
        catalogue.Save();
    }
    bool mayEditMaterial() const override { return mayEdit; }
    int answerPicture() const override { return picture; }
    const setup::SetupRecord& enteredSetup() const override { return entered; }
    sound::TMidiOut* previewOut() override { return nullptr; }
    void routeEditorMidi(std::function<void(std::uint32_t)> receiver) override { midi = std::move(receiver); }

    QTemporaryDir dir;
    setup::UserCatalogue catalogue;
    setup::SetupRecord entered = setup::DefaultSetup();
    bool mayEdit = true;
    int picture = 2;
    int edits = 0;
    std::function<void(std::uint32_t)> midi;
};

}  // namespace kalvintor::ui::testing
