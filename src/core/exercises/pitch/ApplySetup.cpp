// Taking a setup block into a pitch exercise: play styles, the root range, the answer table
// and the offered entries.
#include "exercises/pitch/ExerciseState.h"

#include "theory/Naming.h"
#include "theory/Tables.h"

#include <algorithm>

namespace kalvintor::pitch {

using theory::floorDiv;
using theory::floorMod;

int NormalizeRootMovement(int value) {
    if (isCyclic(value) || isSameTone(value) || isSameKey(value)) return value;
    return root_movement::kRandom;
}

theory::TableKind TableOf(ExerciseMode mode) {
    switch (mode) {
        case ExerciseMode::Chord:
            return theory::TableKind::ChordTypes;
        case ExerciseMode::Inversion:
            return theory::TableKind::ChordInversions;
        case ExerciseMode::Interval:
            return theory::TableKind::Intervals;
        case ExerciseMode::Scale:
        case ExerciseMode::Melody:
            return theory::TableKind::Scales;
        case ExerciseMode::Progression:
            return theory::TableKind::Progressions;
    }
    return theory::TableKind::ChordTypes;
}

int PromptTextId(ExerciseMode mode) {
    switch (mode) {
        case ExerciseMode::Chord:
            return 211;
        case ExerciseMode::Inversion:
            return 1411;
        case ExerciseMode::Interval:
            return 411;
        case ExerciseMode::Scale:
            return 1611;
        case ExerciseMode::Melody:
            return 1811;
        case ExerciseMode::Progression:
            return 2011;
    }
    return 211;
}

namespace {

bool heldArpeggios(ExerciseMode mode) {
    return mode == ExerciseMode::Chord || mode == ExerciseMode::Inversion || mode == ExerciseMode::Interval ||
           mode == ExerciseMode::Progression;
}

std::vector<PlayStyle> styleListOf(const SetupBlock& block, ExerciseMode mode) {
    std::vector<PlayStyle> styles;
    const bool held = heldArpeggios(mode);
    if (block.playTogether != 0) styles.push_back(PlayStyle::Together);
    if (block.arpeggioUp != 0) styles.push_back(held ? PlayStyle::UpHeld : PlayStyle::Up);
    if (block.arpeggioDown != 0) styles.push_back(held ? PlayStyle::DownHeld : PlayStyle::Down);
    if (styles.empty()) styles.push_back(PlayStyle::Together);
    return styles;
}

// Limits upside down leave an empty range: every root is the lower limit.
RootRange rootRangeOf(int movement, int lower, int upper) {
    if (movement < root_movement::kFirstSameTone) {
        const int span = std::max(0, upper - lower);
        return {lower, isCyclic(movement) ? std::max(12, span) : span};
    }
    const int pc = isSameTone(movement) ? movement - root_movement::kFirstSameTone
                                        : theory::KeyTonic(movement - root_movement::kSameKeyZero);
    RootRange range;
    range.lowest = lower + floorMod(pc - lower, 12);
    const int c = floorDiv(upper, 12) * 12 + pc - 1;
    range.size = std::max(0, c < upper ? c - range.lowest + 12 : c - range.lowest);
    return range;
}

void clearCounters(PitchExerciseState& state) {
    state.questionCount = 0;
    state.correctCount = 0;
    for (auto& row : state.answerTable) {
        row.asked = 0;
        row.right = 0;
    }
}

void fillAnswerTable(PitchExerciseState& state, const theory::CatalogueTable& table) {
    const int offered =
        state.mode == ExerciseMode::Interval ? theory::kOfferedIntervals : theory::kCatalogueEntries;
    for (int number = 1; number <= theory::kCatalogueEntries; ++number) {
        auto& row = state.row(number);
        const auto asked = row.asked;
        const auto right = row.right;
        row = AnswerRow{};
        row.asked = asked;
        row.right = right;
        if (number > offered) continue;
        const auto& entry = table.entry(number);
        row.count = entry.noteCount();
        for (int k = 0; k < row.count; ++k) {
            const auto& note = entry.notes[static_cast<std::size_t>(k)];
            row.relativePitch[static_cast<std::size_t>(k)] = note.pitch - theory::kMiddleC;
            row.spellOffset[static_cast<std::size_t>(k)] = note.spellOffset;
            row.extra[static_cast<std::size_t>(k)] = note.extra;
        }
        row.name = state.mode == ExerciseMode::Progression ? theory::ProgressionName(entry) : entry.name;
    }
}

}  // namespace

void ApplySetup(PitchExerciseState& state, const SetupBlock& block, const theory::ChordCatalogue& catalogue,
                bool reset, bool showKeyNames) {
    if (reset) clearCounters(state);
    auto& o = state.options;
    o.playToneOnClick = block.playToneOnClick != 0;
    o.showFirstTone = block.showFirstTone != 0;
    o.autoAnswer = block.autoAnswer != 0;
    o.playTonic = block.playTonic();
    o.tonicStyle = block.tonicStyle();
    o.showKeySignature = block.showKeySignature != 0;
    o.rootMovement = NormalizeRootMovement(block.rootMovement);
    o.option = block.option;
    o.diatonicRoots = state.mode == ExerciseMode::Interval && block.diatonicRoots();
    o.inversionMode = block.inversionMode();
    o.addRootBass = state.mode == ExerciseMode::Progression && block.addRootBass();
    o.answerModes = block.answerModes;

    state.styleList = styleListOf(block, state.mode);
    state.rootRange = rootRangeOf(o.rootMovement, block.lowerLimit, block.upperLimit);
    state.root = theory::kMiddleC;
    state.key = KeyContext{};
    state.style = PlayStyle::Together;
    state.noteCount = 0;

    fillAnswerTable(state, catalogue.table(TableOf(state.mode)));
    // An offered entry without notes cannot be asked.
    state.enabledList.clear();
    for (int number = 1; number <= theory::kCatalogueEntries; ++number)
        if (block.entryOn(number) && state.row(number).count > 0) state.enabledList.push_back(number);
    state.answerButtonEnabled.assign(state.enabledList.size(), true);

    const auto mode = state.mode;
    state.chordLike = mode == ExerciseMode::Chord || mode == ExerciseMode::Inversion ||
                      mode == ExerciseMode::Interval || mode == ExerciseMode::Progression;
    state.showKeyName = showKeyNames && (mode == ExerciseMode::Inversion || mode == ExerciseMode::Interval ||
                                         mode == ExerciseMode::Progression);
    state.solfege = mode == ExerciseMode::Interval && o.diatonicRoots;
    state.chordTypeButtonShown.fill(false);
    if (mode == ExerciseMode::Progression) {
        for (int number : state.enabledList) {
            const auto& row = state.row(number);
            for (int k = 0; k < row.count; ++k) {
                const auto it =
                    std::find(theory::ProgressionChordTypes.begin(), theory::ProgressionChordTypes.end(),
                              row.extra[static_cast<std::size_t>(k)]);
                if (it != theory::ProgressionChordTypes.end())
                    state.chordTypeButtonShown[static_cast<std::size_t>(
                        it - theory::ProgressionChordTypes.begin())] = true;
            }
        }
    }
}

void ApplyMelodySetup(PitchExerciseState& state, const MelodySetup& melody, bool reset, bool showKeyNames) {
    if (reset) clearCounters(state);
    state.melody = melody;
    auto& o = state.options;
    o = ExerciseOptions{};
    o.playToneOnClick = melody.playToneOnClick != 0;
    o.showFirstTone = melody.showFirstTone != 0;
    o.autoAnswer = melody.autoAnswer != 0;
    o.playTonic = melody.playTonic();
    o.tonicStyle = melody.tonicStyle();
    o.showKeySignature = melody.showKeySignature != 0;
    o.rhythm = melody.rhythm != 0;
    o.answerModes = melody.answerModes;
    state.styleList = {o.rhythm ? PlayStyle::Rhythm : PlayStyle::Up};
    state.root = theory::kMiddleC;
    state.key = KeyContext{};
    state.style = state.styleList.front();
    state.noteCount = 0;
    state.enabledList.clear();
    state.answerButtonEnabled.clear();
    state.chordLike = false;
    state.showKeyName = showKeyNames && !melody.typeIsMode();
    state.solfege = true;
}

void UpdateInputRange(PitchExerciseState& state) {
    state.inputRangeLow = 36;
    state.inputRangeHigh = 95;
    const auto& view = state.instruments;
    if (view.guitar) {
        state.inputRangeLow = std::max(state.inputRangeLow, 52);
        state.inputRangeHigh =
            std::min(state.inputRangeHigh, 84 + 4 * std::clamp(view.guitarWidthClass, 1, 3));
    }
    if (view.piano) {
        state.inputRangeLow = std::max(state.inputRangeLow, 41);
        state.inputRangeHigh = std::min(state.inputRangeHigh, 12 * std::clamp(view.pianoOctaves, 4, 6) + 40);
    }
}

void ResetExercise(PitchExerciseState& state) {
    clearCounters(state);
    state.answered = true;
    state.answer = AnswerState{};
}

}  // namespace kalvintor::pitch
