// The main window as the host of the setup views and editors.
#pragma once

#include "SetupViewHost.h"

namespace kalvintor::ui {

class TKalvintorMain;

class MainSetupHost final : public SetupViewHost {
public:
    explicit MainSetupHost(TKalvintorMain& main) : main_(main) {}

    theory::ChordCatalogue& editableCatalogue() override;
    void catalogueEdited() override;
    bool mayEditMaterial() const override;
    int answerPicture() const override;
    const setup::SetupRecord& enteredSetup() const override;
    sound::TMidiOut* previewOut() override;
    void routeEditorMidi(std::function<void(std::uint32_t)> receiver) override;

private:
    TKalvintorMain& main_;
};

// Makes the pitch and melody setup views and registers them as view 2 of their exercises.
void RegisterPitchSetupViews(TKalvintorMain& main);

}  // namespace kalvintor::ui
