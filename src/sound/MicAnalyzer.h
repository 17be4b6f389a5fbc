// Pitch and clap detection on microphone samples with aubio: sung notes by `yin` behind a silence
// gate, claps by `hfc` onsets with their time on the program's millisecond clock.
#pragma once

#include "sound/CHandles.h"

#include <aubio/aubio.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace kalvintor::sound {

enum class MicMode { Off, Tone, Rhythm };

inline constexpr double kMicSampleRate = 44100.0;
inline constexpr std::uint32_t kPitchBuffer = 2048;
inline constexpr std::uint32_t kShortPitchBuffer = 1024;
inline constexpr std::uint32_t kPitchHop = 256;
inline constexpr std::uint32_t kPitchHopPrecise = 128;
inline constexpr std::uint32_t kClapBuffer = 512;
inline constexpr std::uint32_t kClapHop = 128;
inline constexpr std::uint32_t kClapHopPrecise = 64;
inline constexpr double kBaseSilenceDb = -70.0;
inline constexpr double kBaseToneThreshold = 196608.0;

// The three values MicConfigure takes.
struct MicConfig {
    std::int32_t rhythmThreshold = 11;  // (r + 1)² + 2 for rhythm sensitivity r 0..8
    bool highPrecision = false;         // finer hops: earlier notes, finer clap times
    double toneThreshold = 1572864.0;   // 196608 × 2^t for tone sensitivity t 0..8
};

struct MicDetection {
    enum class Kind { Note, Clap } kind = Kind::Note;
    int note = 0;         // Note: MIDI note number
    double clockMs = 0;   // on the millisecond clock: the clap, or when the note became certain
    double streamMs = 0;  // from the start of the stream
};

void FreeAubioPitch(aubio_pitch_t* p);
void FreeAubioOnset(aubio_onset_t* p);
void FreeFvec(fvec_t* p);

class MicAnalyzer {
public:
    MicAnalyzer();
    MicAnalyzer(const MicAnalyzer&) = delete;
    MicAnalyzer& operator=(const MicAnalyzer&) = delete;

    // Takes effect at the next Begin.
    void Configure(const MicConfig& config) { config_ = config; }
    // Starts a fresh stream.
    void Begin(MicMode mode);
    MicMode Mode() const { return mode_; }
    // Feeds samples whose first one was captured at `clockMs` on the millisecond clock.
    void Feed(const float* samples, std::size_t count, double clockMs, std::vector<MicDetection>& out);

    // The silence gate the tone threshold gives: 3 dB per doubling above the base.
    static double SilenceGateDb(double toneThreshold);
    // The onset threshold the rhythm threshold gives.
    static double OnsetThreshold(std::int32_t rhythmThreshold);
    // The level below which a clap is not heard.
    static double ClapGateDb(std::int32_t rhythmThreshold);
    // How late the clap detector reports an onset, measured once on a generated clap.
    static double ClapDelayMs(std::uint32_t hop);

private:
    struct HopPitch {
        int note = -1;
        double confidence = 0;
    };
    HopPitch Estimate(aubio_pitch_t* pitch);
    void Hop(double hopClockMs, std::vector<MicDetection>& out);

    MicConfig config_;
    MicMode mode_ = MicMode::Off;
    std::uint32_t hop_ = kPitchHop;
    CHandle<aubio_pitch_t, FreeAubioPitch> pitch_;
    CHandle<aubio_pitch_t, FreeAubioPitch> shortPitch_;
    CHandle<aubio_onset_t, FreeAubioOnset> onset_;
    CHandle<fvec_t, FreeFvec> in_;
    CHandle<fvec_t, FreeFvec> result_;
    std::size_t filled_ = 0;
    std::uint64_t streamSamples_ = 0;
    double clockAtStart_ = 0;  // clock time of stream sample 0, from the latest buffer
    double clapDelayMs_ = 0;

    int candidate_ = -1;
    int candidateHops_ = 0;
    int lastNote_ = -1;
};

}  // namespace kalvintor::sound
