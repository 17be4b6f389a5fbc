// Pitch and clap detection on microphone samples: rumble and mains hum filtered away, a noise floor
// that sets the gate, sung notes tracked from onset to end over aubio's `yinfast` with an octave
// check, claps by aubio's `hfc` onsets with their time on the program's millisecond clock, and the
// program's own notes and metronome clicks kept apart from the student's.
#pragma once

#include "sound/CHandles.h"
#include "sound/MicFilters.h"
#include "sound/MicSession.h"

#include <aubio/aubio.h>
#include <aubio/pitch/pitchyinfast.h>

#include <array>
#include <cstdint>
#include <vector>

namespace kalvintor::sound {

enum class MicMode { Off, Tone, Rhythm };

inline constexpr double kMicSampleRate = 44100.0;
inline constexpr std::uint32_t kPitchHop = 256;
inline constexpr std::uint32_t kPitchHopPrecise = 128;
inline constexpr std::uint32_t kClapBuffer = 512;
inline constexpr std::uint32_t kClapHop = 128;
inline constexpr std::uint32_t kClapHopPrecise = 64;
inline constexpr double kBaseSilenceDb = -70.0;
inline constexpr double kBaseToneThreshold = 196608.0;
// Rates a capture stream may have; anything else is refused as garbage.
inline constexpr double kMicLowestRate = 8000.0;
inline constexpr double kMicHighestRate = 192000.0;
// The sung range when the exercise gives none: C2 to C7.
inline constexpr int kMicLowestNote = 36;
inline constexpr int kMicHighestNote = 96;

// The three values MicConfigure takes.
struct MicConfig {
    std::int32_t rhythmThreshold = 11;  // (r + 1)² + 2 for rhythm sensitivity r 0..8
    bool highPrecision = false;         // finer hops: earlier notes, finer clap times
    double toneThreshold = 1572864.0;   // 196608 × 2^t for tone sensitivity t 0..8
};

struct MicDetection {
    // NoteEnd: the note last reported has ended (note 0, "silence" to the pitch exercises).
    enum class Kind { Note, NoteEnd, Clap } kind = Kind::Note;
    int note = 0;         // Note: MIDI note number
    double clockMs = 0;   // on the millisecond clock: the clap, or when the note became certain
    double streamMs = 0;  // from the start of the stream
};

// What the microphone hears as a whole, for the window to show.
enum class MicSignal {
    Listening,  // samples arrive and look like sound
    NoSignal,   // nothing but zeros for a second: a muted or dead input
    Clipping,   // the input is overdriven: turn the microphone down
};

// A sound the program itself plays, on the millisecond clock.
struct OwnSound {
    enum class Kind { Note, Click } kind = Kind::Note;
    int note = 0;       // Note: MIDI note number
    double fromMs = 0;  // key down, or the click
    double toMs = 0;    // Note: key up
};

void FreeAubioYinFast(aubio_pitchyinfast_t* p);
void FreeAubioOnset(aubio_onset_t* p);
void FreeFvec(fvec_t* p);
void FreeAubioFft(aubio_fft_t* p);
void FreeCvec(cvec_t* p);

class MicAnalyzer {
public:
    MicAnalyzer();
    MicAnalyzer(const MicAnalyzer&) = delete;
    MicAnalyzer& operator=(const MicAnalyzer&) = delete;

    // Takes effect at the next Begin.
    void Configure(const MicConfig& config) { config_ = config; }
    // The notes the exercise can ask for; estimates outside are not sung notes. Takes effect at
    // the next Begin; low > high restores the default.
    void SetPitchRange(int low, int high);
    // Starts a fresh stream.
    void Begin(MicMode mode);
    MicMode Mode() const { return mode_; }
    // Feeds samples at `rate` whose first one was captured at `clockMs` on the millisecond clock.
    // A rate outside kMicLowestRate..kMicHighestRate is not sound: the samples are dropped.
    void Feed(const float* samples, std::size_t count, double clockMs, std::vector<MicDetection>& out,
              double rate = kMicSampleRate);
    MicSignal Signal() const { return signal_; }
    // The level of the latest hop after the rumble filter, in dB below full scale.
    double LevelDb() const { return levelDb_; }

    // The program plays this: a note heard while its notes sound or die away, or an onset at one of
    // its clicks, counts as the student's only when clearly louder than the program's sound at the
    // microphone.
    // Kept over Begin: the room and the loudspeaker stay.
    void ProgramSound(const OwnSound& sound);

    // The silence gate the tone threshold gives: 3 dB per doubling above the base.
    static double SilenceGateDb(double toneThreshold);
    // The onset threshold the rhythm threshold gives.
    static double OnsetThreshold(std::int32_t rhythmThreshold);
    // The level below which a clap is not heard.
    static double ClapGateDb(std::int32_t rhythmThreshold);
    // How late the clap detector reports an onset, measured once on a generated clap.
    static double ClapDelayMs(std::uint32_t hop);

private:
    struct Estimate {
        double midi = 0;  // 0: none
        double clarity = 0;
    };
    struct OwnEntry {
        OwnSound sound;
        bool used = false;
        double peakDb = -200;  // loudest the microphone heard while it sounded
        bool heard = false;    // its window has passed: peakDb is complete
    };
    struct PendingClap {
        double streamMs = 0;
        double peakDb = -200;
        int hopsLeft = 0;
    };

    void Analyse(float x, std::vector<MicDetection>& out);
    void Hop(std::vector<MicDetection>& out);
    // `wideDb`: the hop's level before the hum notches.
    void ToneHop(double hopDb, double wideDb, std::vector<MicDetection>& out);
    void RhythmHop(double peakDb, std::vector<MicDetection>& out);
    void TrackSignal(float raw);
    void UpdateFloor(double hopDb);
    Estimate EstimatePitch(std::size_t window);
    double Nsdf(const float* x, std::size_t n, std::size_t lag) const;
    // The period, or a fraction of it whose harmonics hold more of the spectrum of the latest `n`
    // filtered samples.
    double HarmonicChoice(std::size_t n, double period);
    // The weighted sum of the spectrum's peaks at the harmonics of `hz`.
    double Salience(double hz) const;
    // The magnitude spectrum of the `n` filtered samples that end `back` samples before the latest.
    void WindowSpectrum(std::size_t n, std::size_t back);
    // What has grown since the latest onset: the spectrum's rise over the one just before the
    // onset, its pitch the note whose harmonics explain most of it among the notes a voice sings.
    struct Rise {
        double midi = 0;        // 0: too little rose to tell a pitch
        double share = 0;       // the rise's part of the spectrum's power
        double belowShare = 0;  // the rise at the odd harmonics of the octave below, against the note's
    };
    Rise RisingPitch();
    // The estimate of the shortest of the first `w` windows that hears its pitch.
    Estimate WindowEstimate(std::size_t w);
    void Report(int note, double hopDb, std::vector<MicDetection>& out);
    bool OwnNote(double clockMs, double hopDb) const;
    bool OwnClick(double clockMs, double peakDb);
    void HearOwnSounds(double hopStartMs, double hopEndMs, double hopDb);
    double HopClockMs() const;
    double HopStreamMs() const;
    void ResetNote();

    MicConfig config_;
    MicMode mode_ = MicMode::Off;
    int rangeLow_ = kMicLowestNote;
    int rangeHigh_ = kMicHighestNote;
    int low_ = kMicLowestNote;
    int high_ = kMicHighestNote;
    std::uint32_t hop_ = kPitchHop;
    double hopMs_ = 0;
    double inRate_ = kMicSampleRate;
    RateConverter converter_;
    std::vector<float> converted_;
    HumFilter filter_;
    Biquad clapHighPass_;

    // The latest filtered samples, for pitch windows that end at the current hop.
    static constexpr std::size_t kHistory = 4096;
    std::array<float, kHistory> history_{};
    std::size_t written_ = 0;
    std::size_t filled_ = 0;  // samples of the current hop
    double hopSquares_ = 0;
    double wideSquares_ = 0;  // before the hum notches
    float hopPeak_ = 0;
    std::uint64_t streamSamples_ = 0;  // analysed at the analysis rate
    double clockAtStart_ = 0;          // clock time of stream sample 0, from the latest buffer

    // aubio on windows of 512, 1024 and 2048 samples that end at the current hop.
    static constexpr std::size_t kWindows = 3;
    std::array<CHandle<aubio_pitchyinfast_t, FreeAubioYinFast>, kWindows> yin_;
    std::array<CHandle<fvec_t, FreeFvec>, kWindows> windowIn_;
    CHandle<fvec_t, FreeFvec> yinOut_;

    // The spectrum of the pitch window for the harmonic check, zero-padded to one size.
    static constexpr uint_t kSpectrumSize = 4096;
    CHandle<aubio_fft_t, FreeAubioFft> fft_;
    CHandle<fvec_t, FreeFvec> fftIn_;
    CHandle<cvec_t, FreeCvec> spectrum_;
    // The spectrum just before the latest onset, and what has risen above it since.
    std::array<float, kSpectrumSize / 2 + 1> beforeOnset_{};
    std::array<float, kSpectrumSize / 2 + 1> risen_{};

    // Noise floor and onsets.
    double floorDb_ = 0;
    int floorHops_ = 0;  // hops seen since Begin while the floor is first measured
    static constexpr std::size_t kLevelHistory = 128;
    std::array<double, kLevelHistory> levels_{};      // of each hop
    std::array<double, kLevelHistory> spanLevels_{};  // over the span ending at each hop
    std::size_t levelCount_ = 0;
    std::size_t sinceOnset_ = 0;  // samples since the latest onset
    int hopsSinceOnset_ = 0;
    double onsetBaseDb_ = 0;     // the level the latest onset rose from
    double onsetDepthDb_ = 0;    // how far below the loudest of the note sounding it rose from
    double notePeakDb_ = -200;   // the loudest of the note sounding, or since the onset while none does
    double onsetPeakDb_ = -200;  // the loudest since the latest onset

    // The note tracker.
    int sounding_ = 0;          // the note last taken, 0 none
    bool soundingOwn_ = false;  // it was the program's own
    bool freshOnset_ = false;
    int unvoicedHops_ = 0;
    std::array<double, 32> candidate_{};
    std::array<bool, 32> confirmed_{};  // the estimate agreed with what rose since the onset
    std::size_t candidateCount_ = 0;
    int candidateHops_ = 0;       // how long the candidate has held
    bool risenAloneRun_ = false;  // the candidates were told by what rose alone
    double risenPitch_ = 0;       // what rises since the onset, and since which hop it has
    int risenSinceHop_ = 0;
    double candidateStartDb_ = 0;

    // Claps.
    CHandle<aubio_onset_t, FreeAubioOnset> onset_;
    CHandle<fvec_t, FreeFvec> hopIn_;
    CHandle<fvec_t, FreeFvec> onsetOut_;
    double clapDelayMs_ = 0;
    std::array<PendingClap, 4> pending_{};
    std::size_t pendingCount_ = 0;

    // The program's own sounds.
    static constexpr std::size_t kOwnSounds = 256;
    std::array<OwnEntry, kOwnSounds> own_{};
    std::size_t ownNext_ = 0;
    std::array<double, 8> clickLags_{};
    std::size_t clickLagCount_ = 0;

    // Signal state.
    MicSignal signal_ = MicSignal::Listening;
    double levelDb_ = kMicSilentDb;
    std::uint64_t zeroRun_ = 0;
    std::uint64_t clipWindow_ = 0;
    std::uint64_t clipped_ = 0;
    bool clipping_ = false;
};

}  // namespace kalvintor::sound
