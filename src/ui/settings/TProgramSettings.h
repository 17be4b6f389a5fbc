// The "Program settings" dialog: instruments, MIDI devices and the synchronisation test, the
// built-in synthesizer's SoundFont, language, font, colour, automatic questions, sound effects, the
// microphone and MIDI remote control.
#pragma once

#include "settings/SettingRecord.h"

#include <QDialog>
#include <QFont>
#include <QStringList>
#include <QTimer>

#include <array>
#include <cstdint>
#include <filesystem>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kalvintor::ui {

// The base names of the files with `suffix` in a folder, sorted (the language and sound lists).
QStringList baseNames(const std::filesystem::path& folder, const QString& suffix, bool lowerCase);

class ControlKeyBox;
class MainSound;

class TProgramSettings final : public QDialog {
    Q_OBJECT
public:
    // `showDevices`: the "Devices" page is for users above the student level.
    TProgramSettings(MainSound& sound, bool showDevices, QWidget* parent = nullptr);
    ~TProgramSettings() override;

    // Fills the dialog from the settings and the main window's font.
    void LoadSettings(const settings::Settings& settings, const QFont& font);
    // Every field of the dialog into the settings (channels back to 0..15, the devices that
    // opened, the rhythm and metronome programs from their last real program).
    void StoreSettings(settings::Settings& settings) const;
    bool resetTipsRequested() const { return resetTips_; }
    QFont chosenFont() const { return font_; }

    // Notification codes 1 and 2 of the synchronisation test.
    void SeqNotify(std::uint16_t code);
    // A MIDI message while the dialog has the input: programs and keys for the focused list.
    void MidiInput(std::uint32_t message);
    bool SyncTestRunning() const { return syncRunning_; }

    QTabWidget* pages() const { return pages_; }

signals:
    // The help button: the topic of the dialog.
    void helpRequested(int topic);

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    struct Voice {
        QComboBox* program = nullptr;
        QComboBox* key = nullptr;
        QSpinBox* channel = nullptr;
        QSpinBox* velocity = nullptr;
        int lastProgram = 0;  // the last real program while the channel is the percussion channel
    };

    QWidget* makeInstrumentsPage();
    QWidget* makeDevicesPage();
    QWidget* makeEnvironmentPage();
    QWidget* makeEffectsPage();
    QWidget* makeRemotePage();
    void fillDeviceLists();
    void fillSoundFonts();
    void chooseInputDevice(int index);
    void chooseOutputDevice(int index);
    void chooseSoundFont(int index);
    void chooseSoundFontFile();
    void loadSoundFont(const QString& file);
    void soundFontLoaded(const QString& file, int error);
    void chooseFont();
    void chooseColour();
    void showColour();
    void testSound(int which);
    void drumChannelChanged(Voice& voice, bool percussion);
    void toggleSyncTest();
    void queueSyncClick(std::int32_t ticks);
    void accept() override;
    void restoreStoredDevices();

    MainSound& sound_;
    settings::Settings stored_;
    QTabWidget* pages_;
    std::array<Voice, 4> voices_{};  // piano, guitar, rhythm sound, metronome
    QComboBox* firstBeatKey_ = nullptr;
    QSpinBox* firstBeatVelocity_ = nullptr;
    QCheckBox* lightGuitar_ = nullptr;
    QComboBox* inputDevice_ = nullptr;
    QComboBox* outputDevice_ = nullptr;
    QSlider* midiVolume_ = nullptr;
    QComboBox* soundFont_ = nullptr;
    QProgressBar* soundFontProgress_ = nullptr;
    QPushButton* syncButton_ = nullptr;
    QSpinBox* syncDelay_ = nullptr;
    QFrame* flash_ = nullptr;
    QComboBox* language_ = nullptr;
    QLabel* fontLabel_ = nullptr;
    QFrame* colourShape_ = nullptr;
    QSlider* rhythmSpacing_ = nullptr;
    QSpinBox* autoDelay_ = nullptr;
    QCheckBox* autoNewQuestion_ = nullptr;
    QCheckBox* onlyIfCorrect_ = nullptr;
    QSpinBox* threshold_ = nullptr;
    QCheckBox* soundEffects_ = nullptr;
    QComboBox* correctSound_ = nullptr;
    QComboBox* wrongSound_ = nullptr;
    QToolButton* correctPlay_ = nullptr;
    QToolButton* wrongPlay_ = nullptr;
    QSlider* waveVolume_ = nullptr;
    QCheckBox* introMusic_ = nullptr;
    QSlider* toneSensitivity_ = nullptr;
    QSlider* rhythmSensitivity_ = nullptr;
    QCheckBox* highPrecision_ = nullptr;
    QCheckBox* damperAsEnter_ = nullptr;
    QCheckBox* controlByTones_ = nullptr;
    std::array<ControlKeyBox*, settings::kControlButtonCount> controlKeys_{};

    QFont font_;
    std::int32_t colour_ = 0;
    QString workingSoundFont_;
    QString inputName_;  // the devices open now: the previous working choice
    QString outputName_;
    bool testOnChange_ = false;
    int focusedTag_ = 0;
    bool resetTips_ = false;
    bool syncRunning_ = false;
    bool flashOn_ = false;
    bool loading_ = false;
};

// The SoundFont this workstation's built-in synthesizer uses, kept in the local configuration;
// empty for the default.
QString rememberedSoundFont();
void rememberSoundFont(const QString& file);

}  // namespace kalvintor::ui
