// The configuration wizard: on the first run of a workstation it sets up the language, the sound
// output, the MIDI keyboard and the microphone; for each new user it asks the instrument on which
// notes are entered on the screen.
#pragma once

#include "app/ConfigWizard.h"

#include <QDialog>
#include <QTimer>

#include <array>
#include <cstdint>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace kalvintor::ui {

class TKalvintorMain;

class TConfigWizard final : public QDialog {
    Q_OBJECT
public:
    TConfigWizard(TKalvintorMain& main, const app::WizardPlan& plan, QWidget* parent = nullptr);
    ~TConfigWizard() override;

    // The page shown now, and going forward and back as the buttons do.
    app::WizardPage ActivePage() const;
    void Forward();
    void Back();
    // MIDI keyboard input while the MIDI page listens.
    void MidiInput(std::uint32_t message);

    QComboBox* ComboBox1;       // output devices
    QToolButton* SpeedButton4;  // play
    QComboBox* LanguageBox;
    QComboBox* InputBox;
    QLabel* LastKey;
    QProgressBar* MicLevel;
    QLabel* MicState;
    QToolButton* SpeedButton1;  // piano
    QToolButton* SpeedButton2;  // guitar
    QToolButton* SpeedButton3;  // other
    QPushButton* Button1;       // previous
    QPushButton* Button2;       // next / finish

protected:
    void done(int result) override;

private:
    QWidget* makeLanguagePage();
    QWidget* makeSoundPage();
    QWidget* makeMidiPage();
    QWidget* makeMicrophonePage();
    QWidget* makeInstrumentPage();
    void showPage(int index);
    int neighbour(int index, int step) const;
    void chooseLanguage(int index);
    void chooseOutput(int index);
    void chooseInput(int index);
    void play();
    void listen(bool on);

    TKalvintorMain& main_;
    app::WizardPlan plan_;
    QStackedWidget* pages_;
    QLabel* title_;
    QButtonGroup* instruments_;
    QTimer noteOff_;
    QTimer meter_;
    std::uint8_t playing_ = 0;
    bool micOpen_ = false;
    QString language_;
};

}  // namespace kalvintor::ui
