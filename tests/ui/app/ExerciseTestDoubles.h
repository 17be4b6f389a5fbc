// A shell and an exercise for tests of the exercise base: they record what was asked of them.
#pragma once

#include "app/ExerciseHost.h"
#include "app/TExerciseBaseClass.h"
#include "settings/SettingRecord.h"

#include <QStringList>

namespace kalvintor::ui::testing {

class RecordingHost : public ExerciseHost {
public:
    settings::Settings current = settings::defaultSettings();
    int gauge = -1;
    QString scoreLabel;
    QStringList calls;

    const settings::Settings& settings() const override { return current; }
    void showScore(int gaugePercent, const QString& label) override {
        gauge = gaugePercent;
        scoreLabel = label;
    }
    void showTutorProgress() override { calls << "tutorProgress"; }
    void stopAutoNewQuestTimer() override { calls << "stopAutoTimer"; }
    void stopMidiInput() override { calls << "stopMidiInput"; }
    void stopMicrophone() override { calls << "stopMicrophone"; }
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
};

}  // namespace kalvintor::ui::testing
