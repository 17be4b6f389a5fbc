// Turning a position on the screen piano or guitar, a MIDI key or a sung pitch into an answer note.
#pragma once

#include "exercises/pitch/ExerciseState.h"

#include <array>
#include <optional>
#include <span>

namespace kalvintor::pitch {

// Screen piano: from F (41), 22 pixels per white key, 154 per octave, 4 to 6 octaves.
inline constexpr int kPianoLowestKey = 41;
inline constexpr int kPianoWhiteKeyWidth = 22;
inline constexpr int kPianoOctaveWidth = 154;
int PianoOctaves(int panelWidth);
int PianoHighestKey(int octaves);
// The key under x (pixels from the keyboard's left edge); inBlackZone when y lies in the upper
// part where the black keys are. Nothing outside 41..the highest key.
std::optional<int> PianoPitchAt(int x, bool inBlackZone, int octaves);

// Screen guitar: six strings; fret 0 left of x = 65, else the first fret line right of x.
inline constexpr int kGuitarNutX = 65;
inline constexpr int kGuitarFretLines = 24;
// 1, 2 or 3 by the guitar panel's width; the frets shown are 4 x class + 8.
int GuitarWidthClass(int panelWidth);
// fretLines: the x of the 24 fret lines from left to right. Written pitch, or nothing beyond the
// frets shown or outside 52..(84 + 4 x class).
std::optional<int> GuitarPitchAt(int x, int y, int panelWidth, int panelHeight,
                                 std::span<const int> fretLines);

// A pitch from an instrument becomes a note spelled by default in the question's key and raised
// by the display shift.
QuestionNote InstrumentNote(const PitchExerciseState& state, int shownPitch);

// MIDI keyboard.
struct MidiKeyboardState {
    int heldKeys = 0;
};
enum class MidiKeyAction { Ignored, Entered, Refused, Released };
struct MidiKeyOutcome {
    MidiKeyAction action = MidiKeyAction::Ignored;
    bool checkNow = false;  // auto answer: the answer is complete
};
// A note-on (velocity > 0) or note-off. guitarSound: the guitar sound is in use, so keys are
// accepted an octave lower and entered an octave higher (the guitar's written pitch).
MidiKeyOutcome MidiNote(PitchExerciseState& state, MidiKeyboardState& keyboard, int pitch, bool on,
                        bool guitarSound);
// The sustain pedal: a new question once answered, else the answer is checked.
enum class PedalAction { NewQuestion, CheckAnswer };
PedalAction SustainPedal(const PitchExerciseState& state);

// The microphone: the last four detected pitches; a value is taken when three of the four stored
// ones are empty or lie within 4 semitones of it, otherwise the previous stable pitch stays.
inline constexpr int kSilence = 35;
class MicrophoneRing {
public:
    int Feed(int pitch);
    int Stable() const { return stable_; }

private:
    std::array<int, 4> ring_{};
    std::size_t oldest_ = 0;
    int stable_ = 0;
};
enum class MicrophoneAction { None, Held, Released };
// Feeds a detected pitch: a stable pitch becomes the held note (shown, entered with Insert), a
// stable silence releases a note the microphone held.
MicrophoneAction MicrophonePitch(PitchExerciseState& state, MicrophoneRing& ring, int detected);

// The sung notes that can be an answer: what the shown instruments can show, raised by the display
// shift as a sung note is lowered by it. The detector ignores pitches outside.
struct SungRange {
    int low = 0;
    int high = 0;
    friend bool operator==(const SungRange&, const SungRange&) = default;
};
SungRange MicrophoneRange(const PitchExerciseState& state);

}  // namespace kalvintor::pitch
