// The main window's side of the setup views: the working catalogue and Chord.dat, the question
// when a changed setup view is left, and the "Save setup..." key.
#include "MainSound.h"
#include "Program.h"
#include "TKalvintorMain.h"
#include "Texts.h"
#include "app/ViewTags.h"
#include "sound/MidiInputRouting.h"
#include "theory/Naming.h"

#include <QAction>
#include <QMessageBox>
#include <QToolButton>

namespace kalvintor::ui {

void TKalvintorMain::CreateSetupCommands() {
    // "Save setup..." (F3), for users with the exercise-setup right.
    auto* save = new QAction(text(7590, "Save setup..."), this);
    save->setObjectName(QStringLiteral("Gemopstning1"));
    save->setShortcut(QKeySequence(Qt::Key_F3));
    save->setShortcutContext(Qt::ApplicationShortcut);
    connect(save, &QAction::triggered, this, [this] {
        if (AccessRights[0]) SaveSetupAs();
    });
    addAction(save);
    // The catalogue's names follow every language load for as long as this window lives; the
    // exercise windows, registered later, re-caption after it.
    observeLanguage(this, {}, [this] {
        theory::ApplyCatalogueNames(Catalogue.catalogue, program().language, Settings.language);
    });
}

void TKalvintorMain::LoadUserCatalogue() {
    Catalogue.Load(program().paths.dataPath / theory::kChordFileName);
    theory::ApplyCatalogueNames(Catalogue.catalogue, program().language, Settings.language);
}

void TKalvintorMain::CatalogueEdited() {
    Catalogue.changed = true;
    // Tutor material never reaches Chord.dat; edits made meanwhile are written with the next one.
    if (TutorActive || TutorMaterialInForce()) return;
    switch (Catalogue.Save()) {
        case setup::CatalogueSave::Refused:
            QMessageBox::warning(
                this, text(5005, "Error"),
                text(
                    7579,
                    "The chord file %1 could not be read completely, or it was written by a newer version of "
                    "the program. It is left as it is: your changes are used until the program ends but "
                    "are not saved.")
                    .arg(toQString(Catalogue.file)));
            break;
        case setup::CatalogueSave::Failed:
            QMessageBox::warning(this, text(5005, "Error"),
                                 text(7581,
                                      "The chord file %1 could not be written. Your changes are used until "
                                      "the program ends.")
                                     .arg(toQString(Catalogue.file)));
            break;
        case setup::CatalogueSave::Saved:
        case setup::CatalogueSave::Unchanged:
            break;
    }
}

void TKalvintorMain::RouteChordEditorMidi(std::function<void(std::uint32_t)> receiver) {
    ChordEditorMidi = std::move(receiver);
    if (!ChordEditorMidi)
        sound_->router().StopMidiInput();
    else if (Settings.midiInputEnabled)
        sound_->router().RouteMidiInput(sound::kTargetChordEditor);
}

bool TKalvintorMain::ConfirmLeavingSetupView() {
    if (Setup.ConfirmSetupChange()) return true;
    RunKonfig->setChecked(true);
    return false;
}

}  // namespace kalvintor::ui
