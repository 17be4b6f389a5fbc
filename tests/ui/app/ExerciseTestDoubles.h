// A shell and an exercise for tests of the exercise base: they record what was asked of them.
#pragma once

#include "app/ExerciseHost.h"
#include "app/TExerciseBaseClass.h"
#include "language/Language.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "sound/RecordingMidi.h"
#include "sound/TMidiOut.h"
#include "sound/TSequencer.h"
#include "theory/ChordCatalogue.h"

#include <QStringList>

#include <memory>

namespace kalvintor::ui::testing {

// The main window's sound on a recording device: no synthesizer, no ports.
inline std::unique_ptr<sound::MidiSystem> quietSound() {
    return std::make_unique<sound::RecordingMidiSystem>();
}

// Questions play on a recording MIDI device whose sequencer sends its notifications nowhere:
// tests deliver them to the exercise by hand, in the order the recorded timeline holds them.
class RecordingHost : public ExerciseHost {
public:
    settings::Settings current = settings::defaultSettings();
    setup::SetupRecord setup = setup::DefaultSetup();
    bool tutor = false;
    bool tutorStepEnds = false;
    int gauge = -1;
    QString scoreLabel;
    QStringList calls;
    language::Language language;
    sound::RecordingMidiSystem system;
    sound::TSequencer sequencer;
    sound::TMidiOut out{system, sequencer, current, language, [](const std::string&) {}};

    const settings::Settings& settings() const override { return current; }
    void setPianoVoice(const settings::TSoundRec& voice) override { current.pianoVoice = voice; }
    const setup::SetupRecord& currentSetup() const override { return setup; }
    const theory::ChordCatalogue& catalogue() const override { return theory::BuiltInCatalogue(); }
    sound::TMidiOut& midiOut() override { return out; }
    bool tutorActive() const override { return tutor; }
    void startAutoNewQuestTimer() override { calls << "startAutoTimer"; }
    void startAnswerBlinkTimer(int intervalMs) override { calls << QString("blink:%1").arg(intervalMs); }
    void stopAnswerBlinkTimer() override { calls << "stopBlink"; }
    void startLightDisplayTimer() override { calls << "startLight"; }
    void stopLightDisplayTimer() override { calls << "stopLight"; }
    bool checkTutorStepEnd() override {
        calls << "tutorStepEnd";
        return tutorStepEnds;
    }
    void showScore(int gaugePercent, const QString& label) override {
        gauge = gaugePercent;
        scoreLabel = label;
    }
    void showTutorProgress() override { calls << "tutorProgress"; }
    void stopAutoNewQuestTimer() override { calls << "stopAutoTimer"; }
    void stopMidiInput() override { calls << "stopMidiInput"; }
    void stopMicrophone() override { calls << "stopMicrophone"; }
    void beginMicrophone(int exercise) override { calls << QString("beginMicrophone:%1").arg(exercise); }
    sound::MicReading microphoneReading() const override { return micReading; }
    sound::MicReading micReading;
    void setRhythmWithMetronome(bool on) override { current.rhythmWithMetronome = on; }
    void setTipsToShow(std::uint32_t mask) override { current.tipsToShow = mask; }
    void playWave(const QString& file) override { calls << "wave:" + file; }
    bool exerciseKeyPressed(QKeyEvent*) override { return false; }
    bool exerciseKeyReleased(QKeyEvent*) override { return false; }
};

class RecordingExercise : public TExerciseBaseClass {
public:
    using TExerciseBaseClass::TExerciseBaseClass;
    QStringList calls;

    void AutoNewQuestTimerTimer() override { calls << "auto"; }
    void ResetExercise() override {
        QuestionCount = 0;
        CorrectCount = 0;
        ShowScore();
    }
    void ShowScore() override { WriteScore(220, "%d of %d"); }
    void MidiInput(std::uint32_t) override { calls << "midi"; }
    void NewQuestion() override {
        calls << "new";
        TExerciseBaseClass::NewQuestion();
    }
    void RepeatQuestion() override { calls << "repeat"; }
    void ButtonAction2() override { calls << "action2"; }
    void ButtonAction3() override { calls << "action3"; }
    void StopPlaying() override { calls << "stop"; }
    void ApplySetup(bool) override { calls << "setup"; }
    void EnterExercise() override {
        calls << "enter";
        TExerciseBaseClass::EnterExercise();
    }
    void LeaveExercise() override {
        calls << "leave";
        TExerciseBaseClass::LeaveExercise();
    }
    void SeqNotify(std::uint16_t code) override { calls << QString("notify:%1").arg(code); }
    void SettingsChanged() override { calls << "settingsChanged"; }
    void AnswerButtonBlink() override { calls << "blink"; }
    void LightDisplayStep() override { calls << "light"; }
    void MicPitch(std::uint8_t pitch) override { calls << QString("pitch:%1").arg(pitch); }
    void MicClap(std::int64_t timeMs) override { calls << QString("clap:%1").arg(timeMs); }
};

}  // namespace kalvintor::ui::testing
