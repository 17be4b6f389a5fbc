// A shell of its own around the interval comparison window: questions play on a recording MIDI
// device and the score goes to a small status line under the window.
#include "IntervalShowcase.h"

#include "app/ExerciseHost.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "language/Language.h"
#include "pitch/TIntervalSam.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "sound/RecordingMidi.h"
#include "sound/TMidiOut.h"
#include "sound/TSequencer.h"
#include "theory/ChordCatalogue.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QTextStream>
#include <QVBoxLayout>

namespace kalvintor::showcase {
namespace {

class ShowcaseHost final : public ui::ExerciseHost {
public:
    QLabel* scoreLabel = nullptr;
    QProgressBar* gauge = nullptr;

    const settings::Settings& settings() const override { return settings_; }
    void setPianoVoice(const settings::TSoundRec& voice) override { settings_.pianoVoice = voice; }
    const setup::SetupRecord& currentSetup() const override { return setup_; }
    const theory::ChordCatalogue& catalogue() const override { return theory::BuiltInCatalogue(); }
    sound::TMidiOut& midiOut() override { return out_; }
    bool tutorActive() const override { return false; }
    void showScore(int gaugePercent, const QString& label) override {
        if (gauge) gauge->setValue(gaugePercent);
        if (scoreLabel) scoreLabel->setText(label);
    }
    void showTutorProgress() override {}
    void startAutoNewQuestTimer() override {}
    void stopAutoNewQuestTimer() override {}
    void startAnswerBlinkTimer(int) override {}
    void stopAnswerBlinkTimer() override {}
    void startLightDisplayTimer() override {}
    void stopLightDisplayTimer() override {}
    bool checkTutorStepEnd() override { return false; }
    void stopMidiInput() override {}
    void stopMicrophone() override {}
    void beginMicrophone(int) override {}
    sound::MicReading microphoneReading() const override { return {}; }
    void setRhythmWithMetronome(bool) override {}
    void setTipsToShow(std::uint32_t) override {}
    void playWave(const QString&) override {}
    bool exerciseKeyPressed(QKeyEvent*) override { return false; }
    bool exerciseKeyReleased(QKeyEvent*) override { return false; }

    ShowcaseHost() {
        settings_.soundEffects = false;
        std::string device;
        out_.SelectDeviceByName(device);
        out_.SetNotifyContext({false, 3});
    }

private:
    settings::Settings settings_ = settings::defaultSettings();
    setup::SetupRecord setup_ = setup::DefaultSetup();
    language::Language language_;
    sound::RecordingMidiSystem system_;
    sound::TSequencer sequencer_;
    sound::TMidiOut out_{system_, sequencer_, settings_, language_, [](const std::string&) {}};
};

}  // namespace

int ShowIntervalComparison(bool rightAnswer, const QString& pngFile) {
    using pitch::ComparisonChoice;
    // Without a laid-out program directory the design-time texts show, and no error box waits.
    const QString english = ui::languageFileName(QStringLiteral("English"));
    if (QFileInfo::exists(english)) ui::LoadLanguage(english, language::kLoadAll, nullptr);
    ShowcaseHost host;

    QWidget frame;
    frame.setWindowTitle(ui::text(600, "Interval comparison"));
    auto* window = new ui::TIntervalSam(host, &frame);
    auto* status = new QWidget(&frame);
    status->setAutoFillBackground(true);
    QPalette palette = status->palette();
    palette.setColor(QPalette::Window, ui::style::kPaper);
    status->setPalette(palette);
    auto* statusLayout = new QHBoxLayout(status);
    host.scoreLabel = new QLabel(status);
    host.scoreLabel->setFont(ui::style::uiFont(10));
    host.gauge = new QProgressBar(status);
    host.gauge->setFixedWidth(240);
    statusLayout->addWidget(host.scoreLabel, 1);
    statusLayout->addWidget(host.gauge);
    auto* layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(window, 1);
    layout->addWidget(status);
    frame.resize(1000, 620);

    window->EnterExercise();
    window->NewQuestion();
    for (std::uint16_t code : {41, 42, 45}) window->SeqNotify(code);
    const ComparisonChoice right = window->state().rightAnswer;
    const ComparisonChoice wrong = right == ComparisonChoice::A ? ComparisonChoice::B : ComparisonChoice::A;
    if ((rightAnswer ? right : wrong) == ComparisonChoice::A)
        window->ButtonAction2();
    else
        window->ButtonAction3();
    for (int tick = 0; tick < 4; ++tick) window->AnswerButtonBlink();

    frame.show();
    if (pngFile.isEmpty()) return QApplication::exec();
    QApplication::processEvents();
    if (!frame.grab().save(pngFile)) {
        QTextStream(stderr) << "cannot write " << pngFile << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kalvintor::showcase
