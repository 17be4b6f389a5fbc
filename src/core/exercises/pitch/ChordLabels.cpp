// Naming the chords of a progression by step and by root.
#include "exercises/pitch/ChordLabels.h"

#include "theory/Naming.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

namespace kalvintor::pitch {

using theory::floorMod;

namespace {

// Chord starts in a voiced list, found from the end marks that close each chord.
std::vector<std::size_t> chordStarts(const std::vector<QuestionNote>& voiced, std::size_t from,
                                     std::size_t to) {
    std::vector<std::size_t> starts;
    bool atStart = true;
    for (std::size_t i = from; i < to; ++i) {
        if (atStart) starts.push_back(i);
        atStart = voiced[i].endMark != 0;
    }
    return starts;
}

// An answer chord's step: roots a minor second, minor third, tritone, minor sixth or minor
// seventh above the exercise root are written as lowered steps, as the question's are spelled.
std::string answerNumeral(int root, int exerciseRoot, int chordType) {
    const int step = floorMod(root - exerciseRoot, 12);
    const bool lowered = step == 1 || step == 3 || step == 6 || step == 8 || step == 10;
    return theory::ProgressionChordName(theory::kMiddleC + step, lowered ? 1 : 0, chordType);
}

}  // namespace

std::string ChordName(int root, int spellOffset, int chordType) {
    std::string name = theory::NoteName(root, spellOffset);
    if (chordType >= 0 && chordType < theory::kCatalogueEntries)
        name += theory::ChordSymbolSuffix[static_cast<std::size_t>(theory::ChordTypeSymbol(chordType))];
    return name;
}

std::vector<ChordColumnLabel> ProgressionChordLabels(const PitchExerciseState& state,
                                                     const std::vector<QuestionNote>& shown,
                                                     bool questionShown) {
    std::vector<ChordColumnLabel> labels;
    const std::size_t answerEnd = std::min(state.answer.voiced.size(), shown.size());
    const auto answerStarts = chordStarts(shown, 0, answerEnd);
    for (std::size_t k = 0; k < answerStarts.size() && k < state.answer.chords.size(); ++k) {
        const auto& chord = state.answer.chords[k];
        if (chord.pitch <= 0 || shown[answerStarts[k]].pitch <= 0) continue;
        labels.push_back({static_cast<int>(answerStarts[k]),
                          answerNumeral(chord.pitch, state.root, chord.extra),
                          ChordName(chord.pitch, chord.spellOffset, chord.extra), false});
    }
    if (!questionShown) return labels;
    const bool named = state.entry >= 1 && state.entry <= theory::kCatalogueEntries;
    const auto questionStarts = chordStarts(shown, answerEnd, shown.size());
    for (std::size_t k = 0; k < questionStarts.size() && k < state.chords.size(); ++k) {
        const auto& chord = state.chords[k];
        if (chord.pitch <= 0) continue;
        // The question's steps are written as its catalogue entry writes them.
        std::string numeral;
        if (named && k < static_cast<std::size_t>(kMaxQuestionNotes) &&
            static_cast<int>(k) < state.row(state.entry).count) {
            const auto& row = state.row(state.entry);
            numeral = theory::ProgressionChordName(theory::kMiddleC + row.relativePitch[k],
                                                   row.spellOffset[k], row.extra[k]);
        }
        if (numeral.empty()) numeral = answerNumeral(chord.pitch, state.root, chord.extra);
        labels.push_back({static_cast<int>(questionStarts[k]), numeral,
                          ChordName(chord.pitch, chord.spellOffset, chord.extra), true});
    }
    return labels;
}

}  // namespace kalvintor::pitch
