// Where the one-line rhythm notation of a voice goes: rows, note heads, stems, beams, flags,
// dots, ties, triplet marks and bar lines, in pixels of the paint area. The painter only draws it.
#pragma once

#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/RhythmNote.h"

#include <cstdint>
#include <vector>

namespace kalvintor::rhythm {

// Geometry of a row; every row is kRowHeight pixels high and starts at y = 64 × row.
inline constexpr int kRowHeight = 64;
inline constexpr int kFirstNoteX = 47;
inline constexpr int kStaffLineY = 42;  // the one-line staff, from the row top
inline constexpr int kStaffStartX = 40;
inline constexpr int kTimeSignatureX = 14;
inline constexpr int kTimeSignatureY = 17;
inline constexpr int kBarLineTop = 12;
inline constexpr int kBarLineBottom = 57;
inline constexpr int kBarLineOffset = 4;  // from the x reached after the bar's last note
inline constexpr int kBarGap = 13;        // advance after a bar line
inline constexpr int kFirstBarStartX = 42;
inline constexpr int kDottedExtra = 3;
inline constexpr int kHeightBelowLastRow = 65;
inline constexpr int kBeamTopY = 18;   // top of the first beam; stems end there
inline constexpr int kMarkY = 48;      // evaluation marks, from the row top
inline constexpr int kProgressY = 60;  // the line under the bar being played
inline constexpr int kProgressThickness = 3;

// One staff space in pixels: stems of 3.5 spaces reach from the staff line to the beam, and the
// beams (half a space thick, a quarter space apart) fall on rows 18, 23 and 28.
inline constexpr double kStaffSpace = 6.75;
// Music font size in pixels: four staff spaces.
inline constexpr double kMusicFontSize = 4 * kStaffSpace;

// Engraving measures of the music font, in staff spaces.
inline constexpr double kStemThickness = 0.12;
inline constexpr double kBeamThickness = 0.5;
inline constexpr double kBeamDistance = 0.75;  // beam thickness plus the gap between beams
inline constexpr double kStemAttachY = 0.168;  // a stem meets the note head this far above its centre
inline constexpr double kThinBarLine = 0.16;
inline constexpr double kThickBarLine = 0.5;
inline constexpr double kBarLineSeparation = 0.4;
inline constexpr double kStaffLineThickness = 0.13;
inline constexpr double kTupletLineThickness = 0.16;

// The rhythm-notation setting: how much room a note takes.
enum class Spacing : std::uint8_t { TimeProportional = 0, Mostly = 1, Slightly = 2, FixedSpace = 3 };
Spacing spacingFromSetting(int setting);
// Pixels a note advances in the sum a row break is decided on (dotted notes count 3 more).
int noteSpacing(const TRhythmNote& note, Spacing spacing);

// Music font symbols.
enum class Glyph : char32_t {
    NoteheadWhole = 0xE0A2,
    NoteheadHalf = 0xE0A3,
    NoteheadBlack = 0xE0A4,
    Flag8thUp = 0xE240,
    Flag16thUp = 0xE242,
    Flag32ndUp = 0xE244,
    RestWhole = 0xE4E3,
    RestHalf = 0xE4E4,
    RestQuarter = 0xE4E5,
    Rest8th = 0xE4E6,
    Rest16th = 0xE4E7,
    Rest32nd = 0xE4E8,
    AugmentationDot = 0xE1E7,
    TimeSig0 = 0xE080,
    Tuplet3 = 0xE883,
};

// A symbol drawn with its origin (the font's baseline point) at x, y.
struct GlyphMark {
    Glyph glyph = Glyph::NoteheadBlack;
    double x = 0;
    double y = 0;
    int note = -1;  // the note it belongs to, -1 for none
};

// A filled rectangle: stems, beams, bar lines, the staff line, tuplet brackets.
struct RectMark {
    enum class Kind : std::uint8_t { Staff, Stem, Beam, BarLine, Bracket };
    Kind kind = Kind::Staff;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// A tie: a curve below the note heads from x1 to x2 at y (the ends).
struct TieMark {
    double x1 = 0;
    double x2 = 0;
    double y = 0;
    int row = 0;
};

// A run of text centred at x with its baseline at y: the time signature's digits.
struct TimeSignatureMark {
    double centerX = 0;
    double numeratorY = 0;
    double denominatorY = 0;
    int numerator = 0;
    int denominator = 0;
};

// The part of a row a bar takes, for the progress line and for scrolling.
struct BarPosition {
    int row = 0;
    int startX = 0;
    int endX = 0;  // the bar line
};

struct NotationLayout {
    int width = 0;
    int height = kHeightBelowLastRow;
    int rows = 0;
    TimeSignatureMark timeSignature;
    std::vector<GlyphMark> glyphs;
    std::vector<RectMark> rects;
    std::vector<TieMark> ties;
    std::vector<BarPosition> bars;
};

// Lays `voice` out for a paint area `width` pixels wide and stores each note's x and row. Rows
// break only at bar lines, when the next bar would not fit right of the bar line.
NotationLayout LayoutVoice(Voice& voice, const Meter& meter, int width, Spacing spacing);

}  // namespace kalvintor::rhythm
