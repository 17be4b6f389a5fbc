// Drawing and building one question of the chord, inversion, interval, scale and progression modes.
#include "exercises/pitch/Generation.h"

#include "app/Random.h"
#include "exercises/pitch/QuestionSpelling.h"
#include "theory/Guitar.h"
#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>

namespace kalvintor::pitch {

using app::Random;
using theory::floorDiv;
using theory::floorMod;

namespace {

// Draws on the root: the size can never be negative here.
inline constexpr int kDrawTries = 201;

int maxFret(int guitarWidthClass) {
    return 8 + 4 * std::clamp(guitarWidthClass, 1, 3);
}

int drawRoot(const PitchExerciseState& state) {
    const int movement = state.options.rootMovement;
    const auto& range = state.rootRange;
    if (isCyclic(movement)) return NextCyclicRoot(state.previousRoot, movement, range);
    int root = range.lowest + Random(range.size);
    if (isSameTone(movement)) {
        const int pc = movement - root_movement::kFirstSameTone;
        root = floorDiv(root - pc, 12) * 12 + pc;
    } else if (isSameKey(movement)) {
        const int tonic = theory::KeyTonic(movement - root_movement::kSameKeyZero);
        root = floorDiv(root - tonic, 12) * 12 + tonic;
    }
    return root;
}

// The natural position of the chord root inside an entry whose first note is not on C.
int chordRootOffset(const AnswerRow& row) {
    if (row.count == 0) return 0;
    int rootNote = 0;
    if (row.extra[0] != 255 && row.count > 1) {
        const int inversion = row.extra[1];
        rootNote = floorMod(row.count - inversion, row.count);
    }
    return row.relativePitch[static_cast<std::size_t>(rootNote)] +
           row.spellOffset[static_cast<std::size_t>(rootNote)];
}

void setKeyContext(PitchExerciseState& state, const AnswerRow& row) {
    auto& key = state.key;
    const int movement = state.options.rootMovement;
    const bool startsOnC = row.count > 0 && row.relativePitch[0] == 0;
    switch (state.mode) {
        case ExerciseMode::Interval: {
            key.minor = isSameTone(movement) ? false : Random(2) == 1;
            key.keySig = theory::MajorKeySig[static_cast<std::size_t>(floorMod(state.root, 12))];
            const int size = row.count > 0 ? row.relativePitch[static_cast<std::size_t>(row.count - 1)] : 0;
            if (state.options.diatonicRoots) {
                const auto& placements =
                    theory::DiatonicPlacements[static_cast<std::size_t>(floorMod(size, 12))];
                key.tonicOffset = placements.positions[static_cast<std::size_t>(Random(placements.count))];
            } else {
                key.tonicOffset = key.minor ? -3 : 0;
                if (isFalling(state.style)) state.root -= size;
            }
            state.root += key.tonicOffset;
            break;
        }
        case ExerciseMode::Inversion:
        case ExerciseMode::Chord:
        case ExerciseMode::Scale:
            if (state.mode == ExerciseMode::Inversion || !startsOnC) {
                key.minor = false;
                key.tonicOffset = state.mode == ExerciseMode::Scale ? 0 : chordRootOffset(row);
                key.keySig = theory::MajorKeySig[static_cast<std::size_t>(floorMod(state.root, 12))];
            } else {
                key.minor = row.count > 2 && (row.relativePitch[1] - row.relativePitch[0] == 3 ||
                                              row.relativePitch[2] - row.relativePitch[0] == 3);
                key.tonicOffset = key.minor ? -3 : 0;
                if (isSameTone(movement)) {
                    key.keySig = theory::MajorKeySig[static_cast<std::size_t>(
                        floorMod(state.root - key.tonicOffset, 12))];
                } else {
                    key.keySig = theory::MajorKeySig[static_cast<std::size_t>(floorMod(state.root, 12))];
                    state.root += key.tonicOffset;
                }
            }
            break;
        case ExerciseMode::Melody:
        case ExerciseMode::Progression:
            break;
    }
}

void repairRange(PitchExerciseState& state) {
    const auto& range = state.rootRange;
    if (state.root > range.lowest + range.size && state.root - 12 > range.lowest) state.root -= 12;
    if (state.root < range.lowest && range.lowest + range.size >= state.root + 12) state.root += 12;
}

void buildNotes(PitchExerciseState& state, const AnswerRow& row) {
    state.notes.clear();
    state.reversed = false;
    const bool reverse = isFalling(state.style) && state.mode == ExerciseMode::Scale;
    for (int k = 0; k < row.count; ++k) {
        const auto source = static_cast<std::size_t>(reverse ? row.count - 1 - k : k);
        QuestionNote note;
        note.pitch = row.relativePitch[source] + state.root;
        note.spellOffset = row.spellOffset[source];
        state.notes.push_back(note);
    }
    if (reverse) {
        state.style = PlayStyle::Up;
        state.reversed = true;
    }
}

void spellQuestion(PitchExerciseState& state) {
    SpellEntryNotes(state.notes, state.row(state.entry), state, state.root);
    AssignQuestionStrings(state.notes, state.displayShift);
    if (state.notes.size() <= 6 && state.mode != ExerciseMode::Scale)
        SpreadGuitarStrings(state.notes, state.displayShift, state.instruments.guitarWidthClass);
}

// Major or minor from the chords: minor chords on the second, third and sixth degree speak for
// major, a minor tonic or a minor chord a minor third up for minor.
bool progressionIsMinor(const std::vector<QuestionNote>& chords, int root) {
    int score = 10;
    auto tonicRule = [&score](int type) { score += (type == 1 || type == 3 || type == 6) ? -1 : 1; };
    for (const auto& chord : chords) {
        const int r = floorMod(chord.pitch - root, 12);
        const int type = chord.extra;
        if (r == 2 || r == 4 || r == 9)
            score += (type == 1 || type == 3 || type == 6) ? 1 : -1;
        else if (r == 0 || r == 3)
            tonicRule(type);
    }
    if (!chords.empty() && floorMod(chords.back().pitch - root, 12) == 0) tonicRule(chords.back().extra);
    return score < 10;
}

void buildProgression(PitchExerciseState& state, const AnswerRow& row,
                      const theory::ChordCatalogue& catalogue) {
    for (std::size_t i = 0; i < state.enabledList.size(); ++i)
        state.answerButtonEnabled[i] = state.row(state.enabledList[i]).count == row.count;

    state.chords.clear();
    const int chordCount = std::min(row.count, kMaxProgressionChords);
    for (int k = 0; k < chordCount; ++k) {
        QuestionNote chord;
        chord.pitch = row.relativePitch[static_cast<std::size_t>(k)] + state.root;
        chord.spellOffset = row.spellOffset[static_cast<std::size_t>(k)];
        chord.extra = row.extra[static_cast<std::size_t>(k)];
        state.chords.push_back(chord);
    }
    auto& key = state.key;
    key.minor = progressionIsMinor(state.chords, state.root);
    key.tonicOffset = key.minor ? -3 : 0;
    key.keySig = theory::MajorKeySig[static_cast<std::size_t>(floorMod(state.root - key.tonicOffset, 12))];

    // Each root a degree of the key, as the progression stores it on C.
    for (auto& chord : state.chords)
        chord.spellOffset = SpellProgressionRoot(
            chord.pitch,
            theory::LettersAboveC(chord.pitch - state.root + theory::kMiddleC, chord.spellOffset),
            chord.extra, state, catalogue.chordTypes());
    auto voiced = VoiceProgression(state.chords, state.options.inversionMode, state.options.addRootBass, 0,
                                   state.root, key, catalogue.chordTypes());
    state.voiced = std::move(voiced.notes);
    state.chordStarts = std::move(voiced.chordStarts);
    state.anchor = voiced.anchor;

    // The answer: one empty chord per question chord.
    auto& answer = state.answer;
    answer.chords.assign(state.chords.size(), QuestionNote{});
    for (auto& chord : answer.chords) {
        chord.extra = kNoChordType;
        chord.endMark = kEndOfChord;
    }
    if (!answer.chords.empty()) answer.chords.back().endMark = kEndOfQuestion;
    answer.currentChord = 0;
    for (auto& chord : state.chords) {
        theory::CatalogueNote bass{static_cast<std::uint8_t>(std::clamp(chord.pitch, 0, 127)), 0, 0, 0};
        theory::AssignBassString(bass);
        chord.guitarString = bass.guitarString;
    }
    if (!state.options.playTonic && state.options.showFirstTone && !state.chords.empty()) {
        answer.chords.front().pitch = state.chords.front().pitch;
        answer.chords.front().spellOffset = state.chords.front().spellOffset;
        answer.chords.front().extra = state.chords.front().extra;
        answer.chords.front().guitarString = state.chords.front().guitarString;
    }
}

void finishQuestion(PitchExerciseState& state);

void enterFirstTone(PitchExerciseState& state) {
    state.firstTonePitch = 0;
    if (state.options.playTonic || !state.options.showFirstTone || state.notes.empty()) return;
    QuestionNote first = isFalling(state.style) ? state.notes.back() : state.notes.front();
    first.extra = 0;
    first.beatWeight = 0;
    first.endMark = 0;
    first.addedBass = 0;
    first.equalBefore = 0;
    state.answer.notes.push_back(first);
    state.firstTonePitch = first.pitch;
}

}  // namespace

int DisplayShiftFor(int highest, int lowest, int inputRangeLow, int inputRangeHigh) {
    if (highest > inputRangeHigh) return ((highest - inputRangeHigh) / 12) * 12 + 12;
    if (lowest < inputRangeLow) return -(((inputRangeLow - lowest) / 12) * 12) - 12;
    return 0;
}

void AssignQuestionStrings(std::vector<QuestionNote>& notes, int displayShift) {
    for (auto& note : notes)
        note.guitarString = static_cast<std::uint8_t>(theory::HighestStringFor(note.pitch - displayShift));
}

void SpreadGuitarStrings(std::vector<QuestionNote>& notes, int displayShift, int guitarWidthClass) {
    const int frets = maxFret(guitarWidthClass);
    for (int k = static_cast<int>(notes.size()) - 2; k >= 0; --k) {
        auto& note = notes[static_cast<std::size_t>(k)];
        const int above = notes[static_cast<std::size_t>(k + 1)].guitarString % theory::kAutoStringBase;
        const int current = note.guitarString % theory::kAutoStringBase;
        if (above == 0 || current == 0 || current > above) continue;
        const int string = above + 1;
        if (string > theory::kGuitarStrings || theory::kGuitarStrings - string < k) continue;
        const int fret =
            note.pitch - displayShift - theory::GuitarOpenStrings[static_cast<std::size_t>(string)];
        if (fret < 0 || fret > frets) continue;
        note.guitarString = static_cast<std::uint8_t>(string);
    }
}

int NextCyclicRoot(int previousRoot, int movement, const RootRange& range) {
    const int low = range.lowest;
    const int high = low + range.size;
    int root = 0;
    if (previousRoot == 0) {
        root = low;
        if (movement == root_movement::kFifthDown || movement == root_movement::kMinorThirdDown ||
            movement == root_movement::kSecondDown)
            root += range.size;
    } else {
        const int b = floorMod(previousRoot, 12);
        int d = 0;
        switch (movement) {
            case root_movement::kFifthUp:
                d = 7;
                break;
            case root_movement::kFifthDown:
                d = -7;
                break;
            case root_movement::kMinorThirdUp:
                d = (b == 9 || b == 10) ? 4 : b == 11 ? 1 : 3;
                break;
            case root_movement::kMinorThirdDown:
                d = (b == 2 || b == 3) ? -4 : b == 1 ? -1 : -3;
                break;
            case root_movement::kSecondUp:
                d = b == 10 ? 3 : b == 11 ? 1 : 2;
                break;
            case root_movement::kSecondDown:
                d = b == 2 ? -3 : b == 1 ? -1 : -2;
                break;
            default:
                break;
        }
        root = previousRoot + d;
    }
    if (root > high) {
        root = floorMod(root, 12) + floorDiv(low, 12) * 12;
        if (root < low) root += 12;
    } else if (root < low) {
        root = floorMod(root, 12) + floorDiv(high, 12) * 12;
        if (root > high) root -= 12;
    }
    return root;
}

GenerateResult NewQuestion(PitchExerciseState& state, const theory::ChordCatalogue& catalogue) {
    if (state.mode != ExerciseMode::Melody && state.enabledList.empty()) return GenerateResult::NothingToAsk;
    state.answer = AnswerState{};
    state.answered = false;
    return GenerateQuestion(state, catalogue);
}

GenerateResult GenerateQuestion(PitchExerciseState& state, const theory::ChordCatalogue& catalogue) {
    if (state.mode == ExerciseMode::Melody) {
        app::Randomize();
        const auto result = GenerateMelody(state, catalogue);
        if (result != GenerateResult::Generated) return result;
        const int type = state.melody.melodyType;
        const bool keyless = type == melody_types::kWholeTone || type == melody_types::kChromatic;
        state.options.playTonic = state.melody.playTonic() && !keyless;
        state.options.showKeySignature = state.melody.showKeySignature != 0 && !keyless;
        state.style = state.styleList.empty() ? PlayStyle::Up : state.styleList.front();
        state.answer = AnswerState{};
        state.reversed = false;
        finishQuestion(state);
        return result;
    }
    if (state.enabledList.empty()) return GenerateResult::NothingToAsk;
    state.previousEntry = state.entry;
    app::Randomize();

    const auto& styles =
        state.styleList.empty() ? std::vector<PlayStyle>{PlayStyle::Together} : state.styleList;
    for (int tries = 0; tries < kDrawTries; ++tries) {
        state.root = drawRoot(state);
        state.style = styles[static_cast<std::size_t>(Random(static_cast<int>(styles.size())))];
        state.entry =
            state.enabledList[static_cast<std::size_t>(Random(static_cast<int>(state.enabledList.size())))];
        if (!(state.root == state.previousRoot && state.entry == state.previousEntry &&
              state.rootRange.size >= 2))
            break;
    }
    state.previousRoot = state.root;
    const auto& row = state.row(state.entry);
    state.noteCount = row.count;
    state.answer = AnswerState{};
    state.key = KeyContext{};

    if (state.mode == ExerciseMode::Progression) {
        repairRange(state);
        buildProgression(state, row, catalogue);
        state.notes.clear();
        state.reversed = false;
    } else {
        setKeyContext(state, row);
        repairRange(state);
        buildNotes(state, row);
    }

    finishQuestion(state);
    return GenerateResult::Generated;
}

namespace {

void finishQuestion(PitchExerciseState& state) {
    // The range shown, for the progression without its added bass.
    const auto& sounding = state.mode == ExerciseMode::Progression ? state.voiced : state.notes;
    state.highest = 0;
    state.lowest = 127;
    for (const auto& note : sounding) {
        if (note.addedBass != 0 || note.pitch == 0) continue;
        state.highest = std::max(state.highest, note.pitch);
        state.lowest = std::min(state.lowest, note.pitch);
    }
    if (state.highest == 0) state.lowest = 0;
    state.displayShift =
        DisplayShiftFor(state.highest, state.lowest, state.inputRangeLow, state.inputRangeHigh);
    state.clefPreference = state.highest - theory::kMiddleC >= theory::kMiddleC - state.lowest ? 2 : -2;

    if (state.mode == ExerciseMode::Melody) {
        AssignQuestionStrings(state.notes, state.displayShift);
        enterFirstTone(state);
    } else if (state.mode != ExerciseMode::Progression) {
        spellQuestion(state);
        enterFirstTone(state);
    }
}

}  // namespace

}  // namespace kalvintor::pitch
