// Instrument geometry, MIDI keys and the microphone's stable pitch.
#include "exercises/pitch/Instruments.h"

#include "exercises/pitch/Answer.h"
#include "theory/Guitar.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <cstdlib>

namespace kalvintor::pitch {

using theory::floorDiv;
using theory::floorMod;

int PianoOctaves(int panelWidth) {
    return std::clamp((panelWidth - 10) / kPianoOctaveWidth, 4, 6);
}

int PianoHighestKey(int octaves) {
    return 12 * octaves + 40;
}

std::optional<int> PianoPitchAt(int x, bool inBlackZone, int octaves) {
    // White keys from F: F G A B C D E; black keys between them, none between B-C and E-F.
    constexpr std::array<int, 7> white{0, 2, 4, 6, 7, 9, 11};
    constexpr std::array<int, 7> black{1, 3, 5, -1, 8, 10, -1};
    int pitch = 0;
    const int slot = floorDiv(x - 10, kPianoWhiteKeyWidth);
    const int blackOffset = black[static_cast<std::size_t>(floorMod(slot, 7))];
    if (inBlackZone && blackOffset >= 0) {
        pitch = kPianoLowestKey + 12 * floorDiv(slot, 7) + blackOffset;
    } else {
        const int key = floorDiv(x + 1, kPianoWhiteKeyWidth);
        pitch = kPianoLowestKey + 12 * floorDiv(key, 7) + white[static_cast<std::size_t>(floorMod(key, 7))];
    }
    if (pitch < kPianoLowestKey || pitch > PianoHighestKey(std::clamp(octaves, 4, 6))) return std::nullopt;
    return pitch;
}

int GuitarWidthClass(int panelWidth) {
    return panelWidth < 610 ? 1 : panelWidth < 820 ? 2 : 3;
}

std::optional<int> GuitarPitchAt(int x, int y, int panelWidth, int panelHeight,
                                 std::span<const int> fretLines) {
    const int rowHeight = std::max(1, panelHeight / theory::kGuitarStrings);
    const int string = std::clamp(y / rowHeight + 1, 1, theory::kGuitarStrings);
    int fret = 0;
    if (x >= kGuitarNutX) {
        const auto line =
            std::find_if(fretLines.begin(), fretLines.end(), [x](int lineX) { return lineX > x; });
        if (line == fretLines.end()) return std::nullopt;
        fret = static_cast<int>(line - fretLines.begin()) + 1;
    }
    const int g = GuitarWidthClass(panelWidth);
    if (fret > 4 * g + 8) return std::nullopt;
    const int pitch = theory::GuitarOpenStrings[static_cast<std::size_t>(string)] + fret;
    if (pitch < 52 || pitch > 84 + 4 * g) return std::nullopt;
    return pitch;
}

QuestionNote InstrumentNote(const PitchExerciseState& state, int shownPitch) {
    QuestionNote note;
    note.pitch = shownPitch + state.displayShift;
    note.spellOffset = theory::DefaultSpelling(note.pitch, state.key.keySig);
    note.guitarString = static_cast<std::uint8_t>(theory::HighestStringFor(shownPitch));
    return note;
}

MidiKeyOutcome MidiNote(PitchExerciseState& state, MidiKeyboardState& keyboard, int pitch, bool on,
                        bool guitarSound) {
    MidiKeyOutcome outcome;
    if (!on) {
        keyboard.heldKeys = std::max(0, keyboard.heldKeys - 1);
        outcome.action = MidiKeyAction::Released;
        return outcome;
    }
    const int g = guitarSound ? 1 : 0;
    const int shown = pitch - state.displayShift;
    if (shown < state.inputRangeLow - 12 * g || shown > state.inputRangeHigh) return outcome;
    QuestionNote note = InstrumentNote(state, shown + (guitarSound ? 12 : 0));
    const bool newChord = keyboard.heldKeys == 0;
    ++keyboard.heldKeys;
    const bool freePlay = state.answered && state.questionCount == 0;
    if (state.answered && !freePlay) return outcome;
    if (newChord && state.chordLike) {
        // A new chord replaces the answer, down to the shown first tone.
        auto& notes = state.answer.notes;
        notes.erase(std::remove_if(notes.begin(), notes.end(),
                                   [&state](const QuestionNote& n) {
                                       return state.firstTonePitch == 0 || n.pitch != state.firstTonePitch;
                                   }),
                    notes.end());
    }
    const auto added = AddAnswerNote(state, note, false, 0);
    if (freePlay) {
        int above = 0, below = 0;
        for (const auto& n : state.answer.notes)
            (n.pitch >= theory::kMiddleC ? above : below) += std::abs(n.pitch - 60);
        state.clefPreference = below > above ? -2 : 2;
    }
    outcome.action = added.changed ? MidiKeyAction::Entered : MidiKeyAction::Refused;
    outcome.checkNow = added.checkNow;
    return outcome;
}

PedalAction SustainPedal(const PitchExerciseState& state) {
    return state.answered ? PedalAction::NewQuestion : PedalAction::CheckAnswer;
}

int MicrophoneRing::Feed(int pitch) {
    int agreeing = 0;
    for (int stored : ring_) agreeing += (stored <= kSilence || std::abs(stored - pitch) < 5) ? 1 : 0;
    if (agreeing >= 3) stable_ = pitch;
    ring_[oldest_] = pitch;
    oldest_ = (oldest_ + 1) % ring_.size();
    return stable_;
}

MicrophoneAction MicrophonePitch(PitchExerciseState& state, MicrophoneRing& ring, int detected) {
    const int stable = ring.Feed(detected);
    auto& held = state.answer.held;
    if (stable > kSilence) {
        if (held.note.pitch == stable) return MicrophoneAction::None;
        held.note = InstrumentNote(state, stable - state.displayShift);
        held.source = NoteSource::Microphone;
        return MicrophoneAction::Held;
    }
    if (held.note.pitch != 0 && held.source == NoteSource::Microphone) {
        held = HeldNote{};
        return MicrophoneAction::Released;
    }
    return MicrophoneAction::None;
}

SungRange MicrophoneRange(const PitchExerciseState& state) {
    return {state.inputRangeLow + state.displayShift, state.inputRangeHigh + state.displayShift};
}

}  // namespace kalvintor::pitch
