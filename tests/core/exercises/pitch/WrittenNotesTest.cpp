// How questions are written: chosen cases in awkward keys, and a sweep over every key, built-in
// entry and root that checks the letters and accidentals of each question and that an answer by
// name is written the same way.
#include "PitchFixture.h"

#include "exercises/pitch/Answer.h"
#include "language/Language.h"
#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <cstdlib>
#include <set>
#include <sstream>

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;

namespace {

using WrittenNotes = SeededClock;

constexpr int kSameToneC = root_movement::kFirstSameTone;

std::string namesOf(const std::vector<QuestionNote>& notes) {
    std::string text;
    for (const auto& note : notes) {
        if (!text.empty() && text.back() != ' ') text += ' ';
        text += theory::NoteName(note.pitch, note.spellOffset);
        if (note.endMark == kEndOfChord) text += " |";
    }
    return text;
}

struct Question {
    ExerciseMode mode;
    PitchExercise exercise;
    int entry;
    int rootPitchClass;        // the same tone every question is drawn on
    bool falling = false;      // intervals: the falling arpeggio
    bool diatonic = false;     // intervals: diatonic roots
    int lowerPitchClass = -1;  // intervals with diatonic roots: the degree wanted
};

PitchExerciseState stateOf(const Question& q) {
    auto block = blockWith(q.exercise, {q.entry}, 60, 72, kSameToneC + q.rootPitchClass);
    block.playTogether = q.falling ? 0 : 1;
    block.arpeggioUp = 0;
    block.arpeggioDown = q.falling ? 1 : 0;
    block.option = q.diatonic ? 1 : 0;
    return stateFor(q.mode, block);
}

// The question's notes, or the progression's chords in root position.
std::string written(const Question& q) {
    auto state = stateOf(q);
    for (int i = 0; i < 400; ++i) {
        if (GenerateQuestion(state, theory::BuiltInCatalogue()) != GenerateResult::Generated) return "none";
        if (q.mode == ExerciseMode::Progression) return namesOf(state.voiced);
        if (q.lowerPitchClass < 0 || state.notes.front().pitch % 12 == q.lowerPitchClass)
            return namesOf(state.notes);
    }
    return "not drawn";
}

}  // namespace

TEST_F(WrittenNotes, AwkwardKeysAreWrittenAsMusiciansWriteThem) {
    using enum ExerciseMode;
    const auto chords = PitchExercise::Chords;
    const auto intervals = PitchExercise::Intervals;
    const auto scales = PitchExercise::Scales;
    const auto progressions = PitchExercise::Progressions;
    struct Case {
        Question question;
        const char* expected;
        const char* why;
    };
    const Case cases[] = {
        {{Progression, progressions, 6, 9}, "G# B D F | A C E", "VII dim7 of A minor stands on G sharp"},
        {{Progression, progressions, 6, 3}, "D F Ab Cb | Eb Gb Bb", "VII dim7 of E flat minor"},
        {{Progression, progressions, 6, 8}, "F## A# C# E | G# B D#", "the leading tone of G sharp minor"},
        {{Progression, progressions, 17, 6}, "Cb Eb Gb | Gb Bb Db", "IV of G flat major is C flat"},
        {{Progression, progressions, 5, 6}, "F Ab Cb Ebb | Gb Bb Db", "VII dim7 of G flat major"},
        {{Progression, progressions, 34, 3},
         "Eb Gb Bb | Cb Eb Gb | Db F Ab | Eb Gb Bb",
         "bVI of E flat minor"},
        {{Progression, progressions, 27, 6}, "G B Db F | Gb Bb Db F", "bII of G flat: G, not A double flat"},
        {{Progression, progressions, 27, 3}, "E G# Bb D | Eb G Bb D", "bII 7(b5) of E flat: E, not F flat"},
        {{Progression, progressions, 31, 1}, "A C# E | Db F Ab", "bVI of D flat: A, not B double flat"},
        {{Progression, progressions, 29, 3}, "Gb Bb Db | Eb G Bb", "bIII of E flat"},
        {{Chord, chords, 29, 2}, "Bb D G#", "Italian sixth in D"},
        {{Chord, chords, 30, 2}, "Bb D F G#", "German sixth in D"},
        {{Chord, chords, 31, 2}, "Bb D E G#", "French sixth in D"},
        {{Chord, chords, 28, 2}, "G Bb Eb", "Neapolitan sixth in D"},
        {{Chord, chords, 29, 6}, "D F# B#", "Italian sixth in F sharp, not G flat"},
        {{Chord, chords, 28, 6}, "B D G", "Neapolitan sixth in F sharp, not G flat"},
        {{Chord, chords, 11, 3}, "D# F# A C", "dim7 on D sharp, not E flat with two double flats"},
        {{Chord, chords, 1, 6}, "Gb Bb Db", "G flat major keeps its name"},
        {{Interval, intervals, 2, 6, false, true, 5}, "F Gb", "diatonic minor second on F in G flat"},
        {{Interval, intervals, 7, 6, false, true, 5}, "F Cb", "diatonic diminished fifth on F in G flat"},
        {{Interval, intervals, 7, 0}, "C Gb", "the catalogue's diminished fifth"},
        {{Interval, intervals, 25, 0, true}, "C C", "falling double octave"},
        {{Interval, intervals, 25, 6, true}, "Gb Gb", "falling double octave in G flat"},
        {{Interval, intervals, 2, 6, true}, "F Gb", "falling minor second from G flat"},
        {{Interval, intervals, 9, 4, true}, "G# E", "falling minor sixth from E"},
        {{Scale, scales, 11, 4}, "E F F# G G# A A# B C C# D D#", "chromatic scale in E"},
        {{Scale, scales, 11, 0}, "C C# D D# E F F# G G# A A# B", "chromatic scale on C keeps its sharps"},
        {{Scale, scales, 14, 0}, "C Eb F F# G Bb C", "the blues scale's F sharp"},
        {{Scale, scales, 15, 0}, "C D E F G Ab A B C", "the bebop scale's A flat"},
        {{Scale, scales, 15, 6}, "Gb Ab Bb Cb Db D Eb F Gb", "bebop in G flat: D, not E double flat"},
        {{Scale, scales, 10, 11}, "B C# D# F G A B", "whole-tone scale on B"},
        {{Scale, scales, 8, 11}, "G# A# B C# D# E F## G#", "harmonic minor keeps its letters"},
    };
    for (const auto& c : cases) EXPECT_EQ(written(c.question), c.expected) << c.why;
}

namespace {

// Letters counted from the lowest C, octaves included.
int letterOf(const QuestionNote& note) {
    return theory::LetterIndex(note.pitch, note.spellOffset);
}

bool sameClass(int a, int b, int modulus) {
    return theory::floorMod(a - b, modulus) == 0;
}

int storedLetters(const AnswerRow& row, int k) {
    return theory::LettersAboveC(row.relativePitch[static_cast<std::size_t>(k)] + theory::kMiddleC,
                                 row.spellOffset[static_cast<std::size_t>(k)]);
}

// Whether the notes, each moved one letter up or down with its pitch kept, would all be written
// with at most one accidental: a double accidental was then not needed.
bool plainerWritingExists(const std::vector<QuestionNote>& notes) {
    for (int shift : {-1, 1}) {
        bool plain = true;
        for (const auto& note : notes) {
            const int offset = theory::SpellAtLetters(note.pitch, note.pitch, note.spellOffset, shift);
            plain = plain && std::abs(offset) <= 1;
        }
        if (plain) return true;
    }
    return false;
}

bool hasDouble(const std::vector<QuestionNote>& notes) {
    for (const auto& note : notes)
        if (std::abs(note.spellOffset) == theory::kDoubleFlat) return true;
    return false;
}

void expectReadable(const std::vector<QuestionNote>& notes, const std::string& where) {
    for (const auto& note : notes) {
        const auto name = theory::NoteName(note.pitch, note.spellOffset);
        EXPECT_NE(name, "???") << where;
        EXPECT_NE(name.front(), ' ') << where;
    }
}

int distinctPitchClasses(const AnswerRow& row) {
    std::set<int> classes;
    for (int k = 0; k < row.count; ++k)
        classes.insert(theory::floorMod(row.relativePitch[static_cast<std::size_t>(k)], 12));
    return static_cast<int>(classes.size());
}

std::string describe(const PitchExerciseState& state, const std::vector<QuestionNote>& notes) {
    std::ostringstream text;
    text << "entry " << state.entry << " key " << state.key.keySig << (state.key.minor ? " minor" : "")
         << " offset " << state.key.tonicOffset << " style " << static_cast<int>(state.style) << ": "
         << namesOf(notes);
    return text.str();
}

// Letters of chords, intervals and scales as the catalogue has them; double accidentals only
// where the letters demand them.
void checkEntryQuestion(const PitchExerciseState& state) {
    const auto& row = state.row(state.entry);
    const auto& notes = state.notes;
    const std::string where = describe(state, notes);
    ASSERT_EQ(static_cast<int>(notes.size()), row.count) << where;
    expectReadable(notes, where);
    // Notes are in question order: a reversed scale starts with the entry's last note.
    auto source = [&](int k) { return state.reversed ? row.count - 1 - k : k; };
    for (int k = 0; k < row.count; ++k)
        EXPECT_EQ(letterOf(notes[static_cast<std::size_t>(k)]) - letterOf(notes.front()),
                  storedLetters(row, source(k)) - storedLetters(row, source(0)))
            << where;
    if (state.mode == ExerciseMode::Scale) {
        if (distinctPitchClasses(row) == 7) {
            for (const auto& note : notes) {
                if (note.pitch == state.root) {
                    EXPECT_LE(std::abs(note.spellOffset), 1) << where;
                }
            }
        }
        return;
    }
    if (hasDouble(notes)) {
        EXPECT_FALSE(plainerWritingExists(notes)) << where;
    }
}

void checkScaleWithoutLetters(const PitchExerciseState& state) {
    const auto& notes = state.notes;
    const std::string where = describe(state, notes);
    expectReadable(notes, where);
    EXPECT_FALSE(hasDouble(notes)) << where;
}

// Each chord written from its root's name; a root off the scale takes a plainer name where its
// chord would otherwise need double accidentals.
void checkProgression(const PitchExerciseState& state, const theory::CatalogueTable& chordTypes) {
    const std::string where = describe(state, state.voiced);
    expectReadable(state.voiced, where);
    expectReadable(state.chords, where);
    ASSERT_EQ(state.chordStarts.size(), state.chords.size()) << where;
    const int tonicSpelling = theory::SpellInKey(state.root, 0, 0, state.key.keySig);
    EXPECT_LE(std::abs(tonicSpelling), 1) << where;
    const int tonicLetter = theory::LetterIndex(state.root, tonicSpelling);
    for (std::size_t c = 0; c < state.chords.size(); ++c) {
        const auto& chord = state.chords[c];
        const auto& type = chordTypes.entry(chord.extra + 1);
        const std::size_t end = c + 1 < state.chords.size()
                                    ? static_cast<std::size_t>(state.chordStarts[c + 1])
                                    : state.voiced.size();
        std::vector<QuestionNote> tones(state.voiced.begin() + state.chordStarts[c],
                                        state.voiced.begin() + static_cast<std::ptrdiff_t>(end));
        for (const auto& tone : tones) {
            int stored = -1;
            for (int k = 0; k < type.noteCount(); ++k)
                if (sameClass(type.notes[static_cast<std::size_t>(k)].pitch - theory::kMiddleC + chord.pitch,
                              tone.pitch, 12))
                    stored = k;
            ASSERT_GE(stored, 0) << where;
            const auto& source = type.notes[static_cast<std::size_t>(stored)];
            const int letters = theory::LettersAboveC(source.pitch, source.spellOffset);
            EXPECT_TRUE(sameClass(letterOf(tone) - letterOf(chord), letters, 7)) << where;
            if (sameClass(tone.pitch, chord.pitch, 12) && letters == 0) {
                EXPECT_EQ(tone.spellOffset, chord.spellOffset) << "the root as named: " << where;
            }
        }
        const int semitones = theory::floorMod(chord.pitch - state.root, 12);
        if (theory::FlatSteps[static_cast<std::size_t>(semitones)].altered) {
            if (hasDouble(tones)) {
                EXPECT_FALSE(plainerWritingExists(tones)) << where;
            }
        } else {
            const int degree = theory::FlatSteps[static_cast<std::size_t>(semitones)].step;
            EXPECT_TRUE(sameClass(letterOf(chord) - tonicLetter, degree, 7))
                << "a degree of the key: " << where;
        }
    }
}

// The question's own entry named by its button is right, and written as the question is.
void checkAnswerByName(PitchExerciseState state, const theory::ChordCatalogue& catalogue) {
    const auto language = language::Language{};
    const JudgeContext context{IdentificationMode::ExactOctave, true};
    const auto question = state.mode == ExerciseMode::Progression ? state.chords : state.notes;
    const auto outcome = PreviewAnswer(state, state.entry, true, context, catalogue, language);
    ASSERT_TRUE(outcome.judgement.has_value());
    EXPECT_TRUE(outcome.judgement->right);
    const auto& answer = state.mode == ExerciseMode::Progression ? state.answer.chords : state.answer.notes;
    ASSERT_EQ(answer.size(), question.size());
    for (std::size_t k = 0; k < answer.size(); ++k)
        EXPECT_EQ(answer[k].spellOffset, question[k].spellOffset) << describe(state, question);
    EXPECT_EQ(outcome.judgement->label.find("spelling"), std::string::npos) << outcome.judgement->label;
}

}  // namespace

TEST_F(WrittenNotes, EveryKeyEntryAndRootIsWrittenByItsLetters) {
    const auto& catalogue = theory::BuiltInCatalogue();
    struct Table {
        ExerciseMode mode;
        PitchExercise exercise;
        int entries;
    };
    const Table tables[] = {
        {ExerciseMode::Chord, PitchExercise::Chords, 31},
        {ExerciseMode::Inversion, PitchExercise::Inversions, 26},
        {ExerciseMode::Interval, PitchExercise::Intervals, 25},
        {ExerciseMode::Scale, PitchExercise::Scales, 31},
        {ExerciseMode::Progression, PitchExercise::Progressions, 35},
    };
    auto check = [&catalogue](PitchExerciseState& state, const Table& table) {
        ASSERT_EQ(NewQuestion(state, catalogue), GenerateResult::Generated);
        if (table.mode == ExerciseMode::Progression)
            checkProgression(state, catalogue.chordTypes());
        else if (table.mode == ExerciseMode::Scale && distinctPitchClasses(state.row(state.entry)) != 7)
            checkScaleWithoutLetters(state);
        else
            checkEntryQuestion(state);
        checkAnswerByName(state, catalogue);
    };
    for (const auto& table : tables) {
        for (int entry = 1; entry <= table.entries; ++entry) {
            for (int variant = 0; variant < 4; ++variant) {
                const bool falling = (variant & 1) != 0;
                const bool diatonic = (variant & 2) != 0;
                if (diatonic && table.mode != ExerciseMode::Interval) continue;
                // Every root as the same tone (intervals then in major keys, on every degree
                // that diatonic roots may choose)...
                for (int pc = 0; pc < 12; ++pc) {
                    auto state = stateOf({table.mode, table.exercise, entry, pc, falling, diatonic});
                    for (int draw = 0; draw < (diatonic ? 7 : 1); ++draw) check(state, table);
                    if (HasFailure()) return;
                }
                // ...and random roots, which give intervals minor keys too.
                auto state = stateOf({table.mode, table.exercise, entry, 0, falling, diatonic});
                state.options.rootMovement = root_movement::kRandom;
                for (int draw = 0; draw < 24; ++draw) check(state, table);
                if (HasFailure()) return;
            }
        }
    }
}

TEST_F(WrittenNotes, AnswerChordsClickedOnTheQuestionsRootsAreWrittenAsTheQuestion) {
    const auto& catalogue = theory::BuiltInCatalogue();
    for (int entry = 1; entry <= 35; ++entry) {
        for (int pc = 0; pc < 12; ++pc) {
            auto state = stateOf({ExerciseMode::Progression, PitchExercise::Progressions, entry, pc});
            ASSERT_EQ(NewQuestion(state, catalogue), GenerateResult::Generated);
            for (std::size_t k = 0; k < state.chords.size(); ++k) {
                SetAnswerChordType(state, state.chords[k].extra, catalogue);
                SetAnswerChordRoot(state, state.chords[k].pitch, false, catalogue);
                ASSERT_EQ(state.answer.chords[k].spellOffset, state.chords[k].spellOffset)
                    << "entry " << entry << " on " << pc << " chord " << k;
            }
        }
    }
}

TEST_F(WrittenNotes, AnyEntryChosenByNameIsReadableOnTheQuestion) {
    const auto& catalogue = theory::BuiltInCatalogue();
    struct Table {
        ExerciseMode mode;
        PitchExercise exercise;
        int entries;
    };
    const Table tables[] = {
        {ExerciseMode::Chord, PitchExercise::Chords, 31},
        {ExerciseMode::Interval, PitchExercise::Intervals, 25},
        {ExerciseMode::Scale, PitchExercise::Scales, 31},
    };
    const auto language = language::Language{};
    for (const auto& table : tables) {
        std::vector<int> all;
        for (int entry = 1; entry <= table.entries; ++entry) all.push_back(entry);
        for (int pc = 0; pc < 12; ++pc) {
            auto block = blockWith(table.exercise, {}, 60, 72, kSameToneC + pc);
            for (int entry : all) block.entryEnabled[static_cast<std::size_t>(entry - 1)] = 1;
            auto state = stateFor(table.mode, block);
            ASSERT_EQ(NewQuestion(state, catalogue), GenerateResult::Generated);
            for (int entry : all) {
                PreviewAnswer(state, entry, false, JudgeContext{}, catalogue, language);
                expectReadable(state.answer.notes, "entry " + std::to_string(entry) + " on " +
                                                       describe(state, state.notes) + " answered " +
                                                       namesOf(state.answer.notes));
            }
            if (HasFailure()) return;
        }
    }
}
