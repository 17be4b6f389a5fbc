// The microphone analysis.
#include "sound/MicAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>
#include <numbers>
#include <random>

namespace kalvintor::sound {

void FreeAubioYinFast(aubio_pitchyinfast_t* p) {
    del_aubio_pitchyinfast(p);
}
void FreeAubioOnset(aubio_onset_t* p) {
    del_aubio_onset(p);
}
void FreeFvec(fvec_t* p) {
    del_fvec(p);
}
void FreeAubioFft(aubio_fft_t* p) {
    del_aubio_fft(p);
}
void FreeCvec(cvec_t* p) {
    del_cvec(p);
}

namespace {

// Pitch windows: each ends at the current hop; after an onset only those that lie wholly after it
// are used, so that the previous note's tail never decides the new one.
constexpr std::size_t kWindowSizes[] = {512, 1024, 2048};
// A window trusts periods up to this share of its length: the octave check needs twice the period.
constexpr double kLongestPeriodShare = 3.0 / 8.0;
// yin's confidence below which a window holds no pitch.
constexpr double kMinClarity = 0.6;
// The octave check: the half period explains the window nearly as well, or the double period
// clearly better.
constexpr double kHalfPeriodShare = 0.8;
constexpr double kHalfPeriodMin = 0.5;
constexpr double kYinTolerance = 0.3;
// Two windows must agree this closely on a pitch.
constexpr double kWindowsAgreeSemitones = 0.5;
constexpr double kDoublePeriodGain = 0.12;
constexpr double kHighestPitchHz = 2100.0;
// The harmonic check: a pitch's salience is the sum of the spectrum's peaks at its first harmonics
// up to 5 kHz, each weighted less than the one below; periods down to a fifth of yin's compete.
constexpr int kHarmonics = 12;
constexpr double kHarmonicsUpToHz = 5000.0;
constexpr double kHarmonicWeight = 0.84;
constexpr int kMostDivisions = 5;
// The check of a note against what has risen since its onset, on a window long enough to resolve
// the harmonics of the lowest notes, for this long after the onset: past the attack, through the
// time a sung note lasts, as a late estimate can still be the tail of the note before or an octave
// off.
constexpr std::size_t kRisingWindow = 2048;
constexpr double kRisingMs = 700.0;
constexpr double kRisingAttackMs = 150.0;
constexpr double kQuarterTone = 0.0293;  // 2^(1/24) − 1
constexpr double kEighthTone = 0.0145;   // 2^(1/48) − 1
constexpr int kRisingRefineHarmonics = 4;
// Estimates this close to the risen pitch confirm it; an octave or up to this far off, it corrects
// them; further off, the estimate is the previous note's tail or a noise of the attack.
constexpr double kRisingAgreeSemitones = 0.5;
constexpr double kRisingCorrectsSemitones = 1.5;
// An onset that rises from no further than this below the loudest of the note sounding is that
// note swelling, not a new attack over its tail.
constexpr double kSwellDepthDb = 6.0;
// What rose settles a pitch between two notes when it lies this close to one of them.
constexpr double kRisingOnNoteSemitones = 0.15;
// What rose tells a pitch only when it holds at least this share of the spectrum's power.
constexpr double kRisenLeast = 0.005;
// What rose is one harmonic series when it rose less than this halfway between the note's
// harmonics (at the odd harmonics of the octave below) than on them, up to the fourth: only then
// does it confirm an estimate or tell the note alone.
constexpr double kRisenBetweenShare = 0.15;
constexpr int kBelowHarmonics = 4;
// What rose tells the note alone, while no window hears it or the windows hear another note, when
// it holds this share of the power.
constexpr double kRisenAloneShare = 0.3;

// The note tracker.
constexpr double kSameNoteSemitones = 0.6;      // estimates this close belong to one candidate
constexpr double kStableSpreadSemitones = 0.3;  // and this close over the stable span
constexpr double kStableSpanMs = 15.0;          // how long estimates must agree after the attack
constexpr std::size_t kConfirmedSpan = 2;       // hops enough when each agreed with what rose
constexpr double kLegatoExtraMs = 10.0;         // a change without an onset holds this much longer
constexpr double kRepeatAfterMs = 50.0;         // the same note again after an onset: outlast its tail
constexpr double kRepeatRiseDb = 15.0;          // and a clear new attack
constexpr double kChangeSemitones = 0.75;       // without an onset, the pitch must leave the note this far
constexpr double kOctaveChangeMs = 80.0;        // and an octave jump must hold this long
constexpr double kFallingDb = 1.5;              // a candidate whose level fell this much is a dying tail
constexpr double kAboveGateDb = 6.0;            // a note without an onset stands this far above the gate
// A pitch this near the middle between two notes, or one still moving this much over the stable
// span (an attack that starts sharp or flat and glides to the note), waits for more of the note,
// up to a limit.
constexpr double kAmbiguousSemitones = 0.3;
constexpr double kGlidingSemitones = 0.1;  // over the full stable span
constexpr double kAmbiguousWaitMs = 80.0;
constexpr std::size_t kAttackSkip = 441;  // pitch windows start 10 ms after the onset
constexpr double kNoteEndMs = 60.0;       // below the gate this long: the note has ended
constexpr double kReleaseDb = 35.0;       // or this far below its loudest

// Noise floor and onsets.
constexpr double kFloorMarginDb = 5.0;
constexpr double kFloorMeasureMs = 200.0;
constexpr double kFloorRiseDbPerSecond = 3.0;
constexpr double kFloorFall = 0.1;
constexpr double kLowestLevelDb = -120.0;
constexpr double kOnsetRiseDb = 5.5;
constexpr double kLevelSpanMs = 17.0;       // longer than the period of C2
constexpr double kOnsetLookbackMs = 250.0;  // a voice that swells in rises over a quarter of a second
constexpr double kOnsetRefractoryMs = 100.0;
constexpr double kOnsetAttackMs = 60.0;

// The program's own sounds.
constexpr double kOwnNoteEarlyMs = 50.0;
constexpr double kOwnNoteTailMs = 1000.0;   // its decay and the room's reverb
constexpr double kOwnNoteAttackMs = 250.0;  // its level at the microphone is taken here
constexpr double kOwnNoteMarginDb = 10.0;
constexpr double kClickEarlyMs = 20.0;
constexpr double kClickLateMs = 150.0;  // until the output latency is learnt
constexpr double kClickLagToleranceMs = 25.0;
constexpr double kClickPeakAfterMs = 60.0;
constexpr double kOwnClickMarginDb = 6.0;
constexpr double kClickSoundMs = 250.0;  // how long a click sounds after its attack
constexpr double kClickRingBelowDb = 8.0;
constexpr std::size_t kLagsNeeded = 3;
constexpr std::size_t kClickLevels = 8;

// Claps.
constexpr double kMinClapIntervalMs = 60.0;
constexpr double kClapThresholdScale = 0.1;
constexpr double kClapHighPassHz = 65.0;
constexpr double kClapPeakMs = 8.0;  // a clap's level: its loudest hop within this
constexpr double kDbPerDoubling = 3.0103;
constexpr int kMostSensitiveRhythm = 3;
constexpr int kRhythmThresholdSpan = 80;
constexpr double kClapGateSpanDb = 40.0;

// The input as a whole.
constexpr float kClipLevel = 0.999f;
constexpr double kClipShare = 0.005;

double Db(double power) {
    return 10.0 * std::log10(power + 1e-20);
}

double Median(const double* v, std::size_t n) {
    std::array<double, 32> copy{};
    std::copy_n(v, n, copy.begin());
    std::sort(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(n));
    return n % 2 == 1 ? copy[n / 2] : 0.5 * (copy[n / 2 - 1] + copy[n / 2]);
}

// A MIDI note, in fractions too, and its frequency.
double NoteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}
double HzNote(double hz) {
    return 69.0 + 12.0 * std::log2(hz / 440.0);
}

int Hops(double ms, double hopMs) {
    return std::max(1, static_cast<int>(std::lround(ms / hopMs)));
}

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

MicAnalyzer::MicAnalyzer()
    : filter_(kMicSampleRate),
      clapHighPass_(Biquad::HighPass(kClapHighPassHz, 0.7071, kMicSampleRate)),
      yinOut_(new_fvec(1)),
      fft_(new_aubio_fft(kSpectrumSize)),
      fftIn_(new_fvec(kSpectrumSize)),
      spectrum_(new_cvec(kSpectrumSize)),
      hopIn_(new_fvec(kPitchHop)),
      onsetOut_(new_fvec(1)) {
    for (std::size_t w = 0; w < kWindows; ++w) {
        yin_[w].reset(new_aubio_pitchyinfast(static_cast<uint_t>(kWindowSizes[w])));
        aubio_pitchyinfast_set_tolerance(yin_[w].get(), static_cast<smpl_t>(kYinTolerance));
        windowIn_[w].reset(new_fvec(static_cast<uint_t>(kWindowSizes[w])));
    }
}

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

void MicAnalyzer::SetPitchRange(int low, int high) {
    if (low > high) {
        rangeLow_ = kMicLowestNote;
        rangeHigh_ = kMicHighestNote;
    } else {
        rangeLow_ = std::clamp(low, 0, 127);
        rangeHigh_ = std::clamp(high, 0, 127);
    }
}

void MicAnalyzer::ResetNote() {
    sounding_ = 0;
    soundingOwn_ = false;
    freshOnset_ = false;
    unvoicedHops_ = 0;
    candidateCount_ = 0;
    notePeakDb_ = kLowestLevelDb;
    onsetPeakDb_ = kLowestLevelDb;
}

void MicAnalyzer::Begin(MicMode mode) {
    mode_ = mode;
    low_ = rangeLow_;
    high_ = rangeHigh_;
    filled_ = 0;
    streamSamples_ = 0;
    written_ = 0;
    history_.fill(0.0f);
    hopSquares_ = 0;
    wideSquares_ = 0;
    hopPeak_ = 0;
    ResetNote();
    floorDb_ = kLowestLevelDb;
    floorHops_ = 0;
    levelCount_ = 0;
    sinceOnset_ = 0;
    hopsSinceOnset_ = std::numeric_limits<int>::max() / 2;  // no onset yet: none holds the next back
    pendingCount_ = 0;
    zeroRun_ = clipWindow_ = clipped_ = 0;
    clipping_ = false;
    signal_ = MicSignal::Listening;
    levelDb_ = kLowestLevelDb;
    converter_.Reset(inRate_, kMicSampleRate);
    filter_.Reset();
    clapHighPass_.Reset();
    onset_.reset();
    if (mode == MicMode::Rhythm) {
        hop_ = config_.highPrecision ? kClapHopPrecise : kClapHop;
        clapDelayMs_ = ClapDelayMs(hop_);
        const auto rate = static_cast<uint_t>(kMicSampleRate);
        onset_.reset(new_aubio_onset("hfc", kClapBuffer, hop_, rate));
        aubio_onset_set_delay(onset_.get(), 0);
        aubio_onset_set_threshold(onset_.get(), static_cast<smpl_t>(OnsetThreshold(config_.rhythmThreshold)));
        aubio_onset_set_minioi_ms(onset_.get(), static_cast<smpl_t>(kMinClapIntervalMs));
        aubio_onset_set_silence(onset_.get(), static_cast<smpl_t>(ClapGateDb(config_.rhythmThreshold)));
    } else {
        hop_ = config_.highPrecision ? kPitchHopPrecise : kPitchHop;
    }
    hopMs_ = hop_ * 1000.0 / kMicSampleRate;
    hopIn_.reset(new_fvec(hop_));
}

void MicAnalyzer::ProgramSound(const OwnSound& sound) {
    own_[ownNext_ % kOwnSounds] = OwnEntry{sound, true, -200, false};
    ++ownNext_;
}

void MicAnalyzer::TrackSignal(float raw) {
    zeroRun_ = raw == 0.0f ? zeroRun_ + 1 : 0;
    if (!(std::fabs(raw) < kClipLevel)) ++clipped_;
    if (++clipWindow_ >= static_cast<std::uint64_t>(inRate_ / 2)) {
        clipping_ = static_cast<double>(clipped_) > kClipShare * static_cast<double>(clipWindow_);
        clipWindow_ = clipped_ = 0;
    }
    if (zeroRun_ >= static_cast<std::uint64_t>(inRate_)) {
        signal_ = MicSignal::NoSignal;
    } else {
        signal_ = clipping_ ? MicSignal::Clipping : MicSignal::Listening;
    }
}

void MicAnalyzer::Feed(const float* samples, std::size_t count, double clockMs,
                       std::vector<MicDetection>& out, double rate) {
    if (mode_ == MicMode::Off || !(rate >= kMicLowestRate && rate <= kMicHighestRate)) return;
    if (rate != inRate_) {
        inRate_ = rate;
        converter_.Reset(rate, kMicSampleRate);
    }
    clockAtStart_ = clockMs - static_cast<double>(streamSamples_ + filled_) * 1000.0 / kMicSampleRate;
    converted_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const float raw = samples[i];
        TrackSignal(raw);
        const float v = std::isfinite(raw) ? std::clamp(raw, -1.0f, 1.0f) : 0.0f;
        if (converter_.Converting()) {
            converter_.Convert(&v, 1, converted_);
        } else {
            Analyse(v, out);
        }
    }
    for (float v : converted_) Analyse(v, out);
}

void MicAnalyzer::Analyse(float x, std::vector<MicDetection>& out) {
    const float y = mode_ == MicMode::Tone ? filter_.Process(x) : clapHighPass_.Process(x);
    history_[written_++ % kHistory] = y;
    hopIn_->data[filled_++] = y;
    hopSquares_ += static_cast<double>(y) * y;
    const float wide = mode_ == MicMode::Tone ? filter_.HighPassed() : y;
    wideSquares_ += static_cast<double>(wide) * wide;
    hopPeak_ = std::max(hopPeak_, std::fabs(y));
    if (filled_ == hop_) {
        streamSamples_ += hop_;
        filled_ = 0;
        Hop(out);
        hopSquares_ = 0;
        wideSquares_ = 0;
        hopPeak_ = 0;
    }
}

double MicAnalyzer::HopClockMs() const {
    return clockAtStart_ + HopStreamMs();
}

double MicAnalyzer::HopStreamMs() const {
    return static_cast<double>(streamSamples_) * 1000.0 / kMicSampleRate;
}

void MicAnalyzer::Hop(std::vector<MicDetection>& out) {
    const double hopDb = std::max(Db(hopSquares_ / hop_), kLowestLevelDb);
    const double peakDb = std::max(Db(static_cast<double>(hopPeak_) * hopPeak_), kLowestLevelDb);
    const double end = HopClockMs();
    levelDb_ = hopDb;
    HearOwnSounds(end - hopMs_, end, mode_ == MicMode::Tone ? hopDb : peakDb);
    if (mode_ == MicMode::Tone) {
        ToneHop(hopDb, std::max(Db(wideSquares_ / hop_), kLowestLevelDb), out);
    } else {
        RhythmHop(peakDb, out);
    }
}

void MicAnalyzer::UpdateFloor(double hopDb) {
    // Measured over the first moments of detection, then followed: down at once, up slowly, so
    // that a noisier room lifts it in a few seconds. Not while a note sounds: the level is then the
    // note's, and a legato line or notes whose tails overlap would lift it towards their own level
    // until their quieter moments fell below the gate.
    if (floorHops_ < Hops(kFloorMeasureMs, hopMs_)) {
        floorDb_ = floorHops_ == 0 ? hopDb : std::min(floorDb_, hopDb);
        ++floorHops_;
        return;
    }
    if (hopDb < floorDb_) {
        floorDb_ += kFloorFall * (hopDb - floorDb_);
    } else if (sounding_ == 0) {
        floorDb_ += std::min(hopDb - floorDb_, kFloorRiseDbPerSecond * hopMs_ / 1000.0);
    }
}

double MicAnalyzer::Nsdf(const float* x, std::size_t n, std::size_t lag) const {
    if (lag == 0 || lag >= n) return 0;
    double product = 0, energy = 0;
    for (std::size_t j = 0; j + lag < n; ++j) {
        product += static_cast<double>(x[j]) * x[j + lag];
        energy += static_cast<double>(x[j]) * x[j] + static_cast<double>(x[j + lag]) * x[j + lag];
    }
    return energy > 0 ? 2.0 * product / energy : 0.0;
}

double MicAnalyzer::Salience(double hz) const {
    const double binHz = kMicSampleRate / kSpectrumSize;
    const cvec_t* s = spectrum_.get();
    double sum = 0, weight = 1;
    for (int h = 1; h <= kHarmonics && h * hz < kHarmonicsUpToHz; ++h, weight *= kHarmonicWeight) {
        const double bin = h * hz / binHz;
        const auto lo = static_cast<std::size_t>(std::max(0.0, std::floor(bin - 1)));
        const auto hi = std::min<std::size_t>(s->length - 1, static_cast<std::size_t>(std::ceil(bin + 1)));
        double peak = 0;
        for (std::size_t b = lo; b <= hi; ++b) peak = std::max(peak, static_cast<double>(s->norm[b]));
        sum += weight * peak;
    }
    return sum;
}

void MicAnalyzer::WindowSpectrum(std::size_t n, std::size_t back) {
    float* in = fftIn_->data;
    std::fill_n(in, kSpectrumSize, 0.0f);
    const std::size_t end = written_ - back;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann =
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
        in[i] = static_cast<float>(history_[(end - n + i) % kHistory] * hann);
    }
    aubio_fft_do(fft_.get(), fftIn_.get(), spectrum_.get());
}

MicAnalyzer::Rise MicAnalyzer::RisingPitch() {
    WindowSpectrum(kRisingWindow, 0);
    const cvec_t* s = spectrum_.get();
    double risenPower = 0, power = 0;
    for (std::size_t b = 0; b < risen_.size(); ++b) {
        risen_[b] = std::max(0.0f, s->norm[b] - beforeOnset_[b]);
        risenPower += static_cast<double>(risen_[b]) * risen_[b];
        power += static_cast<double>(s->norm[b]) * s->norm[b];
    }
    // A moment of a note whose level or pitch moved, not a new one: what rose is too little to
    // tell a pitch.
    Rise rise;
    rise.share = power > 0 ? risenPower / power : 0;
    if (risenPower <= kRisenLeast * power) return rise;
    const double binHz = kMicSampleRate / kSpectrumSize;
    // The rise at `hz`: between bins where they are finer than an eighth of a tone, else the
    // strongest within an eighth of a tone (vibrato, stretched partials).
    const auto riseAt = [&](double hz) {
        const double bin = hz / binHz;
        const double width = bin * kEighthTone;
        if (width < 1.0) {
            const auto b = static_cast<std::size_t>(bin);
            if (b + 1 >= risen_.size()) return 0.0;
            const double f = bin - static_cast<double>(b);
            return (1 - f) * risen_[b] + f * risen_[b + 1];
        }
        const auto lo = static_cast<std::size_t>(std::floor(bin - width));
        const auto hi = std::min(risen_.size() - 1, static_cast<std::size_t>(std::ceil(bin + width)));
        double peak = 0;
        for (std::size_t b = lo; b <= hi; ++b) peak = std::max(peak, static_cast<double>(risen_[b]));
        return peak;
    };
    int best = 0;
    double bestSalience = 0;
    // Every note a voice sings competes, not just the exercise's: a note outside its range must not
    // be taken for its octave inside it.
    for (int note = std::min(low_, kMicLowestNote); note <= std::max(high_, kMicHighestNote); ++note) {
        const double hz = NoteHz(note);
        double salience = 0, weight = 1;
        for (int h = 1; h <= kHarmonics && h * hz < kHarmonicsUpToHz; ++h, weight *= kHarmonicWeight)
            salience += weight * riseAt(h * hz);
        if (salience > bestSalience) {
            bestSalience = salience;
            best = note;
        }
    }
    if (best == 0) return rise;
    const double hz = NoteHz(best);
    double odd = 0, even = 0;
    for (int h = 1; h <= kBelowHarmonics && h * hz < kHarmonicsUpToHz; ++h) {
        odd += riseAt((h - 0.5) * hz);
        even += riseAt(h * hz);
    }
    rise.belowShare = even > 0 ? odd / even : 0;
    // The pitch from the note's lowest harmonics that stand out as peaks within a quarter tone of
    // where they belong, each interpolated between its bins, the stronger weighing more. What rose
    // tells the note, the spectrum itself where its harmonics stand: a partial that moves leaves its
    // rise on its outer flank, which would place a note swelling with vibrato beyond its own pitch.
    const float* now = s->norm;
    double sumHz = 0, sumWeight = 0;
    for (int h = 1; h <= kRisingRefineHarmonics && h * hz < kHarmonicsUpToHz; ++h) {
        const double bin = h * hz / binHz;
        const double width = std::max(1.0, bin * kQuarterTone);
        const auto lo = static_cast<std::size_t>(std::max(1.0, std::floor(bin - width)));
        const auto hi = std::min(risen_.size() - 2, static_cast<std::size_t>(std::ceil(bin + width)));
        // The strongest bin of `m` there, if it is a peak.
        const auto peakOf = [&](const float* m) {
            std::size_t b = lo;
            for (std::size_t k = lo; k <= hi; ++k) {
                if (m[k] > m[b]) b = k;
            }
            return m[b] > m[b - 1] && m[b] >= m[b + 1] ? b : 0;
        };
        const std::size_t rose = peakOf(risen_.data());
        const std::size_t b = rose > 0 ? peakOf(now) : 0;
        if (b == 0) continue;
        const double l = now[b - 1], c = now[b], r = now[b + 1];
        const double curve = l - 2 * c + r;
        const double at = (static_cast<double>(b) + 0.5 * (l - r) / curve) * binHz / h;
        const double weight = static_cast<double>(risen_[rose]) * risen_[rose];
        sumHz += weight * at;
        sumWeight += weight;
    }
    if (sumWeight > 0) rise.midi = HzNote(sumHz / sumWeight);
    return rise;
}

double MicAnalyzer::HarmonicChoice(std::size_t n, double period) {
    WindowSpectrum(n, 0);
    // A period can only be too long by a whole number of periods: the pitches above are the
    // candidates, and one whose harmonics hold more of the spectrum wins.
    const double hz = kMicSampleRate / period;
    double best = period, bestSalience = Salience(hz);
    for (int k = 2; k <= kMostDivisions; ++k) {
        if (hz * k > kHighestPitchHz) break;
        if (const double s = Salience(hz * k); s > bestSalience) {
            bestSalience = s;
            best = period / k;
        }
    }
    return best;
}

MicAnalyzer::Estimate MicAnalyzer::EstimatePitch(std::size_t w) {
    const std::size_t n = kWindowSizes[w];
    float* x = windowIn_[w]->data;
    for (std::size_t i = 0; i < n; ++i) x[i] = history_[(written_ - n + i) % kHistory];
    aubio_pitchyinfast_do(yin_[w].get(), windowIn_[w].get(), yinOut_.get());
    double period = yinOut_->data[0];
    const double clarity = aubio_pitchyinfast_get_confidence(yin_[w].get());
    if (!(period > 0) || clarity < kMinClarity) return {};

    // The octave check: yin may settle on twice the period (an octave low) when noise fills the
    // first dip, or on half of it when the fundamental is weak.
    const auto at = [&](double lag) { return Nsdf(x, n, static_cast<std::size_t>(std::lround(lag))); };
    double fit = at(period);
    while (period / 2 >= kMicSampleRate / kHighestPitchHz) {
        const double half = at(period / 2);
        if (half < kHalfPeriodMin || half < kHalfPeriodShare * fit) break;
        period /= 2;
        fit = half;
    }
    if (2 * period <= static_cast<double>(n) * 3 / 4 && at(2 * period) > fit + kDoublePeriodGain) period *= 2;
    period = HarmonicChoice(n, period);
    if (period > static_cast<double>(n) * kLongestPeriodShare) return {};
    return {HzNote(kMicSampleRate / period), clarity};
}

MicAnalyzer::Estimate MicAnalyzer::WindowEstimate(std::size_t w) {
    // The shortest window that hears the pitch decides: it holds the least of what sounded before
    // (the previous note's tail when a note grows out of it without a clear onset). A longer one
    // is taken when the pitch is too low for it.
    const auto hears = [](std::size_t window, double midi) {
        return kMicSampleRate / NoteHz(midi) <=
               static_cast<double>(kWindowSizes[window]) * kLongestPeriodShare;
    };
    std::size_t use = std::min<std::size_t>(1, w - 1);
    Estimate e = EstimatePitch(use);
    while ((e.midi <= 0 || !hears(use, e.midi - 0.5)) && use + 1 < w) e = EstimatePitch(++use);
    // A shorter window that can hear this pitch must agree.
    if (e.midi > 0 && use >= 1 && hears(use - 1, e.midi)) {
        const Estimate shorter = EstimatePitch(use - 1);
        if (std::fabs(shorter.midi - e.midi) > kWindowsAgreeSemitones) return {};
    }
    return e;
}

void MicAnalyzer::ToneHop(double hopDb, double wideDb, std::vector<MicDetection>& out) {
    UpdateFloor(hopDb);
    const double gate = std::max(SilenceGateDb(config_.toneThreshold), floorDb_ + kFloorMarginDb);

    // An onset: the level rises well above the quietest of the last hops, leaving out the attack
    // of the latest onset (its first hops are quieter than the note, and no new onset).
    const int attack = Hops(kOnsetAttackMs, hopMs_);
    const std::size_t lookback = std::min({static_cast<std::size_t>(Hops(kOnsetLookbackMs, hopMs_)),
                                           static_cast<std::size_t>(std::max(0, hopsSinceOnset_ - attack)),
                                           levelCount_, kLevelHistory});
    double recentMin = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < lookback; ++k)
        recentMin = std::min(recentMin, spanLevels_[(levelCount_ - 1 - k) % kLevelHistory]);
    // Each level an onset rises from is taken over a span longer than the period of the lowest
    // sung note: over one hop, a low note's level swings with where its periods fall, and the dips
    // would make its own next hop an onset.
    levels_[levelCount_ % kLevelHistory] = hopDb;
    const std::size_t levelSpan =
        std::min(static_cast<std::size_t>(Hops(kLevelSpanMs, hopMs_)), levelCount_ + 1);
    double power = 0;
    for (std::size_t m = 0; m < levelSpan; ++m)
        power += std::pow(10.0, levels_[(levelCount_ - m) % kLevelHistory] / 10.0);
    spanLevels_[levelCount_++ % kLevelHistory] = Db(power / static_cast<double>(levelSpan));
    sinceOnset_ += hop_;
    ++hopsSinceOnset_;
    // A note has also ended once it has died away far below its loudest. What is heard is the
    // quieter of the level after the notches and before them: a sound near their frequencies that
    // stops leaves them ringing, while the hum they take away is only heard before them.
    const double heardDb = std::min(hopDb, wideDb);
    const bool voiced = heardDb >= gate && heardDb >= notePeakDb_ - kReleaseDb;
    if (voiced && hopDb - recentMin >= kOnsetRiseDb && hopsSinceOnset_ > Hops(kOnsetRefractoryMs, hopMs_)) {
        onsetBaseDb_ = recentMin;
        onsetDepthDb_ = sounding_ != 0 ? notePeakDb_ - recentMin : std::numeric_limits<double>::infinity();
        // A note that sounds keeps its own loudest until another is taken: an onset that yields
        // no note (the ringing of the hum notches after an abrupt stop beats by several dB) must
        // not lower the level its release is measured against, or the note never ends.
        if (sounding_ == 0) notePeakDb_ = hopDb;
        onsetPeakDb_ = hopDb;
        sinceOnset_ = hop_;
        hopsSinceOnset_ = 0;
        risenPitch_ = 0;
        risenSinceHop_ = 0;
        freshOnset_ = true;
        candidateCount_ = 0;
        WindowSpectrum(kRisingWindow, hop_);
        // Each bin takes the most within a quarter tone before the onset: a partial that a vibrato
        // or a glide moves since then has not risen.
        for (std::size_t b = 0; b < beforeOnset_.size(); ++b) {
            const auto reach =
                std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(b) * kQuarterTone));
            const std::size_t lo = b > reach ? b - reach : 0;
            const std::size_t hi = std::min(beforeOnset_.size() - 1, b + reach);
            beforeOnset_[b] = *std::max_element(spectrum_->norm + lo, spectrum_->norm + hi + 1);
        }
    }
    if (!voiced) {
        candidateCount_ = 0;
        if (++unvoicedHops_ >= Hops(kNoteEndMs, hopMs_) && sounding_ != 0) {
            if (!soundingOwn_) out.push_back({MicDetection::Kind::NoteEnd, 0, HopClockMs(), HopStreamMs()});
            ResetNote();
        }
        return;
    }
    unvoicedHops_ = 0;
    notePeakDb_ = std::max(notePeakDb_, hopDb);
    onsetPeakDb_ = std::max(onsetPeakDb_, hopDb);

    std::size_t w = kWindows;
    while (w > 0 && kWindowSizes[w - 1] + kAttackSkip > sinceOnset_) --w;
    if (w == 0) return;  // too soon after the onset for any window
    Estimate e = WindowEstimate(w);
    // After an onset the estimate is held against what has risen since: the previous note's tail
    // and the room's reverb do not rise, so an estimate that is still theirs waits, one an octave
    // or a semitone off takes the risen pitch, and one that agrees is confirmed. Only an estimate
    // one octave below what rose waits instead, or two octaves below when the note sounding swells:
    // the rise is judged by the weight of its harmonics, which favours the octave above whenever a
    // note's odd harmonics are weaker than its even ones (a fundamental below the first resonance
    // of a voice or a string's body), and two octaves above when a vowel opening on a held note
    // swells its fourth harmonic, so the two disagreeing leave the octave open until they agree.
    // What rose confirms only when it is one harmonic series: when it rose halfway between the
    // note's harmonics too, it is a mixture (the next note rising under the last one's octave
    // below, a noisy attack), and the two agreeing may be a coincidence of the mixture.
    // While no window hears a pitch yet (a low note needs the longest; a note growing under the
    // last one's tail mixes with it), or the one it hears is another note than what rose (that
    // tail, louder for a while; a reed's twelfth), what rose tells the note alone once it is a good
    // part of what sounds and the octave below it did not rise with it. An octave apart, the rule
    // above decides. Until the onset has given a note, that holds through the attack of what rose,
    // which need not be the onset's: a note that grows in while the last one fades may raise no
    // level of its own after an onset of that one's swell. Once a note is taken, a later rise is
    // more often the room's reverb changing colour than a note.
    bool confirmed = false;
    bool risenAlone = false;
    double rising = 0;
    if (hopsSinceOnset_ < Hops(kRisingMs, hopMs_)) {
        const Rise rise = RisingPitch();
        rising = rise.midi;
        if (rising <= 0 || std::fabs(rising - risenPitch_) > kRisingAgreeSemitones) {
            risenPitch_ = rising;
            risenSinceHop_ = hopsSinceOnset_;
        }
        const double apart = std::fabs(rising - e.midi);
        const bool octave = rising > 0 && e.midi > 0 && apart > kRisingAgreeSemitones &&
                            std::fabs(apart - 12.0 * std::round(apart / 12.0)) <= kRisingAgreeSemitones;
        const bool octaveWaits =
            rising > e.midi && (apart < 12.0 + kRisingAgreeSemitones ||
                                (apart < 24.0 + kRisingAgreeSemitones && onsetDepthDb_ < kSwellDepthDb));
        const bool inAttack = hopsSinceOnset_ < Hops(kRisingAttackMs, hopMs_);
        const bool inRisenAttack =
            inAttack || (freshOnset_ && hopsSinceOnset_ - risenSinceHop_ < Hops(kRisingAttackMs, hopMs_));
        if (rising > 0 && e.midi > 0 && apart <= kRisingAgreeSemitones) {
            confirmed = rise.belowShare < kRisenBetweenShare;
        } else if (inAttack && ((octave && !octaveWaits) ||
                                (e.midi > 0 && rising > 0 && apart < kRisingCorrectsSemitones))) {
            e.midi = rising;
        } else if (inRisenAttack && !octave && rising > 0 && rise.share >= kRisenAloneShare &&
                   rise.belowShare < kRisenBetweenShare) {
            e.midi = rising;
            risenAlone = true;
        } else {
            e = {};
        }
    }
    if (e.midi <= 0 || e.midi < low_ - 0.5 || e.midi > high_ + 0.5) {
        candidateCount_ = 0;
        return;
    }
    // Candidates the rise alone told give way to the windows' first estimate and the other way
    // round: the two place a note a little apart, which within one run would read as a glide.
    if (candidateCount_ > 0 &&
        (std::fabs(e.midi - Median(candidate_.data(), candidateCount_)) > kSameNoteSemitones ||
         risenAlone != risenAloneRun_)) {
        candidateCount_ = 0;
    }
    risenAloneRun_ = risenAlone;
    if (candidateCount_ == candidate_.size()) {
        std::copy(candidate_.begin() + 1, candidate_.end(), candidate_.begin());
        std::copy(confirmed_.begin() + 1, confirmed_.end(), confirmed_.begin());
        --candidateCount_;
    }
    confirmed_[candidateCount_] = confirmed;
    candidate_[candidateCount_++] = e.midi;
    candidateHops_ = candidateCount_ == 1 ? 1 : candidateHops_ + 1;
    if (candidateCount_ == 1) candidateStartDb_ = hopDb;

    // The pitch is taken over the stable part: the last estimates agree closely, fewer of them
    // when each was confirmed by what rose since the onset.
    const auto fullSpan = static_cast<std::size_t>(std::max(3, Hops(kStableSpanMs, hopMs_)));
    std::size_t span = fullSpan;
    if (candidateCount_ >= kConfirmedSpan &&
        std::all_of(confirmed_.begin() + static_cast<std::ptrdiff_t>(candidateCount_ - kConfirmedSpan),
                    confirmed_.begin() + static_cast<std::ptrdiff_t>(candidateCount_),
                    [](bool c) { return c; })) {
        span = kConfirmedSpan;
    }
    if (candidateCount_ < span) return;
    const double* last = candidate_.data() + (candidateCount_ - span);
    const auto [lo, hi] = std::minmax_element(last, last + span);
    if (*hi - *lo > kStableSpreadSemitones) return;
    double pitch = Median(last, span);
    const bool waited = candidateHops_ >= Hops(kStableSpanMs + kAmbiguousWaitMs, hopMs_);
    // The glide is judged over as much of the full span as there is.
    const std::size_t glideSpan = std::min(candidateCount_, fullSpan);
    const double* glideFrom = candidate_.data() + (candidateCount_ - glideSpan);
    const double glide =
        kGlidingSemitones * static_cast<double>(glideSpan - 1) / static_cast<double>(fullSpan - 1);
    if (std::fabs(glideFrom[glideSpan - 1] - glideFrom[0]) > glide && !waited) return;
    // A period between two notes that the risen harmonics confirm and place on one of them is
    // that note: the overtones of a struck or plucked string stand sharp of true harmonics and pull
    // the period sharp, while the lowest harmonics that rose hold the note.
    if (std::fabs(pitch - std::round(pitch)) > kAmbiguousSemitones && confirmed &&
        std::fabs(rising - std::round(rising)) <= kRisingOnNoteSemitones &&
        std::fabs(rising - pitch) <= kRisingAgreeSemitones) {
        pitch = rising;
    }
    if (std::fabs(pitch - std::round(pitch)) > kAmbiguousSemitones) {
        if (!waited) return;
        pitch = Median(candidate_.data(), candidateCount_);
    }
    const int note = static_cast<int>(std::lround(pitch));
    if (note == sounding_) {
        // The same note again only after a clear new attack (its whole rise, not just its first
        // moment), once the previous one's tail is over.
        if (!freshOnset_ || onsetPeakDb_ - onsetBaseDb_ < kRepeatRiseDb ||
            hopsSinceOnset_ < Hops(kRepeatAfterMs, hopMs_))
            return;
    } else if (!freshOnset_) {
        // A change without an onset (legato, or an attack too soft to see): the pitch leaves the
        // note clearly and holds, an octave jump longer, and its level does not fall: a note dying
        // away is no new note, whatever pitch its tail and older ones' leave.
        const bool octave = sounding_ != 0 && std::abs(note - sounding_) % 12 == 0;
        const double holdMs = kStableSpanMs + (octave ? kOctaveChangeMs : kLegatoExtraMs);
        if ((sounding_ != 0 && std::fabs(pitch - sounding_) < kChangeSemitones) ||
            candidateHops_ < Hops(holdMs, hopMs_) || hopDb < candidateStartDb_ - kFallingDb ||
            hopDb < gate + kAboveGateDb) {
            return;
        }
    }
    Report(note, hopDb, out);
}

void MicAnalyzer::Report(int note, double hopDb, std::vector<MicDetection>& out) {
    // A note after an onset is as loud as the loudest since: one moment of it may dip where the
    // voice and the program's sound beat against each other.
    const double loudestDb = freshOnset_ ? onsetPeakDb_ : hopDb;
    sounding_ = note;
    notePeakDb_ = onsetPeakDb_;
    freshOnset_ = false;
    soundingOwn_ = OwnNote(HopClockMs(), loudestDb);
    if (!soundingOwn_) out.push_back({MicDetection::Kind::Note, note, HopClockMs(), HopStreamMs()});
}

bool MicAnalyzer::OwnNote(double clockMs, double hopDb) const {
    // Whatever pitch is heard while the program's notes sound or die away is theirs (their notes,
    // an octave or a combination tone of a chord), unless clearly louder than they were at the
    // microphone.
    for (const OwnEntry& o : own_) {
        if (!o.used || o.sound.kind != OwnSound::Kind::Note) continue;
        if (clockMs < o.sound.fromMs - kOwnNoteEarlyMs || clockMs > o.sound.toMs + kOwnNoteTailMs) continue;
        if (hopDb < o.peakDb + kOwnNoteMarginDb) return true;
    }
    return false;
}

void MicAnalyzer::HearOwnSounds(double hopStartMs, double hopEndMs, double levelDb) {
    const bool lagKnown = clickLagCount_ >= kLagsNeeded;
    const double lag = lagKnown ? Median(clickLags_.data(), std::min(clickLagCount_, clickLags_.size())) : 0;
    for (OwnEntry& o : own_) {
        if (!o.used || o.heard) continue;
        double from = o.sound.fromMs, to = o.sound.fromMs + kOwnNoteAttackMs;
        const bool click = o.sound.kind == OwnSound::Kind::Click || mode_ == MicMode::Rhythm;
        if (click) {
            from = lagKnown ? o.sound.fromMs + lag - kClickLagToleranceMs : o.sound.fromMs - kClickEarlyMs;
            to = lagKnown ? o.sound.fromMs + lag + kClickPeakAfterMs : o.sound.fromMs + kClickLateMs;
        }
        if (hopEndMs > from && hopStartMs < to) o.peakDb = std::max(o.peakDb, levelDb);
        if (hopStartMs >= to) o.heard = true;
    }
}

bool MicAnalyzer::OwnClick(double clockMs, double peakDb) {
    const bool lagKnown = clickLagCount_ >= kLagsNeeded;
    const double lag = lagKnown ? Median(clickLags_.data(), std::min(clickLagCount_, clickLags_.size())) : 0;
    for (const OwnEntry& o : own_) {
        if (!o.used) continue;
        const double d = clockMs - o.sound.fromMs;
        const double headEnd = lagKnown ? lag + kClickLagToleranceMs : kClickLateMs;
        const bool head = d >= (lagKnown ? lag - kClickLagToleranceMs : -kClickEarlyMs) && d <= headEnd;
        const bool ringing = d > headEnd && d <= lag + kClickSoundMs;
        if (!head && !ringing) continue;
        // This sound at the microphone: the quietest of the latest ones like it heard whole (a clap
        // on the beat makes one of them louder, never quieter).
        std::array<double, kClickLevels> levels{};
        std::size_t heard = 0;
        for (std::size_t k = 0; k < kOwnSounds && heard < kClickLevels; ++k) {
            const OwnEntry& h = own_[(ownNext_ + kOwnSounds - 1 - k) % kOwnSounds];
            if (h.used && h.heard && h.sound.kind == o.sound.kind && h.sound.note == o.sound.note) {
                levels[heard++] = h.peakDb;
            }
        }
        const double clickDb = heard > 0 ? *std::min_element(levels.begin(), levels.begin() + heard) : 0.0;
        if (ringing) {
            // After its attack a wood block or a drum rings and bounces, well below its attack.
            if (heard > 0 && peakDb < clickDb - kClickRingBelowDb) return true;
            continue;
        }
        if (heard > 0 && peakDb >= clickDb + kOwnClickMarginDb) return false;
        clickLags_[clickLagCount_++ % clickLags_.size()] = d;
        return true;
    }
    return false;
}

void MicAnalyzer::RhythmHop(double peakDb, std::vector<MicDetection>& out) {
    aubio_onset_do(onset_.get(), hopIn_.get(), onsetOut_.get());
    // A clap is reported once its loudest moment has passed, so that it can be weighed against the
    // program's clicks.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pendingCount_; ++i) {
        PendingClap p = pending_[i];
        p.peakDb = std::max(p.peakDb, peakDb);
        if (--p.hopsLeft > 0) {
            pending_[kept++] = p;
        } else if (!OwnClick(clockAtStart_ + p.streamMs, p.peakDb)) {
            out.push_back({MicDetection::Kind::Clap, 0, clockAtStart_ + p.streamMs, p.streamMs});
        }
    }
    pendingCount_ = kept;
    if (onsetOut_->data[0] <= 0) return;
    const uint_t last = aubio_onset_get_last(onset_.get());
    if (last == 0) return;  // aubio reports the start of every stream as an onset
    if (pendingCount_ == pending_.size()) return;
    const double onsetStreamMs = static_cast<double>(last) * 1000.0 / kMicSampleRate - clapDelayMs_;
    pending_[pendingCount_++] = {onsetStreamMs, peakDb, Hops(kClapPeakMs, hopMs_)};
}

}  // namespace kalvintor::sound
