// The microphone analysis.
#include "sound/MicAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <random>

namespace kalvintor::sound {

void FreeAubioPitch(aubio_pitch_t* p) {
    del_aubio_pitch(p);
}
void FreeAubioOnset(aubio_onset_t* p) {
    del_aubio_onset(p);
}
void FreeFvec(fvec_t* p) {
    del_fvec(p);
}

namespace {

// A note counts once yin has agreed on it this many hops in a row.
constexpr int kStableHops = 2;
// yin's confidence below which a hop counts as unvoiced.
constexpr double kMinConfidence = 0.25;
// The confidence the hop that makes a note certain needs.
constexpr double kConfirmConfidence = 0.5;
// The short window's longest period is half its length: it is trusted from D3 up.
constexpr int kShortWindowLowest = 50;
constexpr int kLowestNote = 21;
constexpr int kHighestNote = 108;
constexpr double kMinClapIntervalMs = 60.0;
constexpr double kClapThresholdScale = 0.1;
constexpr double kDbPerDoubling = 3.0103;
constexpr int kMostSensitiveRhythm = 3;
constexpr int kRhythmThresholdSpan = 80;
constexpr double kClapGateSpanDb = 40.0;

// A clap: a burst of noise that dies away within a few tens of milliseconds.
std::vector<float> GeneratedClap(std::size_t at, std::size_t length) {
    std::vector<float> x(length, 0.0f);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (std::size_t i = at; i < length; ++i) {
        const double t = static_cast<double>(i - at) / kMicSampleRate;
        x[i] = static_cast<float>(0.8 * std::exp(-t / 0.012)) * noise(random);
    }
    return x;
}

}  // namespace

MicAnalyzer::MicAnalyzer() : in_(new_fvec(kPitchHop)), result_(new_fvec(2)) {}

double MicAnalyzer::SilenceGateDb(double toneThreshold) {
    const double ratio = std::max(toneThreshold, kBaseToneThreshold) / kBaseToneThreshold;
    return std::min(kBaseSilenceDb + kDbPerDoubling * std::log2(ratio), -20.0);
}

double MicAnalyzer::OnsetThreshold(std::int32_t rhythmThreshold) {
    return kClapThresholdScale * std::sqrt(std::clamp(rhythmThreshold, 1, 10000));
}

double MicAnalyzer::ClapGateDb(std::int32_t rhythmThreshold) {
    // 3 (most sensitive) .. 83 (least) spans −70 dB .. −30 dB.
    const double above = std::clamp(rhythmThreshold - kMostSensitiveRhythm, 0, kRhythmThresholdSpan);
    return kBaseSilenceDb + kClapGateSpanDb * above / kRhythmThresholdSpan;
}

double MicAnalyzer::ClapDelayMs(std::uint32_t hop) {
    static std::mutex mutex;
    static std::map<std::uint32_t, double> measured;
    std::lock_guard lock(mutex);
    if (auto it = measured.find(hop); it != measured.end()) return it->second;

    // Claps at known places through the detector with no delay compensation of its own; the mean
    // lateness of what it reports is its constant delay.
    const std::size_t spacing = static_cast<std::size_t>(kMicSampleRate * 0.4);
    const std::size_t count = 8;
    std::vector<float> signal(spacing * (count + 1), 0.0f);
    for (std::size_t k = 1; k <= count; ++k) {
        const std::size_t at = spacing * k + (k * 37) % hop;  // different places within a hop
        const std::vector<float> clap = GeneratedClap(0, spacing / 2);
        std::copy(clap.begin(), clap.end(), signal.begin() + static_cast<std::ptrdiff_t>(at));
    }
    CHandle<aubio_onset_t, FreeAubioOnset> onset(
        new_aubio_onset("hfc", kClapBuffer, hop, static_cast<uint_t>(kMicSampleRate)));
    CHandle<fvec_t, FreeFvec> in(new_fvec(hop)), out(new_fvec(1));
    aubio_onset_set_delay(onset.get(), 0);
    aubio_onset_set_minioi_ms(onset.get(), static_cast<smpl_t>(kMinClapIntervalMs));
    double total = 0;
    int found = 0;
    std::size_t next = 1;
    for (std::size_t pos = 0; pos + hop <= signal.size(); pos += hop) {
        std::copy_n(signal.begin() + static_cast<std::ptrdiff_t>(pos), hop, in->data);
        aubio_onset_do(onset.get(), in.get(), out.get());
        if (out->data[0] <= 0 || next > count) continue;
        const double reported = aubio_onset_get_last(onset.get());
        const double actual = static_cast<double>(spacing * next + (next * 37) % hop);
        if (reported > actual - spacing / 2.0) {
            total += (reported - actual) * 1000.0 / kMicSampleRate;
            ++found;
            ++next;
        }
    }
    const double delay = found > 0 ? total / found : 0.0;
    measured[hop] = delay;
    return delay;
}

void MicAnalyzer::Begin(MicMode mode) {
    mode_ = mode;
    filled_ = 0;
    streamSamples_ = 0;
    candidate_ = -1;
    candidateHops_ = 0;
    lastNote_ = -1;
    pitch_.reset();
    shortPitch_.reset();
    onset_.reset();
    const auto rate = static_cast<uint_t>(kMicSampleRate);
    if (mode == MicMode::Tone) {
        hop_ = config_.highPrecision ? kPitchHopPrecise : kPitchHop;
        pitch_.reset(new_aubio_pitch("yin", kPitchBuffer, hop_, rate));
        shortPitch_.reset(new_aubio_pitch("yin", kShortPitchBuffer, hop_, rate));
        for (aubio_pitch_t* p : {pitch_.get(), shortPitch_.get()}) {
            aubio_pitch_set_unit(p, "midi");
            aubio_pitch_set_silence(p, static_cast<smpl_t>(SilenceGateDb(config_.toneThreshold)));
        }
    } else if (mode == MicMode::Rhythm) {
        hop_ = config_.highPrecision ? kClapHopPrecise : kClapHop;
        clapDelayMs_ = ClapDelayMs(hop_);
        onset_.reset(new_aubio_onset("hfc", kClapBuffer, hop_, rate));
        aubio_onset_set_delay(onset_.get(), 0);
        aubio_onset_set_threshold(onset_.get(), static_cast<smpl_t>(OnsetThreshold(config_.rhythmThreshold)));
        aubio_onset_set_minioi_ms(onset_.get(), static_cast<smpl_t>(kMinClapIntervalMs));
        aubio_onset_set_silence(onset_.get(), static_cast<smpl_t>(ClapGateDb(config_.rhythmThreshold)));
    }
    in_.reset(new_fvec(hop_));
}

void MicAnalyzer::Feed(const float* samples, std::size_t count, double clockMs,
                       std::vector<MicDetection>& out) {
    if (mode_ == MicMode::Off) return;
    clockAtStart_ = clockMs - static_cast<double>(streamSamples_ + filled_) * 1000.0 / kMicSampleRate;
    for (std::size_t i = 0; i < count; ++i) {
        const float v = samples[i];
        in_->data[filled_++] = std::isfinite(v) ? std::clamp(v, -1.0f, 1.0f) : 0.0f;
        if (filled_ == hop_) {
            streamSamples_ += hop_;
            filled_ = 0;
            Hop(clockAtStart_ + static_cast<double>(streamSamples_) * 1000.0 / kMicSampleRate, out);
        }
    }
}

MicAnalyzer::HopPitch MicAnalyzer::Estimate(aubio_pitch_t* pitch) {
    aubio_pitch_do(pitch, in_.get(), result_.get());
    const double midi = result_->data[0];
    if (midi <= 0) return {};
    return {static_cast<int>(std::lround(midi)), aubio_pitch_get_confidence(pitch)};
}

void MicAnalyzer::Hop(double hopClockMs, std::vector<MicDetection>& out) {
    const double streamMs = static_cast<double>(streamSamples_) * 1000.0 / kMicSampleRate;
    if (mode_ == MicMode::Rhythm) {
        aubio_onset_do(onset_.get(), in_.get(), result_.get());
        if (result_->data[0] <= 0) return;
        const uint_t last = aubio_onset_get_last(onset_.get());
        if (last == 0) return;  // aubio reports the start of every stream as an onset
        const double onsetStreamMs = static_cast<double>(last) * 1000.0 / kMicSampleRate - clapDelayMs_;
        out.push_back({MicDetection::Kind::Clap, 0, clockAtStart_ + onsetStreamMs, onsetStreamMs});
        return;
    }
    // Two windows on the same hops: the long one hears the lowest notes, the short one hears
    // higher notes sooner after they begin.
    const HopPitch wide = Estimate(pitch_.get());
    const HopPitch narrow = Estimate(shortPitch_.get());
    HopPitch chosen = wide;
    if (wide.confidence < kConfirmConfidence && narrow.note >= kShortWindowLowest &&
        narrow.confidence >= kConfirmConfidence) {
        chosen = narrow;
    }
    const int note = chosen.note;
    const double confidence = chosen.confidence;
    if (note < kLowestNote || note > kHighestNote || confidence < kMinConfidence) {
        candidate_ = -1;
        candidateHops_ = 0;
        lastNote_ = -1;  // after silence the same note counts again
        return;
    }
    if (note == candidate_) {
        ++candidateHops_;
    } else {
        candidate_ = note;
        candidateHops_ = 1;
    }
    if (candidateHops_ >= kStableHops && confidence >= kConfirmConfidence && note != lastNote_) {
        lastNote_ = note;
        out.push_back({MicDetection::Kind::Note, note, hopClockMs, streamMs});
    }
}

}  // namespace kalvintor::sound
