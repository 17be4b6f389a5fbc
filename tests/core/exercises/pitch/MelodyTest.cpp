// Melody questions over thousands of seeds: limits, ambitus, repeats, rhythm and bars.
#include "PitchFixture.h"

#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

using Melodies = SeededClock;

PitchExerciseState melodyState(const MelodySetup& melody) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Melody;
    ApplyMelodySetup(state, melody, true, true);
    return state;
}

MelodySetup setup(int length, int leap, int ambitus, int type, bool rhythm, int lower = 55, int upper = 79) {
    MelodySetup m;
    m.length = static_cast<std::uint8_t>(length);
    m.largestLeap = static_cast<std::uint8_t>(leap);
    m.ambitus = static_cast<std::uint8_t>(ambitus);
    m.melodyType = static_cast<std::uint8_t>(type);
    m.rhythm = rhythm ? 1 : 0;
    m.keys.fill(1);
    m.lowerLimit = static_cast<std::uint8_t>(lower);
    m.upperLimit = static_cast<std::uint8_t>(upper);
    return m;
}

int letterStep(const QuestionNote& note) {
    const int natural = note.pitch + note.spellOffset;
    return 7 * theory::floorDiv(natural, 12) +
           theory::FlatSteps[static_cast<std::size_t>(theory::floorMod(natural, 12))].step;
}

int barTicks(std::uint8_t value) {
    return value == kWholeNote ? 2688 : value == kHalfNote ? 1344 : 672;
}

}  // namespace

TEST_F(Melodies, StayInsideTheLimitsNeverRepeatThreeTimesAndFillTheirBars) {
    const MelodySetup setups[] = {
        setup(5, 2, 3, 0, true),  setup(7, 3, 5, 5, true),    setup(11, 4, 7, 8, true),
        setup(9, 2, 4, 11, true), setup(11, 7, 7, 16, false), setup(6, 1, 2, 2, true),
        setup(8, 3, 6, 9, true),  setup(10, 5, 7, 10, true),
    };
    for (const auto& m : setups) {
        auto state = melodyState(m);
        int failures = 0;
        for (int i = 0; i < 500; ++i) {
            if (GenerateQuestion(state, theory::BuiltInCatalogue()) != GenerateResult::Generated) {
                ++failures;
                continue;
            }
            const auto& notes = state.notes;
            ASSERT_EQ(static_cast<int>(notes.size()), m.length);
            int position = 0;
            for (std::size_t k = 0; k < notes.size(); ++k) {
                ASSERT_GE(notes[k].pitch, m.lowerLimit);
                ASSERT_LE(notes[k].pitch, m.upperLimit);
                if (k >= 2) {
                    ASSERT_FALSE(notes[k].pitch == notes[k - 1].pitch &&
                                 notes[k].pitch == notes[k - 2].pitch);
                }
                const int start = position % 2688;
                position += barTicks(notes[k].noteValue);
                ASSERT_LE(start + barTicks(notes[k].noteValue), 2688)
                    << "note " << k << " crosses a bar line";
                ASSERT_EQ(notes[k].endMark != 0, position % 2688 == 0);
            }
            ASSERT_EQ(position % 2688, 0) << "type " << int(m.melodyType);
            ASSERT_EQ(notes.back().beatWeight, 2);
            if (m.melodyType != melody_types::kChromatic && m.melodyType != melody_types::kWholeTone) {
                // Leaps in scale steps, counted on the written letters.
                for (std::size_t k = 1; k < notes.size(); ++k)
                    ASSERT_LE(std::abs(letterStep(notes[k]) - letterStep(notes[k - 1])), m.largestLeap)
                        << "type " << int(m.melodyType) << " note " << k;
            }
            if (m.melodyType == melody_types::kChromatic) {
                const auto [low, high] = std::minmax_element(
                    notes.begin(), notes.end(), [](auto& a, auto& b) { return a.pitch < b.pitch; });
                ASSERT_LE(high->pitch - low->pitch, theory::StepSemitones(m.ambitus));
            }
        }
        // Over a progression the chord tones narrow the walk: now and then no melody fits.
        EXPECT_LE(failures, m.melodyType >= melody_types::kFirstProgression ? 25 : 0)
            << "type " << int(m.melodyType) << " length " << int(m.length);
    }
}

TEST_F(Melodies, TheAmbitusBoundsTheSpanInScaleSteps) {
    // In C major only (C/a enabled), scale steps are letter steps.
    for (int ambitus = 1; ambitus <= 7; ++ambitus) {
        auto m = setup(9, 2, ambitus, 0, false, 48, 84);
        m.keys.fill(0);
        m.keys[6] = 1;
        auto state = melodyState(m);
        for (int i = 0; i < 300; ++i) {
            ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
            EXPECT_EQ(state.key.keySig, 0);
            int low = 1000, high = -1000;
            for (const auto& n : state.notes) {
                const int natural = n.pitch + n.spellOffset;
                const int step =
                    7 * theory::floorDiv(natural, 12) +
                    theory::FlatSteps[static_cast<std::size_t>(theory::floorMod(natural, 12))].step;
                low = std::min(low, step);
                high = std::max(high, step);
                ASSERT_EQ(n.spellOffset, 0);
            }
            ASSERT_LE(high - low, ambitus);
        }
    }
}

TEST_F(Melodies, WithoutRhythmEveryNoteIsWholeWithRepeatingWeights) {
    auto state = melodyState(setup(6, 2, 3, 0, false));
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    std::vector<int> weights;
    for (const auto& n : state.notes) {
        EXPECT_EQ(n.noteValue, kWholeNote);
        weights.push_back(n.beatWeight);
    }
    EXPECT_EQ(weights, (std::vector<int>{2, 1, 0, 1, 2, 2}));
    EXPECT_EQ(state.style, PlayStyle::Up);
}

TEST_F(Melodies, ASingleNoteLiesWithinSixStepsOfTheTonic) {
    auto m = setup(1, 2, 3, 0, false, 48, 84);
    m.keys.fill(0);
    m.keys[6] = 1;
    auto state = melodyState(m);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
        ASSERT_EQ(state.notes.size(), 1u);
        const int tonic = state.root;
        const int pitch = state.notes.front().pitch;
        ASSERT_GE(pitch, tonic - 10);  // six steps below C is D
        ASSERT_LE(pitch, tonic + 11);  // six steps above C is B
        seen.insert(pitch - tonic);
    }
    EXPECT_EQ(seen.size(), 13u);
}

TEST_F(Melodies, MinorTypesSetTheMinorFlagAndModesTheirTonic) {
    for (int type = 0; type <= 16; ++type) {
        auto state = melodyState(setup(5, 2, 4, type, false));
        ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated) << type;
        const bool minor = type == 5 || type == 7 || type == 8 || type == 15 || type == 16;
        EXPECT_EQ(state.key.minor, minor) << type;
        if (type == 2) {
            EXPECT_EQ(state.key.tonicOffset, 4) << "Phrygian starts on E";
        }
        if (type == 9 || type == 10) {
            EXPECT_FALSE(state.options.playTonic);
            EXPECT_FALSE(state.options.showKeySignature);
            // No scale of a key: black keys as an instrument enters them, flats in the whole-tone
            // melody and sharps in the chromatic one; never a blank letter or B for B flat.
            for (const auto& n : state.notes) {
                EXPECT_EQ(n.spellOffset, theory::DefaultSpelling(n.pitch, type == 10 ? 1 : 0));
                EXPECT_NE(theory::NoteName(n.pitch, n.spellOffset).front(), ' ');
            }
        }
    }
}

TEST_F(Melodies, EveryTypeInEveryKeyIsWrittenInItsKey) {
    for (int type = 0; type <= melody_types::kLast; ++type) {
        for (int keySig = kFirstMelodyKeySig; keySig < kFirstMelodyKeySig + kMelodyKeyCount; ++keySig) {
            auto m = setup(8, 3, 5, type, false);
            m.keys.fill(0);
            m.keys[static_cast<std::size_t>(keySig - kFirstMelodyKeySig)] = 1;
            auto state = melodyState(m);
            for (int i = 0; i < 10; ++i) {
                if (GenerateQuestion(state, theory::BuiltInCatalogue()) != GenerateResult::Generated)
                    continue;
                for (const auto& n : state.notes) {
                    const auto name = theory::NoteName(n.pitch, n.spellOffset);
                    ASSERT_NE(name, "???") << "type " << type << " key " << keySig;
                    ASSERT_NE(name.front(), ' ') << "type " << type << " key " << keySig;
                    // Scales and chords of the key itself: every note as the key writes it (the
                    // minor scales' raised notes lie outside it).
                    const bool keyScale = type <= 6 || type >= melody_types::kFirstProgression;
                    if (keyScale) {
                        ASSERT_EQ(n.spellOffset, theory::SpellInKey(n.pitch, 0, 0, keySig))
                            << "type " << type << " key " << keySig << " pitch " << n.pitch;
                    }
                }
            }
        }
    }
}

TEST_F(Melodies, AnImpossibleMelodyFailsAndKeepsTheOldQuestion) {
    auto state = melodyState(setup(5, 2, 3, 0, false));
    ASSERT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::Generated);
    const auto old = state.notes;
    auto narrow = setup(5, 2, 3, 0, false, 61, 61);  // a black key only, major keys without it
    narrow.keys.fill(0);
    narrow.keys[6] = 1;
    state.melody = narrow;
    EXPECT_EQ(GenerateQuestion(state, theory::BuiltInCatalogue()), GenerateResult::MelodyFailed);
    EXPECT_EQ(state.notes, old);
    EXPECT_EQ(state.noteCount, 5);
}

TEST_F(Melodies, OutOfRangeSettingsAreClamped) {
    auto m = setup(40, 0, 200, 99, true, 90, 40);
    m.keys.fill(0);
    auto state = melodyState(m);
    for (int i = 0; i < 50; ++i) {
        const auto result = GenerateQuestion(state, theory::BuiltInCatalogue());
        if (result == GenerateResult::Generated) {
            ASSERT_LE(state.notes.size(), 11u);
            for (const auto& n : state.notes) {
                ASSERT_GE(n.pitch, 40);
                ASSERT_LE(n.pitch, 90);
            }
        }
    }
}
