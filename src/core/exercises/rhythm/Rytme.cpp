// The rhythm engine: setup, taps, judging and layout; generation and playback have files of their own.
#include "exercises/rhythm/Rytme.h"

#include "app/Clock.h"
#include "exercises/rhythm/Beam.h"
#include "language/Language.h"
#include "settings/SettingRecord.h"

#include <algorithm>
#include <stdexcept>

namespace kalvintor::rhythm {
namespace {

constexpr int kLowestTempo = 20;
constexpr int kHighestTempo = 250;
constexpr int kNoFit = 65535;

}  // namespace

TRytme::TRytme() = default;
TRytme::TRytme(Services services) : services_(std::move(services)) {}
TRytme::~TRytme() = default;

std::size_t TRytme::checkedVoice(int v) {
    if (v < 0 || v >= kVoiceCount) throw std::out_of_range("rhythm voice " + std::to_string(v));
    return static_cast<std::size_t>(v);
}

std::string TRytme::text(int id, const char* english) const {
    return services_.language ? services_.language->text(id, english) : std::string(english);
}

void TRytme::Setup(const RhythmSetup& setup) {
    choices_.clear();
    for (int code = kWhole; code <= kShortestValue; ++code)
        if (setup.valueChosen(code)) choices_.push_back(Choice{code, false});
    plainCount_ = static_cast<int>(choices_.size());
    for (int code = kHalf; code <= kSixteenth; ++code)
        if (setup.tripletChosen(code)) choices_.push_back(Choice{code, true});

    smallestFit_ = kNoFit;
    for (const auto& c : choices_) {
        const int length = NoteDurations[static_cast<std::size_t>(c.value)] * (c.triplet ? 2 : 1);
        smallestFit_ = std::min(smallestFit_, length);
    }

    meters_.clear();
    for (int m = 1; m <= kMeterCount; ++m)
        if (setup.meterChosen(m)) meters_.push_back(m);
    if (!meters_.empty()) meterIndex_ = meters_.front();

    dotted_ = setup.dotted != 0;
    ties_ = setup.ties != 0;
    rests_ = setup.rests != 0;
    tempo_ = std::clamp<int>(setup.tempo, kLowestTempo, kHighestTempo);
    tapTempo_ = tempo_;
    barCount_ = std::clamp<int>(setup.bars, 1, kMaxBars);
    errorsWanted_ = std::clamp<int>(setup.errors, 1, kMaxErrors);
    strictness_ = setup.strictness >= static_cast<std::int16_t>(Strictness::Kind) &&
                          setup.strictness <= static_cast<std::int16_t>(Strictness::Severe)
                      ? static_cast<Strictness>(setup.strictness)
                      : Strictness::Normal;

    for (auto& v : voices_) v.clear();
    for (auto& b : bars_) b.clear();
    errors_.clear();
    startsWithBarRest_ = false;
    ClearTaps();
}

void TRytme::SetMeter(int meterIndex) {
    meterIndex_ = std::clamp(meterIndex, 1, kMeterCount);
}

void TRytme::SetTempo(int tempo) {
    tempo_ = std::clamp(tempo, kLowestTempo, kHighestTempo);
}

void TRytme::Beam(int v) {
    rhythm::Beam(voice(v), CurrentMeter());
}

bool TRytme::InjectErrors() {
    if (!PickErrors(voices_[0], errorsWanted_, errors_)) {
        errors_.clear();
        return false;
    }
    voices_[1] = ApplyErrors(voices_[0], errors_, CurrentMeter());
    return true;
}

void TRytme::StartTaps() {
    tapZero_ = app::EventTimeOrNow();
    tapTempo_ = tempo_;
}

void TRytme::StartTapsAt(std::int64_t zeroMs) {
    tapZero_ = zeroMs;
    tapTempo_ = tempo_;
}

void TRytme::AddTap(std::int64_t time) {
    tapped_ = true;
    if (static_cast<int>(taps_.size()) >= kMaxTaps) return;
    taps_.push_back(time == 0 ? app::EventTimeOrNow() : time);
}

void TRytme::ClearTaps() {
    taps_.clear();
    tapped_ = false;
    evaluation_.relativeTaps.clear();
}

int TRytme::Evaluate(int passThreshold, std::string& message) {
    evaluation_ = EvaluateTaps(voices_[0], TapTimes{&taps_, tapZero_, tapTempo_}, strictness_,
                               startsWithBarRest_, BarLength(), passThreshold);
    message = EvaluationText(evaluation_, services_.language);
    return evaluation_.score;
}

NotationLayout TRytme::Layout(int v, int width) {
    const int setting = services_.settings ? services_.settings->rhythmSpacing : 0;
    auto layout = LayoutVoice(voice(v), CurrentMeter(), width, spacingFromSetting(setting));
    bars_[checkedVoice(v)] = layout.bars;
    return layout;
}

}  // namespace kalvintor::rhythm
