// The main window as the host of the setup views and editors.
#include "MainSetupHost.h"

#include "TChordOps.h"
#include "TMelodyOps.h"
#include "app/TKalvintorMain.h"

namespace kalvintor::ui {

namespace {

constexpr int kRightExerciseSetup = 0;
constexpr int kRightEditChords = 2;

// Owned by the main window's views once registered; the host lives as long as the window.
class HostedViews final : public QObject {
public:
    explicit HostedViews(TKalvintorMain& main) : QObject(&main), host(main) {}
    MainSetupHost host;
};

}  // namespace

theory::ChordCatalogue& MainSetupHost::editableCatalogue() {
    return main_.Catalogue.catalogue;
}
void MainSetupHost::catalogueEdited() {
    main_.CatalogueEdited();
}
bool MainSetupHost::mayEditMaterial() const {
    return main_.AccessRights[kRightExerciseSetup] && main_.AccessRights[kRightEditChords];
}
int MainSetupHost::answerPicture() const {
    return main_.Settings.answerInputs[0].instrument;
}
const setup::SetupRecord& MainSetupHost::enteredSetup() const {
    return main_.Setup.savedCopy;
}
sound::TMidiOut* MainSetupHost::previewOut() {
    return &main_.midiOut();
}
void MainSetupHost::routeEditorMidi(std::function<void(std::uint32_t)> receiver) {
    main_.RouteChordEditorMidi(std::move(receiver));
}

void RegisterPitchSetupViews(TKalvintorMain& main) {
    auto* views = new HostedViews(main);
    auto* chordOps = new TChordOps(views->host);
    for (int e : {1, 2, 3, 7, 8, 10}) main.SetSetupView(e, chordOps);
    main.SetSetupView(9, new TMelodyOps(views->host));
}

}  // namespace kalvintor::ui
