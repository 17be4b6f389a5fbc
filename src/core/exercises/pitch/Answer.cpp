// Answer notes: adding and removing them, the label that names them, and answering by name.
#include "exercises/pitch/Answer.h"

#include "exercises/pitch/Generation.h"
#include "exercises/pitch/QuestionSpelling.h"
#include "language/Language.h"
#include "theory/Guitar.h"
#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>

namespace kalvintor::pitch {

using theory::floorDiv;
using theory::floorMod;

namespace {

inline constexpr int kBarTicks = 2688;

int ticksOf(std::uint8_t value) {
    return value == kWholeNote ? kBarTicks : value == kHalfNote ? kBarTicks / 2 : kBarTicks / 4;
}

int occurrences(const std::vector<QuestionNote>& notes, int pitch) {
    return static_cast<int>(
        std::count_if(notes.begin(), notes.end(), [pitch](const auto& n) { return n.pitch == pitch; }));
}

void renumberEqualPitches(std::vector<QuestionNote>& notes) {
    for (std::size_t i = 0; i < notes.size(); ++i) {
        int before = 0;
        for (std::size_t k = 0; k < i; ++k) before += notes[k].pitch == notes[i].pitch ? 1 : 0;
        notes[i].equalBefore = static_cast<std::uint8_t>(before);
    }
}

void spreadAnswerStrings(PitchExerciseState& state) {
    auto& notes = state.answer.notes;
    if (notes.size() <= 6 && state.mode != ExerciseMode::Scale && state.mode != ExerciseMode::Melody)
        SpreadGuitarStrings(notes, state.displayShift, state.instruments.guitarWidthClass);
}

void markAnswerBars(std::vector<QuestionNote>& notes) {
    int position = 0;
    for (auto& note : notes) {
        position += ticksOf(note.noteValue);
        note.endMark = position % kBarTicks == 0 ? kEndOfChord : 0;
    }
}

bool sortedByPitch(ExerciseMode mode) {
    return mode == ExerciseMode::Chord || mode == ExerciseMode::Inversion || mode == ExerciseMode::Interval ||
           mode == ExerciseMode::Progression;
}

bool everyQuestionNoteEntered(const PitchExerciseState& state) {
    const auto& answer = state.answer.notes;
    if (state.notes.empty() || answer.size() < state.notes.size()) return false;
    for (std::size_t k = 0; k < state.notes.size(); ++k)
        if (answer[k].pitch != state.notes[k].pitch) return false;
    return true;
}

}  // namespace

int DuplicateLimit(ExerciseMode mode) {
    switch (mode) {
        case ExerciseMode::Interval:
            return 2;
        case ExerciseMode::Melody:
            return 5;
        default:
            return 1;
    }
}

AddOutcome AddAnswerNote(PitchExerciseState& state, QuestionNote note, bool remove, int position) {
    auto& notes = state.answer.notes;
    AddOutcome outcome;
    if (remove) {
        std::ptrdiff_t index = -1;
        if (position >= 1 && position <= static_cast<int>(notes.size())) {
            index = position - 1;
        } else if (position == 0) {
            for (std::size_t i = notes.size(); i-- > 0;) {
                if (notes[i].pitch == note.pitch) {
                    index = static_cast<std::ptrdiff_t>(i);
                    break;
                }
            }
        }
        if (index < 0) return outcome;
        const int pitch = notes[static_cast<std::size_t>(index)].pitch;
        if (state.firstTonePitch != 0 && pitch == state.firstTonePitch && occurrences(notes, pitch) == 1)
            return outcome;
        notes.erase(notes.begin() + index);
        renumberEqualPitches(notes);
        spreadAnswerStrings(state);
        if (state.mode == ExerciseMode::Melody && state.options.rhythm) markAnswerBars(notes);
        outcome.changed = true;
        return outcome;
    }
    const int already = occurrences(notes, note.pitch);
    if (already >= DuplicateLimit(state.mode) || static_cast<int>(notes.size()) >= kMaxQuestionNotes)
        return outcome;
    note.extra = 0;
    note.beatWeight = 0;
    note.endMark = 0;
    note.addedBass = 0;
    note.equalBefore = static_cast<std::uint8_t>(already);
    auto at = notes.end();
    if (position >= 1) {
        at =
            notes.begin() + std::min<std::ptrdiff_t>(position - 1, static_cast<std::ptrdiff_t>(notes.size()));
    } else if (sortedByPitch(state.mode)) {
        at = std::upper_bound(notes.begin(), notes.end(), note.pitch,
                              [](int pitch, const QuestionNote& n) { return pitch < n.pitch; });
    }
    notes.insert(at, note);
    renumberEqualPitches(notes);
    if (state.mode == ExerciseMode::Melody && state.options.rhythm) markAnswerBars(notes);
    spreadAnswerStrings(state);
    outcome.changed = true;
    outcome.checkNow = state.options.autoAnswer && !state.answered && everyQuestionNoteEntered(state);
    return outcome;
}

NoteValueTools AllowedNoteValues(const PitchExerciseState& state) {
    int position = 0;
    for (const auto& note : state.answer.notes) position += ticksOf(note.noteValue);
    const int inBar = position % kBarTicks;
    return {inBar == 0, inBar < kBarTicks / 2};
}

int FindFormedEntry(const PitchExerciseState& state) {
    const auto& answer = state.answer.notes;
    if (answer.size() < 2 || state.mode == ExerciseMode::Progression) return 0;
    const int n = static_cast<int>(answer.size());
    for (int number = 1; number <= theory::kCatalogueEntries; ++number) {
        const auto& row = state.row(number);
        if (row.count != n) continue;
        bool same = true;
        for (int k = 0; k + 1 < n && same; ++k) {
            const auto i = static_cast<std::size_t>(k);
            same = row.relativePitch[i + 1] - row.relativePitch[i] == answer[i + 1].pitch - answer[i].pitch;
        }
        if (same) return number;
    }
    return 0;
}

std::string AnswerLabel(const PitchExerciseState& state, const language::Language& language) {
    std::string label;
    const int tonic = theory::KeyTonic(state.key.keySig) - (state.key.minor ? 3 : 0);
    for (const auto& note : state.answer.notes) {
        label += theory::NoteName(note.pitch, note.spellOffset);
        if (state.solfege) {
            label += " (";
            label += theory::SolfegeSyllables[static_cast<std::size_t>(floorMod(note.pitch - tonic, 12))];
            label += ") ";
        } else {
            label += "   ";
        }
    }
    const auto mode = state.mode;
    if ((mode == ExerciseMode::Chord || mode == ExerciseMode::Inversion || mode == ExerciseMode::Interval ||
         mode == ExerciseMode::Scale) &&
        state.answer.notes.size() >= 2) {
        const int formed = FindFormedEntry(state);
        label += "=  ";
        label += formed != 0 ? state.row(formed).name : "?";
        if (state.questionCount == 0)
            label += " (" + language.text(judge_texts::kRightClickHint, "right-click a name to answer") + ")";
    }
    return label;
}

int DefaultTriad(const PitchExerciseState& state, int root) {
    const int r = floorMod(root - state.root, 12);
    constexpr int major = 0, minor = 1, diminished = 2;
    if (state.key.minor) return (r == 0 || r == 5) ? minor : r == 2 ? diminished : major;
    return (r == 2 || r == 4 || r == 9) ? minor : r == 11 ? diminished : major;
}

namespace {

void voiceAnswer(PitchExerciseState& state, const theory::ChordCatalogue& catalogue) {
    state.answer.voiced =
        VoiceProgression(state.answer.chords, state.options.inversionMode, state.options.addRootBass,
                         state.anchor, state.root, state.key, catalogue.chordTypes())
            .notes;
}

bool chordsAllMatch(const PitchExerciseState& state) {
    const auto& answer = state.answer.chords;
    if (answer.size() != state.chords.size() || answer.empty()) return false;
    for (std::size_t k = 0; k < answer.size(); ++k) {
        if (answer[k].pitch == 0 || floorMod(answer[k].pitch - state.chords[k].pitch, 12) != 0 ||
            answer[k].extra != state.chords[k].extra)
            return false;
    }
    return true;
}

void advanceChord(PitchExerciseState& state) {
    auto& answer = state.answer;
    const auto next = static_cast<std::size_t>(answer.currentChord + 1);
    if (answer.chords[static_cast<std::size_t>(answer.currentChord)].pitch != 0 &&
        next < answer.chords.size() && answer.chords[next].pitch == 0)
        ++answer.currentChord;
}

}  // namespace

bool SetAnswerChordRoot(PitchExerciseState& state, int clickedPitch, bool remove,
                        const theory::ChordCatalogue& catalogue) {
    auto& answer = state.answer;
    if (answer.chords.empty() || state.answered) return false;
    const int root = floorDiv(state.root, 12) * 12 + floorMod(clickedPitch, 12);
    if (remove) {
        for (auto& chord : answer.chords) {
            if (chord.pitch == root) {
                chord.pitch = 0;
                chord.spellOffset = 0;
                chord.extra = kNoChordType;
            }
        }
        voiceAnswer(state, catalogue);
        return false;
    }
    answer.currentChord = std::clamp(answer.currentChord, 0, static_cast<int>(answer.chords.size()) - 1);
    auto& chord = answer.chords[static_cast<std::size_t>(answer.currentChord)];
    chord.pitch = root;
    if (chord.extra == kNoChordType) chord.extra = static_cast<std::uint8_t>(DefaultTriad(state, root));
    chord.spellOffset =
        SpellProgressionRoot(root, DegreeLetters(root, state), chord.extra, state, catalogue.chordTypes());
    theory::CatalogueNote bass{static_cast<std::uint8_t>(std::clamp(root, 0, 127)), 0, 0, 0};
    theory::AssignBassString(bass);
    chord.guitarString = bass.guitarString;
    voiceAnswer(state, catalogue);
    advanceChord(state);
    return state.options.autoAnswer && chordsAllMatch(state);
}

bool SetAnswerChordType(PitchExerciseState& state, int chordType, const theory::ChordCatalogue& catalogue) {
    auto& answer = state.answer;
    if (answer.chords.empty() || state.answered || chordType < 0 || chordType >= theory::kCatalogueEntries)
        return false;
    answer.currentChord = std::clamp(answer.currentChord, 0, static_cast<int>(answer.chords.size()) - 1);
    auto& chord = answer.chords[static_cast<std::size_t>(answer.currentChord)];
    chord.extra = static_cast<std::uint8_t>(chordType);
    if (chord.pitch != 0)
        chord.spellOffset = SpellProgressionRoot(chord.pitch, DegreeLetters(chord.pitch, state), chordType,
                                                 state, catalogue.chordTypes());
    voiceAnswer(state, catalogue);
    advanceChord(state);
    return state.options.autoAnswer && chordsAllMatch(state);
}

PreviewOutcome PreviewAnswer(PitchExerciseState& state, int entry, bool commit, const JudgeContext& context,
                             const theory::ChordCatalogue& catalogue, const language::Language& language) {
    PreviewOutcome outcome;
    if (entry < 1 || entry > theory::kCatalogueEntries || state.answered) return outcome;
    const auto& row = state.row(entry);
    if (row.count == 0) return outcome;
    if (state.mode == ExerciseMode::Progression) {
        auto& chords = state.answer.chords;
        chords.clear();
        for (int k = 0; k < std::min(row.count, kMaxProgressionChords); ++k) {
            QuestionNote chord;
            const auto source = static_cast<std::size_t>(k);
            chord.pitch = row.relativePitch[source] + state.root;
            chord.extra = row.extra[source];
            chord.spellOffset = SpellProgressionRoot(
                chord.pitch,
                theory::LettersAboveC(row.relativePitch[source] + theory::kMiddleC, row.spellOffset[source]),
                chord.extra, state, catalogue.chordTypes());
            chord.endMark = kEndOfChord;
            chords.push_back(chord);
        }
        if (!chords.empty()) chords.back().endMark = kEndOfQuestion;
        state.answer.currentChord = 0;
        voiceAnswer(state, catalogue);
    } else if (!state.notes.empty()) {
        // Where the chosen entry sits: on the question's first note, or on its upper note for
        // falling intervals; reversed scales run from their top note.
        const bool upperAnchored = state.mode == ExerciseMode::Interval && isFalling(state.style);
        const auto last = static_cast<std::size_t>(row.count - 1);
        int offset = 0;
        if (upperAnchored)
            offset = state.notes.back().pitch - row.relativePitch[last];
        else if (state.reversed)
            offset = state.notes.front().pitch - row.relativePitch[last];
        else
            offset = state.notes.front().pitch - row.relativePitch[0];

        auto& notes = state.answer.notes;
        notes.clear();
        for (int k = 0; k < row.count; ++k) {
            const auto source = static_cast<std::size_t>(state.reversed ? row.count - 1 - k : k);
            QuestionNote note;
            note.pitch = row.relativePitch[source] + offset;
            notes.push_back(note);
        }
        // Written as the question is, so the question's own entry reads the same.
        SpellEntryNotes(notes, row, state, offset);
        renumberEqualPitches(notes);
        AssignQuestionStrings(notes, state.displayShift);
        spreadAnswerStrings(state);
    }
    const bool right = entry == state.entry;
    if (commit || (state.options.autoAnswer && right))
        outcome.judgement = JudgeAnswer(state, entry, -1, context, language);
    return outcome;
}

std::string FormatNumbers(const std::string& format, std::initializer_list<int> numbers) {
    std::string result;
    auto next = numbers.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd' && next != numbers.end()) {
            result += std::to_string(*next++);
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

}  // namespace kalvintor::pitch
