// The pitch exercises' shared vocabulary: modes, play styles, question notes, key context and
// root movements.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kalvintor::pitch {

// The six modes of the pitch exercise window, each instance fixed to one.
enum class ExerciseMode : std::uint8_t {
    Chord = 0,
    Inversion = 1,
    Interval = 2,
    Scale = 3,
    Melody = 4,
    Progression = 5
};

// How a question's notes are played (the values QueueNotes takes).
enum class PlayStyle : std::uint8_t {
    Together = 0,
    Up = 1,
    Down = 2,
    Rhythm = 4,  // melodies with their own note values
    UpHeld = 5,  // arpeggios that hold their notes
    DownHeld = 6,
};

constexpr bool isFalling(PlayStyle style) {
    return style == PlayStyle::Down || style == PlayStyle::DownHeld;
}

inline constexpr int kMaxQuestionNotes = 12;
inline constexpr int kMaxVoicedNotes = 36;
inline constexpr int kMaxProgressionChords = 12;

// End marks of byte 6.
inline constexpr std::uint8_t kEndOfChord = 1;  // progressions; melodies: the note ends a bar
inline constexpr std::uint8_t kEndOfQuestion = 2;
// Chord-tone flags of melody notes (byte 2).
inline constexpr std::uint8_t kNonChordTone = 10;
inline constexpr std::uint8_t kChordTone = 11;
// Note values of melodies (indices into the sequencer's note durations).
inline constexpr std::uint8_t kWholeNote = 1;
inline constexpr std::uint8_t kHalfNote = 2;
inline constexpr std::uint8_t kQuarterNote = 3;

// One note of a question or an answer.
struct QuestionNote {
    int pitch = 0;  // MIDI
    int spellOffset = 0;
    std::uint8_t extra = 0;         // chord type (progressions), chord-tone flag (melodies)
    std::uint8_t guitarString = 0;  // 1..6, 16 + n when assigned automatically, 0 none
    std::uint8_t noteValue = 0;     // melodies: 1 whole, 2 half, 3 quarter
    std::uint8_t beatWeight = 0;    // melodies: 2 strong, 1 weak, 0 medium
    std::uint8_t endMark = 0;
    std::uint8_t equalBefore = 0;  // answers: notes of equal pitch entered before this one
    std::uint8_t addedBass = 0;    // progressions: the added root bass

    friend bool operator==(const QuestionNote&, const QuestionNote&) = default;
};

// The key a question is spelled and drawn in.
struct KeyContext {
    int keySig = 0;
    bool minor = false;
    int tonicOffset = 0;

    friend bool operator==(const KeyContext&, const KeyContext&) = default;
};

// Root movements of the setup block: random, six cycles, a fixed tone or a fixed key.
namespace root_movement {
inline constexpr int kRandom = 0;
inline constexpr int kFifthUp = 3;
inline constexpr int kFifthDown = 4;
inline constexpr int kMinorThirdUp = 5;
inline constexpr int kMinorThirdDown = 6;
inline constexpr int kSecondUp = 7;
inline constexpr int kSecondDown = 8;
inline constexpr int kFirstSameTone = 11;  // C
inline constexpr int kLastSameTone = 22;   // B
inline constexpr int kFirstSameKey = 25;   // six flats
inline constexpr int kLastSameKey = 36;    // five sharps
inline constexpr int kSameKeyZero = 31;    // value of the key without signature
}  // namespace root_movement

// Any value outside the list reads as random.
int NormalizeRootMovement(int value);
constexpr bool isCyclic(int movement) {
    return movement >= 3 && movement <= 8;
}
constexpr bool isSameTone(int movement) {
    return movement >= root_movement::kFirstSameTone && movement <= root_movement::kLastSameTone;
}
constexpr bool isSameKey(int movement) {
    return movement >= root_movement::kFirstSameKey && movement <= root_movement::kLastSameKey;
}

// The roots a question may start on.
struct RootRange {
    int lowest = 0;
    int size = 0;
};

}  // namespace kalvintor::pitch
