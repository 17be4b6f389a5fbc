// Judging taps against a rhythm: matching each tap to a note, marking the notes and scoring.
#pragma once

#include "exercises/rhythm/RhythmNote.h"
#include "exercises/rhythm/RhythmSetup.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::rhythm {

// Tolerance windows by strictness, in milliseconds; a deviation below an eighth of it is exact.
inline constexpr int kWindowKind = 1000;
inline constexpr int kWindowNormal = 330;
inline constexpr int kWindowSevere = 100;
int judgingWindow(Strictness strictness);

// Scores run on a scale of 10000 before they become a percentage.
inline constexpr int kFullScale = 10000;
inline constexpr int kExtraTapCost = 5000;
// A tap that stands in for "no next tap" when the last tap is matched.
inline constexpr std::int64_t kSentinelTap = 0xFFFFFF;

// The message shown after judging, by its text id.
enum class EvaluationMessage {
    None = 0,  // no taps
    Perfect = 811,
    Passed = 812,
    MostlyHit = 813,  // fewer than one note in ten missed
    SomeHit = 814,    // a format with the notes hit and the notes judged
    AllMissed = 816,
};

struct TapTimes {
    const std::vector<std::int64_t>* taps = nullptr;  // on the millisecond clock
    std::int64_t zero = 0;                            // tap time zero (the rhythm's first note)
    int tempo = kDefaultTempo;                        // in force when tapping began
};

struct Evaluation {
    int score = 0;  // 0..100
    int extraTaps = 0;
    int missed = 0;
    int excluded = 0;                        // rests and notes tied from the one before
    int judged = 0;                          // notes - excluded
    int hit = 0;                             // judged - missed
    std::vector<std::int64_t> relativeTaps;  // tap times since the rhythm's first note
    EvaluationMessage message = EvaluationMessage::None;
};

// Tap times since the rhythm's first note: a rhythm that begins with a whole-bar rest counts from
// one bar (`barLength` ticks) before tap time zero.
std::vector<std::int64_t> RelativeTaps(const TapTimes& taps, bool startsWithBarRest, int barLength);

// Matches the taps to the sounding notes of `voice` and sets every note's mark. `barLength` is
// the ticks of a bar: a rhythm that begins with a whole-bar rest is judged from one bar earlier.
Evaluation EvaluateTaps(Voice& voice, const TapTimes& taps, Strictness strictness, bool startsWithBarRest,
                        int barLength, int passThreshold);

// The text of an evaluation's message from the language (design-time English where it has none).
std::string EvaluationText(const Evaluation& evaluation, const language::Language* language);

// Replaces successive "%d" of a format with the numbers; further directives stay as written.
std::string FormatIntegers(const std::string& format, std::initializer_list<int> numbers);

}  // namespace kalvintor::rhythm
