// The pitch exercise window's light display, which lights the notes as a playback sounds them,
// and the piano panel's sound controls.
#include "app/ExerciseHost.h"
#include "exercises/pitch/SoundControls.h"
#include "pitch/PianoSoundControls.h"
#include "pitch/TAkkord.h"
#include "settings/SettingRecord.h"
#include "sound/TMidiOut.h"

namespace kalvintor::ui {

using pitch::ExerciseMode;
using pitch::PlayKind;

const std::vector<pitch::QuestionNote>& TAkkord::shownNotes() const {
    if (judgement_) return judgement_->display;
    return state_.mode == ExerciseMode::Progression ? state_.answer.voiced : state_.answer.notes;
}

std::size_t TAkkord::shownAnswerCount() const {
    const auto& answer =
        state_.mode == ExerciseMode::Progression ? state_.answer.voiced : state_.answer.notes;
    return std::min(answer.size(), shownNotes().size());
}

void TAkkord::startLightDisplay(PlayKind kind) {
    stopLightDisplay();
    // The answer lights as it plays; the question only once it is judged, so the lights never
    // tell an answer the student has not given.
    const auto& shown = shownNotes();
    std::size_t from = 0;
    std::size_t to = 0;
    if (kind == PlayKind::Answer) {
        to = shownAnswerCount();
    } else if (kind == PlayKind::Repeat && judgement_) {
        from = shownAnswerCount();
        to = shown.size();
    }
    if (from >= to) return;
    const auto& s = host().settings();
    const bool guitar = guitarSound();
    const int transposition = guitar && !s.lightGuitar ? -12 : 0;
    const auto channel = static_cast<std::uint8_t>(guitar ? s.guitarVoice.channel : s.pianoVoice.channel);
    lightSpans_ = pitch::LightSpans(host().midiOut().Sequencer().BuildCurrentTimeline(), shown, from, to,
                                    transposition, channel);
    if (lightSpans_.empty()) return;
    lightSteps_ = 0;
    lit_ = pitch::LitAt(lightSpans_, 0);
    host().startLightDisplayTimer();
    redraw();
}

void TAkkord::LightDisplayStep() {
    if (lightSpans_.empty()) {
        host().stopLightDisplayTimer();
        return;
    }
    const double ms = ++lightSteps_ * static_cast<double>(pitch::kLightStepMs);
    if (ms >= pitch::LightsOutMs(lightSpans_)) {
        stopLightDisplay();
        return;
    }
    auto lit = pitch::LitAt(lightSpans_, ms);
    if (lit == lit_) return;
    lit_ = std::move(lit);
    redraw();
}

void TAkkord::stopLightDisplay() {
    if (lightSpans_.empty() && lit_.empty()) return;
    lightSpans_.clear();
    const bool wasLit = !lit_.empty();
    lit_.clear();
    host().stopLightDisplayTimer();
    if (wasLit) redraw();
}

void TAkkord::stepPianoVoice(int programSteps, int velocitySteps) {
    const auto before = host().settings().pianoVoice;
    const auto voice = pitch::StepVoice(before, programSteps, velocitySteps);
    if (voice == before) return;
    host().setPianoVoice(voice);
    if (voice.program != before.program)
        host().midiOut().ProgramChange(static_cast<std::uint8_t>(voice.program),
                                       static_cast<std::uint8_t>(voice.channel));
    pianoSound_->showVoice(voice);
}

}  // namespace kalvintor::ui
