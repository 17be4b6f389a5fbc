// Playing a pitch question through the MIDI output: the tonic or cadence, the melody count-in,
// the question or the answer, and the notifications the window reacts to.
#pragma once

#include "exercises/pitch/ExerciseState.h"
#include "exercises/pitch/IntervalComparison.h"
#include "settings/SettingRecord.h"
#include "sound/TMidiOut.h"

namespace kalvintor::pitch {

enum class PlayKind { NewQuestion = 1, Repeat = 2, Answer = 3, TonicOnly = 4 };

// Notification codes the pitch exercise window receives while a question plays.
namespace play_codes {
inline constexpr std::uint16_t kShowUpperBaseTone = 51;
inline constexpr std::uint16_t kReleaseShownTone = 52;
inline constexpr std::uint16_t kShowFirstTone = 53;
inline constexpr std::uint16_t kPlaybackFinished = 55;
}  // namespace play_codes

// Lengths of the tonic reference, in ticks.
namespace tonic_ticks {
inline constexpr std::int32_t kBaseTone = 1008;
inline constexpr std::int32_t kRest = 1344;
inline constexpr std::int32_t kLongChord = 1344;
inline constexpr std::int32_t kShortChord = 672;
inline constexpr std::int32_t kBar = 2688;
inline constexpr std::int32_t kBaseTonesStart = 3360;  // where the question starts after base tones
inline constexpr std::int32_t kCadenceStart = 2688;    // where the count-in starts after a cadence
}  // namespace tonic_ticks

struct PlayOutcome {
    int shownTonic = 0;  // the tonic shown at once while base tones play, 0 = none
};

// Stops the sequencer, queues what the kind plays and starts it. guitarSound: the guitar is the
// answer instrument, so its sound plays (an octave lower unless the guitar-octave setting is on).
PlayOutcome PlayQuestion(PitchExerciseState& state, PlayKind kind, sound::TMidiOut& midiOut,
                         const settings::Settings& settings, bool guitarSound);

// Interval comparison: A, a pause (400 ticks for a new question, 800 for a repeat), B, with the
// notifications that light the panels (41 after A, 42 after B, 45 at the end).
namespace comparison_codes {
inline constexpr std::uint16_t kAFinished = 41;
inline constexpr std::uint16_t kBFinished = 42;
inline constexpr std::uint16_t kPlaybackFinished = 45;
}  // namespace comparison_codes
inline constexpr std::int32_t kComparisonPause = 400;
inline constexpr std::int32_t kComparisonRepeatPause = 800;
void PlayComparison(const IntervalComparisonState& state, bool repeat, sound::TMidiOut& midiOut);
// After answering, a button replays its interval alone.
void PlayComparedInterval(const IntervalComparisonState& state, ComparisonChoice which,
                          sound::TMidiOut& midiOut);

// The tonic the reference plays for a question whose first note is `firstNote`: in the octave
// reaching down from that note.
int TonicFor(const KeyContext& key, int firstNote);

}  // namespace kalvintor::pitch
