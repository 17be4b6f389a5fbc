// The configuration wizard at start and the tip window.
#include "../AccessibleWalk.h"
#include "SettingsFixture.h"
#include "app/TTipform.h"
#include "app/ViewTags.h"
#include "settings/TConfigWizard.h"
#include "settings/TProgramSettings.h"
#include "ui/ScreenCapture.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

// The first run of the workstation for as long as it lives.
struct FirstRun {
    explicit FirstRun(bool on) : previous(program().firstRun) { program().firstRun = on; }
    ~FirstRun() { program().firstRun = previous; }
    bool previous;
};

QString settingFile(SettingsShell& shell) {
    return shell.dir.path() + "/Data/Setting.dat";
}

}  // namespace

TEST(ConfigWizard, FirstStartThroughEveryPageStoresTheSettingsOnce) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    FirstRun first(true);
    main.Settings.wizardDone = false;
    QStringList pages;
    QString lastKey;
    std::size_t notesPlayed = 0;
    whenModalOf<TConfigWizard>([&](TConfigWizard* wizard) {
        // Every control of every page has a name.
        EXPECT_EQ(unnamedControls(wizard), "");
        // Language, sound, MIDI keyboard, microphone, instrument.
        pages << wizard->findChild<QStackedWidget*>()->currentWidget()->objectName();
        EXPECT_FALSE(wizard->Button1->isEnabled());
        // A language without its file is reported and the previous one stays; another speaks at once.
        wizard->LanguageBox->addItem("Gone");
        emit wizard->LanguageBox->activated(wizard->LanguageBox->findText("Gone"));
        EXPECT_EQ(main.Settings.language, "English");
        EXPECT_EQ(wizard->LanguageBox->currentText(), "English");
        emit wizard->LanguageBox->activated(wizard->LanguageBox->findText("Testish"));
        EXPECT_EQ(main.Settings.language, "Testish");
        EXPECT_EQ(main.menuBar()->findChild<QMenu*>("File1")->title(), "&Fil");
        wizard->Forward();
        pages << wizard->findChild<QStackedWidget*>()->currentWidget()->objectName();
        const int second = wizard->ComboBox1->findText("Second synthesizer");
        wizard->ComboBox1->setCurrentIndex(second);
        emit wizard->ComboBox1->activated(second);
        shell.recording->Output()->ClearSent();
        wizard->SpeedButton4->click();
        notesPlayed = shell.recording->Output()->Sent().size();
        wizard->Forward();
        pages << wizard->findChild<QStackedWidget*>()->currentWidget()->objectName();
        // The keyboard's keys reach the page while it listens.
        EXPECT_TRUE(static_cast<bool>(main.ChordEditorMidi));
        if (main.ChordEditorMidi) main.ChordEditorMidi(0x00643C90);  // note-on 60
        lastKey = wizard->LastKey->text();
        wizard->Forward();
        pages << wizard->findChild<QStackedWidget*>()->currentWidget()->objectName();
        wizard->Forward();
        pages << wizard->findChild<QStackedWidget*>()->currentWidget()->objectName();
        EXPECT_EQ(wizard->Button2->text(), text(5115, "Finish"));
        wizard->SpeedButton2->click();  // guitar
        wizard->Button2->click();
    });
    MessageBoxes boxes;  // no microphone here
    EXPECT_TRUE(main.RunConfigWizard());
    EXPECT_EQ(pages,
              QStringList({"LanguagePage", "SoundPage", "MidiInputPage", "MicrophonePage", "TabSheet1"}));
    EXPECT_GT(notesPlayed, 0u);
    EXPECT_TRUE(lastKey.contains("C3")) << lastKey.toStdString();
    EXPECT_FALSE(static_cast<bool>(main.ChordEditorMidi));  // listening ends with the wizard

    // Every exercise answers on the guitar; the user's record holds it, and only his.
    EXPECT_TRUE(main.Settings.wizardDone);
    for (const auto& input : main.Settings.answerInputs) {
        EXPECT_EQ(input.instrument, 4);
        EXPECT_TRUE((input.mask & 4) != 0);
    }
    EXPECT_EQ(QFileInfo(settingFile(shell)).size(), static_cast<qint64>(settings::kSettingRecordSize));
    data::DataStore reader(shell.store->DataPath());
    ASSERT_TRUE(reader.LoadSettings(7, false));
    EXPECT_TRUE(reader.Settings.wizardDone);
    EXPECT_EQ(reader.Settings.midiOutputDevice, "Second synthesizer");
    EXPECT_EQ(reader.Settings.answerInputs[0].instrument, 4);
}

TEST(ConfigWizard, ClosedWithoutFinishingComesAgain) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    FirstRun notFirst(false);
    main.Settings.wizardDone = false;
    bool onlyInstrument = false;
    whenModalOf<TConfigWizard>([&](TConfigWizard* wizard) {
        // Only the instrument page: no way back, and it is the last.
        onlyInstrument = wizard->ActivePage() == app::WizardPage::Instrument &&
                         !wizard->Button1->isEnabled() && wizard->Button2->text() == text(5115, "Finish");
        wizard->close();
    });
    EXPECT_FALSE(main.RunConfigWizard());
    EXPECT_TRUE(onlyInstrument);
    EXPECT_FALSE(main.Settings.wizardDone);
    EXPECT_FALSE(QFileInfo::exists(settingFile(shell)));  // nothing stored

    // Finished once, it does not come again.
    main.Settings.wizardDone = true;
    EXPECT_FALSE(main.RunConfigWizard());
}

TEST(Tips, HideThisTipAndTheTipsAtStart) {
    // "Hide this tip" on tip 2 clears its bit; on a tip already hidden nothing changes.
    std::uint32_t mask = 0x3F;
    whenModalOf<TTipform>([](TTipform* tip) {
        EXPECT_TRUE(tip->Label1->text().contains("name button")) << tip->Label1->text().toStdString();
        EXPECT_TRUE(tip->NextButton->isHidden());
        tip->CheckBox1->setChecked(true);
        tip->Button1->click();
    });
    EXPECT_FALSE(TTipform::ShowTip(mask, 2, nullptr));
    EXPECT_EQ(mask, 0x3Du);
    whenModalOf<TTipform>([](TTipform* tip) {
        tip->CheckBox1->setChecked(true);
        tip->Button1->click();
    });
    EXPECT_FALSE(TTipform::ShowTip(mask, 2, nullptr));
    EXPECT_EQ(mask, 0x3Du);

    // At start: the day's tip, "Next tip" skips hidden ones, and no tips at start clears them all.
    int first = 0, second = 0;
    whenModalOf<TTipform>([&](TTipform* tip) {
        first = tip->Tip();
        tip->NextTip();
        second = tip->Tip();
        tip->ShowAtStartBox->setChecked(false);
        tip->Button1->click();
    });
    EXPECT_TRUE(TTipform::ShowAtStart(mask, 0, nullptr));  // day 0: from tip 1 on
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(mask, 0u);
    EXPECT_FALSE(TTipform::ShowAtStart(mask, 0, nullptr));
}

// Pictures of an open menu, two pages of the program settings and the wizard's sound page, taken
// from the screen when KALVINTOR_SCREENSHOT_DIR names a folder (run under Xvfb on the xcb
// platform); skipped otherwise.
TEST(Screens, MenusSettingsAndWizard) {
    if (screenshotDir().isEmpty()) GTEST_SKIP() << "no KALVINTOR_SCREENSHOT_DIR";
    // The main window's part of the screen.
    const auto take = [](const QString& name) { captureScreen(name, QRect(40, 40, 1000, 720)); };
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    main.SetExerciseWindow(2, new RecordingExercise(2, main));
    main.SetInfoView(app::kViewResults, new RecordingResults);
    main.setGeometry(40, 40, 1000, 720);
    main.show();
    main.SelectView(2, 1);
    QMenu* file = main.menuBar()->findChild<QMenu*>("File1");
    main.menuBar()->setActiveAction(file->menuAction());
    take("menu-file.png");
    file->hide();

    whenModalOf<TProgramSettings>([&](TProgramSettings* dialog) {
        dialog->pages()->setCurrentIndex(1);
        take("settings-devices.png");
        dialog->pages()->setCurrentIndex(2);
        take("settings-environment.png");
        dialog->close();
    });
    main.Opstning1Click();

    FirstRun first(true);
    main.Settings.wizardDone = false;
    whenModalOf<TConfigWizard>([&](TConfigWizard* wizard) {
        wizard->Forward();
        take("wizard-sound.png");
        wizard->reject();
    });
    MessageBoxes boxes;
    main.RunConfigWizard();
}
