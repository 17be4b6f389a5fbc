// The exercise base: bookkeeping shared by every exercise window.
#include "TExerciseBaseClass.h"

#include "ExerciseHost.h"
#include "Program.h"
#include "TControlButton.h"
#include "Texts.h"
#include "language/Format.h"
#include "records/DateTime.h"
#include "settings/SettingRecord.h"

#include <QKeyEvent>

namespace kalvintor::ui {

TExerciseBaseClass::TExerciseBaseClass(int exercise, ExerciseHost& host, QWidget* parent)
    : QWidget(parent), exercise_(exercise), host_(host) {
    ControlButton = new TControlButton(this);
    ControlButton->onButtonUp = [this] { ControlButtonUpAction(); };
    // The window is no Tab stop: the focus it is given goes to the control buttons.
    setFocusProxy(ControlButton);
}

void TExerciseBaseClass::NewQuestion() {
    host_.showTutorProgress();  // refreshes the tutor progress line while a tutor runs
    StartQuestion(records::nowLocal());
}

void TExerciseBaseClass::EnterExercise() {
    ShowScore();
}

void TExerciseBaseClass::LeaveExercise() {
    host_.stopAutoNewQuestTimer();
    host_.stopMidiInput();
    host_.stopMicrophone();
}

void TExerciseBaseClass::SeqNotify(std::uint16_t) {}

void TExerciseBaseClass::AnswerButtonBlink() {}

void TExerciseBaseClass::LightDisplayStep() {}

void TExerciseBaseClass::CompleteAnswer() {}

void TExerciseBaseClass::MicrophoneAnswering(bool) {}

std::optional<pitch::SungRange> TExerciseBaseClass::MicrophoneRange() const {
    return std::nullopt;
}

void TExerciseBaseClass::MicPitch(std::uint8_t) {}

void TExerciseBaseClass::MicClap(std::int64_t) {}

void TExerciseBaseClass::TempoChanged(int) {}

void TExerciseBaseClass::SettingsChanged() {}

void TExerciseBaseClass::RegisterAnswer(bool correct) {
    const auto& s = host_.settings();
    if (s.soundEffects) {
        const std::string& name = correct ? s.correctSound : s.wrongSound;
        host_.playWave(toQString(program().paths.mediaDir / (name + ".wav")));
    }
    BookAnswerTime(records::nowLocal());
}

void TExerciseBaseClass::ControlButtonUpAction() {
    const int a = ControlButton->PressedIndex;
    ControlButton->PressedIndex = -1;
    if (a >= 0 && a < TControlButton::kButtons && ControlButton->ButtonEnabled[a]) {
        switch (a) {
            case 0:
                NewQuestion();
                break;
            case 1:
                RepeatQuestion();
                break;
            case 2:
                ButtonAction2();
                break;
            case 3:
                ButtonAction3();
                break;
            default:
                StopPlaying();
                break;
        }
    }
    setFocus(Qt::OtherFocusReason);
    ControlButton->update();
}

void TExerciseBaseClass::WriteScore(int formatId, const char* designTime) {
    const std::string label =
        language::FormatText(text(formatId, designTime).toStdString(),
                             {static_cast<long long>(CorrectCount), static_cast<long long>(QuestionCount)});
    host_.showScore(app::ScorePercent(CorrectCount, QuestionCount), QString::fromStdString(label));
}

void TExerciseBaseClass::keyPressEvent(QKeyEvent* event) {
    if (!host_.exerciseKeyPressed(event)) QWidget::keyPressEvent(event);
}

void TExerciseBaseClass::keyReleaseEvent(QKeyEvent* event) {
    if (!host_.exerciseKeyReleased(event)) QWidget::keyReleaseEvent(event);
}

}  // namespace kalvintor::ui
