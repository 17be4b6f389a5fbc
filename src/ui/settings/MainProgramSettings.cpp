// "Program settings...": the main window opens the settings dialog and takes its values over in
// their order, applying each change at once.
#include "TProgramSettings.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TExerciseBaseClass.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "app/ViewTags.h"

#include "settings/GeneralMidi.h"
#include "settings/SoundFonts.h"
#include "sound/BuiltinSynth.h"
#include "sound/DeviceTexts.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace kalvintor::ui {

namespace {

QFont fontOf(const settings::Settings& s) {
    QFont font(QString::fromStdString(s.fontName), s.fontSize > 0 ? s.fontSize : 9);
    font.setBold((s.fontStyle & 1) != 0);
    font.setItalic((s.fontStyle & 2) != 0);
    font.setUnderline((s.fontStyle & 4) != 0);
    font.setStrikeOut((s.fontStyle & 8) != 0);
    return font;
}

}  // namespace

void TKalvintorMain::Opstning1Click() {
    if (SettingsDialogOpen) return;
    AutoNewQuestTimer.stop();
    auto dialog = std::make_unique<TProgramSettings>(*sound_, Access.level > app::kLevelStudent, this);
    settingsDialog_ = dialog.get();
    SettingsDialogOpen = true;
    connect(dialog.get(), &TProgramSettings::helpRequested, this,
            [this](int topic) { helpWindow()->showTopic(topic); });
    dialog->LoadSettings(Settings, fontOf(Settings));
    const std::uint8_t target = sound_->router().MidiInputTarget();
    sound_->midiOut().SetNotifyContext({true, static_cast<std::uint8_t>(CurrentExercise)});
    // Routing opens a keyboard for the dialog; that is no choice of the user's to keep.
    const settings::Settings before = Settings;
    sound_->router().RouteMidiInput(sound::kTargetSettingsDialog);
    Settings.midiInputDevice = before.midiInputDevice;

    if (dialog->exec() == QDialog::Accepted) ApplyProgramSettings(before, *dialog);

    sound_->router().StopMidiInput();
    if (target != sound::kTargetNobody) sound_->router().RouteMidiInput(target);
    settingsDialog_ = nullptr;
    SettingsDialogOpen = false;
    sound_->midiOut().SetNotifyContext({false, static_cast<std::uint8_t>(CurrentExercise)});
}

void TKalvintorMain::ApplyProgramSettings(const settings::Settings& before, const TProgramSettings& dialog) {
    settings::Settings after = Settings;
    dialog.StoreSettings(after);

    // Instruments and devices; the devices were opened when they were chosen.
    Settings.pianoVoice = after.pianoVoice;
    Settings.guitarVoice = after.guitarVoice;
    Settings.rhythmSound = after.rhythmSound;
    Settings.metronomeClick = after.metronomeClick;
    Settings.firstBeatClick = after.firstBeatClick;
    Settings.lightGuitar = after.lightGuitar;
    Settings.midiInputDevice = after.midiInputDevice;
    Settings.midiOutputDevice = after.midiOutputDevice;
    Settings.midiVolume = after.midiVolume;
    const bool devicesChanged =
        before.midiInputDevice != after.midiInputDevice || before.midiOutputDevice != after.midiOutputDevice;
    if (devicesChanged && Access.level == app::kLevelAdministrator &&
        QMessageBox::question(this, text(5008, "Confirm"),
                              text(5023, "Do you want these MIDI devices to be used by every user?")) ==
            QMessageBox::Yes)
        SaveProgramSettings(true);
    if (app::IsPitchExerciseWindow(CurrentExercise) || CurrentExercise == 3) {
        sound_->midiOut().ProgramChange(static_cast<std::uint8_t>(Settings.pianoVoice.program),
                                        static_cast<std::uint8_t>(Settings.pianoVoice.channel));
        sound_->midiOut().ProgramChange(static_cast<std::uint8_t>(Settings.guitarVoice.program),
                                        static_cast<std::uint8_t>(Settings.guitarVoice.channel));
    } else {
        for (const settings::TSoundRec& s : {Settings.metronomeClick, Settings.rhythmSound})
            if (s.channel != settings::kDrumChannel)
                sound_->midiOut().ProgramChange(static_cast<std::uint8_t>(s.program),
                                                static_cast<std::uint8_t>(s.channel));
    }
    sound_->sequencer.SeqSetMetronomeSound(Settings.metronomeClick, Settings.firstBeatClick);

    Settings.syncDelay = after.syncDelay;
    sound_->sequencer.SeqSetSyncDelay(static_cast<std::uint16_t>(std::clamp(after.syncDelay, 0, 600)));

    // A language whose file cannot be read leaves the language in force.
    if (after.language != before.language &&
        LoadLanguage(languageFileName(QString::fromStdString(after.language)), language::kLoadAll, this)) {
        Settings.language = after.language;
        if (Access.level == app::kLevelAdministrator &&
            QMessageBox::question(this, text(5008, "Confirm"),
                                  text(7955, "Do you want this language to be used by every user?")) ==
                QMessageBox::Yes)
            SaveProgramSettings(true);
        if (CurrentView == app::kViewSetup) {
            if (SetupView* view = setupView(CurrentExercise)) view->LoadSetup(CurrentExercise, Setup.current);
        }
        ApplySetupAll(false);
        if (CurrentView == app::kViewExercise)
            if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise)) window->ShowScore();
    }

    if (after.fontName != before.fontName || after.fontSize != before.fontSize ||
        after.fontStyle != before.fontStyle) {
        Settings.fontName = after.fontName;
        Settings.fontSize = after.fontSize;
        Settings.fontStyle = after.fontStyle;
        ApplyFont(dialog.chosenFont());
    }
    if (after.colour != before.colour) {
        Settings.colour = after.colour;
        ApplyColour();
    }
    if (after.rhythmSpacing != before.rhythmSpacing) {
        Settings.rhythmSpacing = after.rhythmSpacing;
        if (CurrentExercise >= 4 && CurrentExercise <= 6)
            if (TExerciseBaseClass* window = exerciseWindow(CurrentExercise)) window->update();
    }
    Settings.autoNewQuestionDelay = after.autoNewQuestionDelay;
    AutoNewQuestTimer.setInterval(Settings.autoNewQuestionDelay * 1000 + 100);
    Settings.autoNewQuestion = after.autoNewQuestion;
    Settings.onlyIfCorrect = after.onlyIfCorrect;
    Settings.rhythmPassThreshold = after.rhythmPassThreshold;

    if (after.toneSensitivity != before.toneSensitivity ||
        after.rhythmSensitivity != before.rhythmSensitivity || after.highPrecision != before.highPrecision) {
        Settings.toneSensitivity = after.toneSensitivity;
        Settings.rhythmSensitivity = after.rhythmSensitivity;
        Settings.highPrecision = after.highPrecision;
        sound_->mic().MicSetup(Settings);
    }
    Settings.soundEffects = after.soundEffects;
    Settings.correctSound = after.correctSound;
    Settings.wrongSound = after.wrongSound;
    Settings.waveVolume = after.waveVolume;
    Settings.damperAsEnter = after.damperAsEnter;
    Settings.controlByMidiTones = after.controlByMidiTones;
    Settings.controlKeys = after.controlKeys;
    sound_->router().BuildControlKeySet();
    Settings.introMusic = after.introMusic;
    if (dialog.resetTipsRequested()) Settings.tipsToShow = 255;

    SaveProgramSettings(false);
}

void TKalvintorMain::ApplyFont(const QFont& font) {
    // Every window takes the family and style; the labels keep their sizes.
    QFont base = this->font();
    base.setFamily(font.family());
    base.setBold(font.bold());
    base.setItalic(font.italic());
    setFont(base);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, Label6, Label7}) {
        if (w == nullptr) continue;
        QFont f = w->font();
        f.setFamily(font.family());
        f.setBold(font.bold());
        f.setItalic(font.italic());
        w->setFont(f);
    }
}

void TKalvintorMain::ApplyColour() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(Settings.colour));
    setPalette(palette);
}

void TKalvintorMain::SaveProgramSettings(bool shared) {
    if (Store == nullptr || (Guest && !shared)) return;
    Store->Settings = Settings;
    if (!Store->SaveSettings(shared ? std::int16_t{1} : UserId))
        QMessageBox::warning(this, text(5005, "Error"),
                             text(7959, "The settings could not be saved in the data directory."));
}

}  // namespace kalvintor::ui

namespace kalvintor::ui {

void TKalvintorMain::LoadRememberedSoundFont() {
    sound::BuiltinSynth* synth = sound_->synth();
    const QString file = rememberedSoundFont();
    if (synth == nullptr || file.isEmpty()) return;
    // A SoundFont that went away or was replaced by something else: the default stays, and the
    // workstation forgets the choice after saying so.
    const auto check = settings::CheckSoundFont(toPath(file));
    if (check != settings::SoundFontCheck::Usable) {
        rememberSoundFont(QString());
        QString message = check == settings::SoundFontCheck::Missing
                              ? text(sound::kTextSoundFontMissing, sound::kSoundFontMissingEnglish)
                              : text(sound::kTextSoundFontBroken, sound::kSoundFontBrokenEnglish);
        message.replace("%s", file);
        QTimer::singleShot(0, this,
                           [this, message] { QMessageBox::warning(this, text(5005, "Error"), message); });
        return;
    }
    QPointer<TKalvintorMain> self(this);
    synth->LoadSoundFontAsync(toPath(file), [self, file](sound::SynthError error) {
        if (error == sound::SynthError::None) return;
        QMetaObject::invokeMethod(
            qApp,
            [self, file] {
                rememberSoundFont(QString());
                if (self)
                    QMessageBox::warning(self, text(5005, "Error"),
                                         text(sound::kTextSoundFontBroken, sound::kSoundFontBrokenEnglish)
                                             .replace("%s", file));
            },
            Qt::QueuedConnection);
    });
}

}  // namespace kalvintor::ui
