// Writing question and answer notes by letters from a reference named in the key.
#include "exercises/pitch/QuestionSpelling.h"

#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <cstdlib>

namespace kalvintor::pitch {

using theory::floorMod;

namespace {

inline constexpr int kScaleDegrees = 7;

int nameInKey(int pitch, const KeyContext& key) {
    return theory::SpellInKey(pitch, theory::kNatural, 0, key.keySig);
}

int distinctPitchClasses(const AnswerRow& row) {
    std::array<bool, 12> seen{};
    for (int k = 0; k < row.count; ++k)
        seen[static_cast<std::size_t>(floorMod(row.relativePitch[static_cast<std::size_t>(k)], 12))] = true;
    return static_cast<int>(std::count(seen.begin(), seen.end(), true));
}

bool chromaticDegree(int semitones) {
    return theory::FlatSteps[static_cast<std::size_t>(floorMod(semitones, 12))].altered;
}

}  // namespace

void SpellEntryNotes(std::vector<QuestionNote>& notes, const AnswerRow& row, const PitchExerciseState& state,
                     int reference) {
    const int count = std::min(row.count, static_cast<int>(notes.size()));
    if (count <= 0) return;
    std::vector<theory::LetterNote> letterNotes;
    for (int k = 0; k < count; ++k) {
        const auto source = static_cast<std::size_t>(state.reversed ? row.count - 1 - k : k);
        letterNotes.push_back(
            {notes[static_cast<std::size_t>(k)].pitch,
             theory::LettersAboveC(row.relativePitch[source] + theory::kMiddleC, row.spellOffset[source])});
    }
    const auto& key = state.key;
    const bool interval = state.mode == ExerciseMode::Interval;
    const bool scale = state.mode == ExerciseMode::Scale;
    int referenceSpelling = nameInKey(reference, key);
    if (interval && isFalling(state.style) && !state.options.diatonicRoots && count >= 2) {
        // The interval falls from the key's note: the upper one is named, the lower one lies
        // the interval's number below it.
        const auto& upper = letterNotes.back();
        referenceSpelling =
            theory::SpellAtLetters(reference, upper.pitch, nameInKey(upper.pitch, key), -upper.letters);
    }
    // A scale keeps its key's tonic; a scale chosen by name on a note between the key's degrees
    // (another mode placed on the question's first note) may take the plainer name there.
    const bool offDegree = chromaticDegree(reference - theory::KeyTonic(key.keySig));
    referenceSpelling = theory::ChooseReferenceSpelling(letterNotes, reference, referenceSpelling, key.keySig,
                                                        !scale || offDegree);
    const bool lettersBind = !scale || distinctPitchClasses(row) == kScaleDegrees;
    for (int k = 0; k < count; ++k) {
        auto& note = notes[static_cast<std::size_t>(k)];
        int spelling = theory::SpellAtLetters(note.pitch, reference, referenceSpelling,
                                              letterNotes[static_cast<std::size_t>(k)].letters);
        if (!lettersBind) spelling = theory::PlainerSpelling(note.pitch, spelling, key.keySig);
        if (std::abs(spelling) > theory::kDoubleFlat)
            spelling = theory::DefaultSpelling(note.pitch, key.keySig);
        note.spellOffset = spelling;
    }
}

int SpellProgressionRoot(int rootPitch, int letters, int chordType, const PitchExerciseState& state,
                         const theory::CatalogueTable& chordTypes) {
    const int tonic = state.root;
    const int preferred = theory::SpellAtLetters(rootPitch, tonic, nameInKey(tonic, state.key), letters);
    std::vector<theory::LetterNote> tones;
    if (chordType >= 0 && chordType < theory::kCatalogueEntries) {
        const auto& entry = chordTypes.entry(chordType + 1);
        for (int k = 0; k < entry.noteCount(); ++k) {
            const auto& note = entry.notes[static_cast<std::size_t>(k)];
            tones.push_back({note.pitch - theory::kMiddleC + rootPitch,
                             theory::LettersAboveC(note.pitch, note.spellOffset)});
        }
    }
    // The root is written whether or not the chord type sounds it.
    if (std::none_of(tones.begin(), tones.end(),
                     [rootPitch](const auto& tone) { return tone.pitch == rootPitch && tone.letters == 0; }))
        tones.push_back({rootPitch, 0});
    const int spelling = theory::ChooseReferenceSpelling(tones, rootPitch, preferred, state.key.keySig,
                                                         chromaticDegree(rootPitch - tonic));
    return std::abs(spelling) > theory::kDoubleFlat ? theory::DefaultSpelling(rootPitch, state.key.keySig)
                                                    : spelling;
}

int DegreeLetters(int rootPitch, const PitchExerciseState& state) {
    return theory::FlatSteps[static_cast<std::size_t>(floorMod(rootPitch - state.root, 12))].step;
}

}  // namespace kalvintor::pitch
