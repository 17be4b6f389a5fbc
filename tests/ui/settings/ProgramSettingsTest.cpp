// The program settings dialog: changes that take effect at once and come back at the next start,
// Cancel undoing live device changes, refused devices and language files, the percussion channel,
// the remote-control keys and the synchronisation test.
#include "SettingsFixture.h"
#include "settings/ControlKeyBox.h"
#include "settings/TProgramSettings.h"
#include "sound/NotifyRouting.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;

namespace {

template <typename T>
T* field(QWidget* dialog, const char* name) {
    T* w = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void choose(QComboBox* combo, const QString& entry) {
    const int index = combo->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void press(QWidget* dialog, const char* button) {
    field<QPushButton>(dialog, button)->click();
}

}  // namespace

TEST(ProgramSettings, ChangesTakeEffectAtOnceAndComeBackAtTheNextStart) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    MessageBoxes boxes;  // the administrator's "for every user?" questions are answered No
    whenModal([&](QWidget* dialog) {
        choose(field<QComboBox>(dialog, "ComboBox2"), "Second synthesizer");
        EXPECT_EQ(openedOutput(main), "Second synthesizer") << "the device opens when it is chosen";
        choose(field<QComboBox>(dialog, "ComboBox10"), "Testish");
        field<QSpinBox>(dialog, "UpDown11")->setValue(7);
        field<QSpinBox>(dialog, "UpDown1")->setValue(3);
        field<QComboBox>(dialog, "ComboBox3")->setCurrentIndex(40);
        field<QCheckBox>(dialog, "CheckBox3")->setChecked(true);
        field<ControlKeyBox>(dialog, "Edit12")->setValue(48);
        press(dialog, "BitBtn1");
    });
    main.Opstning1Click();

    EXPECT_EQ(main.Settings.midiOutputDevice, "Second synthesizer");
    EXPECT_EQ(main.Settings.language, "Testish");
    EXPECT_EQ(text(5, "File"), "Fil") << "the language is loaded at once";
    EXPECT_EQ(main.Settings.autoNewQuestionDelay, 7);
    EXPECT_EQ(main.AutoNewQuestTimer.interval(), 7100);
    EXPECT_EQ(main.Settings.pianoVoice.channel, 2);
    EXPECT_EQ(main.Settings.pianoVoice.program, 40);
    EXPECT_TRUE(main.Settings.controlByMidiTones);
    EXPECT_EQ(main.Settings.controlKeys[0], 48);
    EXPECT_FALSE(main.SettingsDialogOpen);

    // The next start reads the user's record.
    data::DataStore again(toPath(shell.dir.path() + "/Data/"));
    ASSERT_TRUE(again.LoadSettings(7, false));
    EXPECT_EQ(again.Settings.midiOutputDevice, "Second synthesizer");
    EXPECT_EQ(again.Settings.language, "Testish");
    EXPECT_EQ(again.Settings.autoNewQuestionDelay, 7);
    EXPECT_EQ(again.Settings.pianoVoice.program, 40);
    EXPECT_EQ(again.Settings.controlKeys[0], 48);
}

TEST(ProgramSettings, FontIsAppliedAndKept) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    whenModal([&](QWidget* dialog) {
        // The font dialog is the platform's; the dialog keeps what it returned.
        auto* settingsDialog = qobject_cast<TProgramSettings*>(dialog);
        ASSERT_NE(settingsDialog, nullptr);
        whenModalOf<QFontDialog>([](QFontDialog* fontDialog) {
            fontDialog->setCurrentFont(QFont("DejaVu Serif", 11));
            fontDialog->accept();
        });
        press(dialog, "BitBtn4");
        EXPECT_TRUE(field<QLabel>(dialog, "Label12")->text().startsWith("DejaVu Serif"));
        press(dialog, "BitBtn1");
    });
    main.Opstning1Click();
    EXPECT_EQ(main.Settings.fontName, "DejaVu Serif");
    EXPECT_EQ(main.font().family(), "DejaVu Serif");
    data::DataStore again(toPath(shell.dir.path() + "/Data/"));
    ASSERT_TRUE(again.LoadSettings(7, false));
    EXPECT_EQ(again.Settings.fontName, "DejaVu Serif");
}

TEST(ProgramSettings, CancelReturnsToTheStoredDevice) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    const std::string before = openedOutput(main);
    EXPECT_EQ(before, "Recording synthesizer");
    whenModal([&](QWidget* dialog) {
        choose(field<QComboBox>(dialog, "ComboBox2"), "Second synthesizer");
        EXPECT_EQ(openedOutput(main), "Second synthesizer");
        field<QSpinBox>(dialog, "UpDown11")->setValue(2);
        press(dialog, "BitBtn2");
    });
    main.Opstning1Click();
    EXPECT_EQ(openedOutput(main), before);
    EXPECT_EQ(main.Settings.midiOutputDevice, before);
    EXPECT_EQ(main.Settings.autoNewQuestionDelay, 4) << "nothing else is stored";
}

TEST(ProgramSettings, RefusedDeviceAndLanguageKeepTheWorkingChoice) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    QFile::remove(shell.dir.path() + "/Language/Testish.LAN");
    QFile vanished(shell.dir.path() + "/Language/Gone.LAN");
    vanished.open(QIODevice::WriteOnly);
    vanished.close();
    MessageBoxes boxes;
    whenModal([&](QWidget* dialog) {
        choose(field<QComboBox>(dialog, "ComboBox2"), "Second synthesizer");
        choose(field<QComboBox>(dialog, "ComboBox2"), "Broken synthesizer");
        EXPECT_EQ(field<QComboBox>(dialog, "ComboBox2")->currentText(), "Second synthesizer");
        EXPECT_EQ(openedOutput(main), "Second synthesizer") << "the device that worked stays open";
        choose(field<QComboBox>(dialog, "ComboBox10"), "Gone");
        QFile::remove(shell.dir.path() + "/Language/Gone.LAN");  // vanishes before OK
        press(dialog, "BitBtn1");
    });
    main.Opstning1Click();
    EXPECT_EQ(main.Settings.midiOutputDevice, "Second synthesizer");
    EXPECT_EQ(main.Settings.language, "English");
    EXPECT_GE(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts.filter("Broken synthesizer").size() == 1) << boxes.texts.join('|').toStdString();
    EXPECT_TRUE(boxes.texts.filter("Gone.LAN").size() == 1) << boxes.texts.join('|').toStdString();
}

TEST(ProgramSettings, PercussionChannelAndControlKeys) {
    SettingsShell shell;
    TKalvintorMain& main = shell.main;
    main.Settings.rhythmSound = {0, 12, 100, 39};
    MessageBoxes boxes;
    whenModal([&](QWidget* dialog) {
        auto* program = field<QComboBox>(dialog, "ComboBox4");
        auto* channel = field<QSpinBox>(dialog, "UpDown3");
        EXPECT_TRUE(program->isEnabled());
        channel->setValue(10);
        EXPECT_FALSE(program->isEnabled());
        EXPECT_EQ(program->currentText(), "Drum");
        channel->setValue(11);
        EXPECT_EQ(program->currentIndex(), 12) << "leaving channel 10 brings the last program back";
        choose(program, "Drum");
        EXPECT_EQ(channel->value(), 10);

        auto* key = field<ControlKeyBox>(dialog, "Edit13");
        EXPECT_FALSE(key->isEnabled()) << "only with control by MIDI tones";
        key->setValue(36);
        EXPECT_EQ(key->text(), "C1");
        key->setValue(127);
        EXPECT_EQ(key->text(), "G8");
        field<QCheckBox>(dialog, "CheckBox3")->setChecked(true);
        key->setFocus();
        QTest::keyClick(key, Qt::Key_Left);
        EXPECT_EQ(key->value(), 126);
        press(dialog, "BitBtn1");
    });
    main.Opstning1Click();
    EXPECT_EQ(main.Settings.rhythmSound.channel, 9);
    EXPECT_EQ(main.Settings.rhythmSound.program, 12);
    EXPECT_EQ(main.Settings.controlKeys[1], 126);
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join('|').toStdString();
}

TEST(ProgramSettings, SynchronisationTestFlashesUntilStopped) {
    SettingsShell shell;
    MessageBoxes boxes;
    TKalvintorMain& main = shell.main;
    whenModal([&](QWidget* dialog) {
        auto* settingsDialog = qobject_cast<TProgramSettings*>(dialog);
        auto* begin = field<QPushButton>(dialog, "BitBtn6");
        const QString caption = begin->text();
        begin->click();
        EXPECT_TRUE(settingsDialog->SyncTestRunning());
        EXPECT_NE(begin->text(), caption);
        // The flash and the next click are notifications to the dialog.
        const auto queued = main.sound().sequencer.Queued();
        const auto toDialog = std::count_if(queued.begin(), queued.end(), [](const sound::QueuedEvent& e) {
            return e.kind == sound::SeqEventKind::Notify && e.window == sound::kWindowSettingsDialog;
        });
        EXPECT_EQ(toDialog, 2);
        const auto colour = [&] {
            return field<QFrame>(dialog, "Shape2")->palette().color(QPalette::Window);
        };
        const QColor first = colour();
        settingsDialog->SeqNotify(1);
        EXPECT_NE(colour(), first);
        const auto starts = shell.recording->Output()->Starts().size();
        settingsDialog->SeqNotify(2);
        EXPECT_GT(shell.recording->Output()->Starts().size(), starts) << "the loop goes on";
        begin->click();
        EXPECT_FALSE(settingsDialog->SyncTestRunning());
        const auto stopped = shell.recording->Output()->Starts().size();
        settingsDialog->SeqNotify(2);
        EXPECT_EQ(shell.recording->Output()->Starts().size(), stopped);
        field<QSpinBox>(dialog, "UpDown10")->setValue(45);
        EXPECT_EQ(main.sound().sequencer.SyncDelay(), 45) << "the delay is passed on at once";
        press(dialog, "BitBtn1");
    });
    main.Opstning1Click();
    EXPECT_EQ(main.Settings.syncDelay, 45);
}

TEST(ProgramSettings, EveryControlHasANameAndIsReachedByTab) {
    SettingsShell shell;
    whenModal([&](QWidget* dialog) {
        auto* pages = field<QTabWidget>(dialog, "PageControl1");
        for (int p = 0; p < pages->count(); ++p) {
            for (QWidget* w : pages->widget(p)->findChildren<QWidget*>()) {
                if (qobject_cast<QAbstractButton*>(w) == nullptr && qobject_cast<QComboBox*>(w) == nullptr &&
                    qobject_cast<QAbstractSpinBox*>(w) == nullptr &&
                    qobject_cast<QAbstractSlider*>(w) == nullptr)
                    continue;
                if (w->parentWidget() && qobject_cast<QAbstractSpinBox*>(w->parentWidget())) continue;
                const auto* button = qobject_cast<QAbstractButton*>(w);
                EXPECT_FALSE(w->accessibleName().isEmpty() && (button == nullptr || button->text().isEmpty()))
                    << w->objectName().toStdString();
                EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0) << w->objectName().toStdString();
            }
        }
        EXPECT_EQ(pages->count(), 5);
        press(dialog, "BitBtn2");
    });
    shell.main.Opstning1Click();
}
