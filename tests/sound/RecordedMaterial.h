// Recorded-sound material for the microphone detector: General MIDI voices and instruments from the
// FluidR3 SoundFont played note after note in one stream, with room noise, mains hum or reverb, and
// hand claps among metronome clicks.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvintor::sound::material {

inline constexpr const char* kGmSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
inline constexpr double kRate = 44100.0;

struct Instrument {
    const char* name;
    int program;
};
inline constexpr Instrument kInstruments[] = {
    {"choir aahs", 52}, {"voice oohs", 53}, {"flute", 73}, {"clarinet", 71},
    {"trumpet", 56},    {"violin", 40},     {"piano", 0},  {"nylon guitar", 24},
};

enum class Room { Dry, Reverb };

// The metronome clicks in turn: side stick, high and low wood block.
inline constexpr int kClickKeys[] = {37, 76, 77};

// One note of a stream: its number, where its key goes down and where it becomes audible.
struct PlayedNote {
    int note = 0;
    std::size_t keyDown = 0;
    std::size_t audible = 0;
};

struct NoteStream {
    std::vector<float> samples;
    std::vector<PlayedNote> notes;
    std::size_t lastRelease = 0;  // where the last key goes up
};

struct Layout {
    double leadMs = 1500;   // room sound alone before the first note
    double holdMs = 500;    // key down
    double stepMs = 700;    // from one key down to the next
    double trailMs = 8000;  // room sound alone after the last note has died away
};

class Renderer {
public:
    Renderer();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    static bool SoundFontPresent();

    // The notes one after another, each rendered from its key down to its decay and laid into the
    // stream at its place; as a synthesizer's output is the sum of its voices, this is the stream
    // one synthesizer playing them in turn gives. The level of the held notes is about −26 dBFS.
    NoteStream Notes(int program, const std::vector<int>& notes, Room room, const Layout& layout = {});

    // Hand claps (GM 39) at `clapsMs` and metronome clicks (side stick, high and low wood block in
    // turn) at `clicksMs`, in a stream of `lengthMs`.
    struct Claps {
        std::vector<float> samples;
        double clapAudibleMs = 0;  // from a clap's key down to where it is heard
    };
    Claps ClapsAndClicks(const std::vector<double>& clapsMs, const std::vector<double>& clicksMs,
                         double lengthMs);

private:
    std::vector<float> RenderNote(int channel, int program, int note, Room room, double holdMs);
    struct Synth;
    std::unique_ptr<Synth> synth_;
};

// How a stream of notes came through the detector.
struct NoteScore {
    int notes = 0;
    int right = 0;           // the first note reported after the onset is the one played
    int octave = 0;          // ... is an octave or two off
    int semitone = 0;        // ... is a semitone off
    int missed = 0;          // nothing reported
    int extra = 0;           // further reports that are not the note played
    int falseInSilence = 0;  // reports where only room sound is
    double silenceMinutes = 0;
    std::vector<double> latenciesMs;  // of right first reports, from the audible onset
    NoteScore& operator+=(const NoteScore& o);
};
struct Reported {
    int note = 0;
    double streamMs = 0;
};
NoteScore ScoreNotes(const NoteStream& stream, const std::vector<Reported>& reported,
                     const Layout& layout = {});
// Where the room is quiet again after the last note: its tail and the reverb have died away.
inline constexpr double kQuietAfterReleaseMs = 3000;

// A fixed shuffle of MIDI notes low..high.
std::vector<int> ShuffledNotes(int low, int high, unsigned seed);

// The rms of the held notes, which room sound is set against.
double HeldRms(const NoteStream& stream, const Layout& layout);
void AddPinkNoise(std::vector<float>& x, double rms, unsigned seed);
void AddWhiteNoise(std::vector<float>& x, double rms, unsigned seed);
// Mains hum at `hz` with its second and third harmonics 6 and 10 dB below the fundamental.
void AddHum(std::vector<float>& x, double rms, double hz);
double Rms(const std::vector<float>& x, std::size_t from, std::size_t to);
inline double DbToRatio(double db) {
    return std::pow(10.0, db / 20.0);
}

}  // namespace kalvintor::sound::material
