// The three shipped levels. Each starts from the built-in default setup and changes what a level
// of difficulty changes: how many and how alike the chords, intervals and scales are, how they are
// played, the pitch range, and for rhythms the meters, note values and tempo.
#include "Levels.h"

#include "Blocks.h"

#include <initializer_list>

namespace kalvintor::setupgen {
namespace {

using pitch::PitchExercise;
using pitch::SetupBlock;
using rhythm::RhythmExercise;

enum class Level { Beginner, Intermediate, Advanced };

// Chord types: 1 major, 2 minor, 3 diminished, 4 augmented, 6 sus4, 7 dominant seventh ... 17.
// Inversions: three per triad (1-9), four per seventh chord (10-25).
// Intervals: entry n spans n - 1 semitones; 14-20 are the compound intervals up to the twelfth.
// Scales: 1 major, 6 natural minor, 8 harmonic, 9 melodic minor, 12-14 pentatonic and blues.
// Progressions: 1 V-I, 3 V7-I, 8 IV-V-I, 10 ii-V-I, 17 IV-I, 26 vi-I; 1-16 the cadences.
void setPitchExercises(setup::SetupRecord& record, Level level) {
    switch (level) {
        case Level::Beginner:
            setPitch(record, PitchExercise::Chords, {{1, 2}, {true, true, false}, 55, 72});
            setPitch(record, PitchExercise::Inversions, {{1, 2, 3}, {true, true, false}, 55, 72});
            setPitch(record, PitchExercise::Intervals, {{3, 5, 8, 13}, {false, true, false}, 55, 72});
            setPitch(record, PitchExercise::IntervalComparison, {{3, 8, 13}, {false, true, false}, 55, 67});
            setPitch(record, PitchExercise::Scales, {{1, 6}, {false, true, false}, 55, 72});
            setPitch(record, PitchExercise::Progressions, {{1, 17}, {true, false, false}, 55, 67});
            break;
        case Level::Intermediate:
            setPitch(record, PitchExercise::Chords, {{1, 2, 3, 4, 6, 7}, {true, true, true}, 53, 72});
            setPitch(record, PitchExercise::Inversions,
                     {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {true, true, false}, 53, 72});
            setPitch(record, PitchExercise::Intervals,
                     {{3, 4, 5, 6, 8, 9, 10, 13}, {false, true, true}, 53, 72});
            setPitch(record, PitchExercise::IntervalComparison,
                     {{3, 5, 6, 8, 10, 13}, {true, true, false}, 53, 69});
            setPitch(record, PitchExercise::Scales, {{1, 6, 8, 12, 13}, {false, true, true}, 53, 72});
            setPitch(record, PitchExercise::Progressions,
                     {{1, 3, 8, 10, 17, 26}, {true, false, false}, 53, 69});
            break;
        case Level::Advanced:
            setPitch(
                record, PitchExercise::Chords,
                {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, {true, true, true}, 48, 76});
            setPitch(
                record, PitchExercise::Inversions,
                {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
                 {true, true, true},
                 48,
                 76});
            setPitch(record, PitchExercise::Intervals,
                     {{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
                      {true, true, true},
                      48,
                      76});
            setPitch(record, PitchExercise::IntervalComparison,
                     {{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {true, true, true}, 48, 72});
            setPitch(record, PitchExercise::Scales,
                     {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, {false, true, true}, 48, 76});
            setPitch(record, PitchExercise::Progressions,
                     {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {true, false, false}, 48, 72});
            break;
    }

    // Comparing intervals from one common tone is the easier task.
    SetupBlock comparison = record.pitchBlock(static_cast<int>(PitchExercise::IntervalComparison));
    comparison.showKeySignature = level == Level::Advanced ? 0 : 1;
    record.setPitchBlock(static_cast<int>(PitchExercise::IntervalComparison), comparison);

    // Progressions: root position for beginners, the last chord in root position, then any inversion.
    SetupBlock progressions = record.pitchBlock(static_cast<int>(PitchExercise::Progressions));
    const auto inversions = level == Level::Beginner       ? pitch::InversionMode::AllRootPosition
                            : level == Level::Intermediate ? pitch::InversionMode::LastRootPosition
                                                           : pitch::InversionMode::Random;
    progressions.option = SetupBlock::progressionOption(inversions, level == Level::Beginner);
    record.setPitchBlock(static_cast<int>(PitchExercise::Progressions), progressions);
}

// All three rhythm exercises take the same level.
void setRhythm(setup::SetupRecord& record, const RhythmLevel& level) {
    for (auto exercise : {RhythmExercise::Imitation, RhythmExercise::Reading, RhythmExercise::Correction})
        setupgen::setRhythm(record, exercise, level);
}

void setRhythmExercises(setup::SetupRecord& record, Level level) {
    using rhythm::Strictness;
    switch (level) {
        case Level::Beginner:
            setRhythm(record, {{4}, {2, 3}, 70, 1, false, false, false, 0, 1, Strictness::Kind});
            break;
        case Level::Intermediate:
            setRhythm(record, {{2, 3, 4}, {2, 3, 4}, 90, 2, true, true, false, 0, 1, Strictness::Normal});
            break;
        case Level::Advanced:
            setRhythm(record, {{2, 3, 4, 6},
                               {2, 3, 4, 5},
                               110,
                               2,
                               true,
                               true,
                               true,
                               rhythm::tripletBit(4),
                               2,
                               Strictness::Normal});
            break;
    }
}

// Melodies: length in notes, largest leap and range in scale steps (1 second .. 7 octave), keys
// by their number of sharps (+) or flats (-).
void setMelody(setup::SetupRecord& record, Level level) {
    pitch::MelodySetup melody = record.melodyBlock();
    auto keys = [&melody](std::initializer_list<int> keySigs) {
        melody.keys.fill(0);
        for (int k : keySigs) melody.keys[static_cast<std::size_t>(k - pitch::kFirstMelodyKeySig)] = 1;
    };
    switch (level) {
        case Level::Beginner:
            melody.length = 4;
            melody.largestLeap = 2;
            melody.ambitus = 4;
            melody.melodyType = 0;
            keys({0});
            melody.lowerLimit = 60;
            melody.upperLimit = 72;
            break;
        case Level::Intermediate:
            melody.length = 6;
            melody.largestLeap = 4;
            melody.ambitus = 6;
            melody.melodyType = 0;
            keys({-1, 0, 1});
            melody.lowerLimit = 57;
            melody.upperLimit = 74;
            break;
        case Level::Advanced:
            melody.length = 8;
            melody.largestLeap = 7;
            melody.ambitus = 7;
            melody.melodyType = 5;  // natural minor
            keys({-3, -2, -1, 0, 1, 2, 3});
            melody.lowerLimit = 55;
            melody.upperLimit = 79;
            break;
    }
    record.setMelodyBlock(melody);
}

setup::SetupRecord levelSetup(Level level) {
    setup::SetupRecord record = setup::DefaultSetup();
    setPitchExercises(record, level);
    setRhythmExercises(record, level);
    setMelody(record, level);
    record.stampHeader();
    return record;
}

}  // namespace

std::vector<ShippedSetup> ShippedSetups() {
    setup::SetupRecord defaults = setup::DefaultSetup();
    defaults.stampHeader();
    return {
        {"Default_level.lvs", defaults},
        {"Beginner.lvs", levelSetup(Level::Beginner)},
        {"Intermediate.lvs", levelSetup(Level::Intermediate)},
        {"Advanced.lvs", levelSetup(Level::Advanced)},
    };
}

}  // namespace kalvintor::setupgen
