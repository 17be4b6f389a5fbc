// One note or rest of a rhythm, and a voice of them.
#pragma once

#include <cstdint>
#include <vector>

namespace kalvintor::rhythm {

enum class NoteKind : std::uint8_t { Plain = 0, Dotted = 1, Triplet = 2 };

// Which way a partial beam points from the stem.
enum class BeamSide : std::uint8_t { Left = 0, Right = 1 };

// The judgement of one note after the taps were evaluated.
enum class Mark : std::int32_t {
    Late = -1,
    Exact = 0,
    Early = 1,
    Missed = 2,
    NotJudged = -2,  // rests and notes tied from the one before
    Unmatched = 0x7FFF,
};

struct TRhythmNote {
    int value = 0;              // value code 1..6; the undotted base value for dotted and triplet notes
    std::int32_t duration = 0;  // ticks actually taken
    NoteKind kind = NoteKind::Plain;
    bool tripletMiddle = false;
    bool rest = false;
    bool tied = false;     // tied to the next note
    bool endsBar = false;  // ends exactly on a bar line
    BeamSide beamSide = BeamSide::Right;
    int beamGroup = 0;    // 0 = not beamed
    bool onBeat = false;  // ends on a beat
    int x = 0;            // where the notation put the note head (pixels) and on which row
    int row = 0;
    Mark mark = Mark::Unmatched;

    bool dotted() const { return kind == NoteKind::Dotted; }
    bool triplet() const { return kind == NoteKind::Triplet; }
};

using Voice = std::vector<TRhythmNote>;

// The question is voice 0; the correction exercise's changed copy is voice 1.
inline constexpr int kVoiceCount = 2;

}  // namespace kalvintor::rhythm
