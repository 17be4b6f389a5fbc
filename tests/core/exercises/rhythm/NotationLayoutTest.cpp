// The notation layout: note positions by spacing setting, bar lines, rows that wrap, and the
// engraving marks (stems, beams, partial beams, flags, ties across rows, triplets).
#include "RhythmTestSupport.h"
#include "exercises/rhythm/Beam.h"
#include "exercises/rhythm/NotationLayout.h"
#include "exercises/rhythm/Rytme.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kalvintor::rhythm;
using namespace kalvintor::rhythm::testing;

namespace {

constexpr const Meter& kFourFour = MeterTable[4];

Voice quarterBars(int bars) {
    Voice v;
    for (int b = 0; b < bars; ++b)
        for (int q = 0; q < 4; ++q) v.push_back(note(3, q == 3));
    return v;
}

std::vector<RectMark> rectsOf(const NotationLayout& l, RectMark::Kind kind) {
    std::vector<RectMark> out;
    std::copy_if(l.rects.begin(), l.rects.end(), std::back_inserter(out),
                 [&](const RectMark& r) { return r.kind == kind; });
    return out;
}

int glyphCount(const NotationLayout& l, Glyph g) {
    return static_cast<int>(
        std::count_if(l.glyphs.begin(), l.glyphs.end(), [&](const GlyphMark& m) { return m.glyph == g; }));
}

}  // namespace

TEST(NotationLayout, SpacingBySetting) {
    struct Case {
        Spacing spacing;
        TRhythmNote n;
        int pixels;
    };
    const Case cases[] = {
        {Spacing::TimeProportional, note(3), 84}, {Spacing::TimeProportional, note(5), 21},
        {Spacing::Mostly, note(3), 45},           {Spacing::Mostly, note(1), 141},
        {Spacing::Slightly, note(3), 29},         {Spacing::FixedSpace, note(1), 17},
    };
    for (const auto& c : cases) EXPECT_EQ(noteSpacing(c.n, c.spacing), c.pixels);
    EXPECT_EQ(spacingFromSetting(9), Spacing::FixedSpace);

    // A dotted note takes 3 pixels more with the two tighter settings.
    for (auto [spacing, second] :
         {std::pair{Spacing::Mostly, 47 + 61}, std::pair{Spacing::FixedSpace, 47 + 20}}) {
        Voice v{dotted(3), note(4), note(2, true)};
        LayoutVoice(v, kFourFour, 800, spacing);
        EXPECT_EQ(v[1].x, second);
    }
}

TEST(NotationLayout, NotesBarLinesAndHeight) {
    Voice v = quarterBars(2);
    const auto l = LayoutVoice(v, kFourFour, 1000, Spacing::TimeProportional);
    EXPECT_EQ(v[0].x, 47);
    EXPECT_EQ(v[3].x, 47 + 3 * 84);
    EXPECT_EQ(v[4].x, 47 + 4 * 84 + kBarGap) << "the next bar starts 13 pixels on";
    ASSERT_EQ(l.bars.size(), 2u);
    EXPECT_EQ(l.bars[0].startX, kFirstBarStartX);
    EXPECT_EQ(l.bars[0].endX, 47 + 4 * 84 + 4);
    EXPECT_EQ(l.bars[1].startX, l.bars[0].endX + 1);
    EXPECT_EQ(l.rows, 1);
    EXPECT_EQ(l.height, 65);
    const auto barLines = rectsOf(l, RectMark::Kind::BarLine);
    ASSERT_EQ(barLines.size(), 3u) << "one bar line and the closing double line";
    EXPECT_EQ(barLines[0].x, l.bars[0].endX);
    EXPECT_EQ(barLines[0].y, kBarLineTop);
    EXPECT_EQ(barLines[0].y + barLines[0].height, kBarLineBottom);
    EXPECT_EQ(l.timeSignature.numerator, 4);
    EXPECT_EQ(l.timeSignature.denominator, 4);
    EXPECT_EQ(glyphCount(l, Glyph::NoteheadBlack), 8);
    EXPECT_EQ(rectsOf(l, RectMark::Kind::Stem).size(), 8u);
}

TEST(NotationLayout, RowsWrapAtBarLinesThatLeaveNoRoomForTheNextBar) {
    Voice v = quarterBars(4);
    v[7].tied = true;  // tied across the first row break
    const auto l = LayoutVoice(v, kFourFour, 760, Spacing::TimeProportional);
    // Each bar takes 4 × 84 pixels: two fit on a row of 760.
    EXPECT_EQ(l.rows, 2);
    EXPECT_EQ(l.height, 64 + 65);
    EXPECT_EQ(v[7].row, 0);
    EXPECT_EQ(v[8].row, 1);
    EXPECT_EQ(v[8].x, kFirstNoteX);
    EXPECT_EQ(l.bars[2].row, 1);
    EXPECT_EQ(l.bars[2].startX, kFirstBarStartX);
    ASSERT_EQ(l.ties.size(), 2u) << "the tie leaves one row and arrives on the next";
    EXPECT_EQ(l.ties[0].row, 0);
    EXPECT_EQ(l.ties[0].x2, l.bars[1].endX);
    EXPECT_EQ(l.ties[1].row, 1);
    EXPECT_EQ(l.ties[1].x1, kStaffStartX);
    EXPECT_LT(l.ties[1].x2, v[8].x + kStaffSpace);

    TRytme engine;
    engine.SetMeter(4);
    engine.voice(0) = quarterBars(4);
    engine.Layout(0, 760);
    EXPECT_EQ(engine.Bars(0).size(), 4u) << "the engine keeps the bar positions for progress and scrolling";
}

TEST(NotationLayout, BeamsStemsAndPartialBeams) {
    // Two eighths, dotted eighth + sixteenth, quarter rest, eighth, eighth rest, quarter.
    Voice v{note(4), note(4), dotted(4), note(5), rest(3), note(4), rest(4), note(3, true)};
    Beam(v, kFourFour);
    const auto l = LayoutVoice(v, kFourFour, 1000, Spacing::TimeProportional);
    const auto beams = rectsOf(l, RectMark::Kind::Beam);
    ASSERT_EQ(beams.size(), 3u) << "two primary beams and one partial beam";
    EXPECT_EQ(beams[0].y, kBeamTopY);
    EXPECT_NEAR(beams[0].height, kStaffSpace / 2, 1e-9);
    // The sixteenth's partial beam points left from its stem, one level down.
    const auto& stub = beams[2];
    EXPECT_NEAR(stub.y, kBeamTopY + 0.75 * kStaffSpace, 1e-9);
    EXPECT_NEAR(stub.width, 1.1 * kStaffSpace, 1e-9);
    EXPECT_NEAR(stub.x + stub.width, v[3].x + 1.18 * kStaffSpace, 1e-9);
    EXPECT_EQ(glyphCount(l, Glyph::Flag8thUp), 1) << "the lone eighth has a flag";
    EXPECT_EQ(glyphCount(l, Glyph::AugmentationDot), 1);
    EXPECT_EQ(glyphCount(l, Glyph::RestQuarter), 1);
    EXPECT_EQ(glyphCount(l, Glyph::Rest8th), 1);
    for (const auto& stem : rectsOf(l, RectMark::Kind::Stem)) {
        EXPECT_EQ(stem.y, kBeamTopY) << "stems reach the beam";
        EXPECT_NEAR(stem.y + stem.height, kStaffLineY - 0.168 * kStaffSpace, 1e-9);
    }
}

TEST(NotationLayout, TripletsShowTheirNumberAndABracketWhenNotBeamed) {
    Voice beamed = join({triplet(4), {note(3), note(2, true)}});
    Beam(beamed, kFourFour);
    const auto b = LayoutVoice(beamed, kFourFour, 1000, Spacing::TimeProportional);
    EXPECT_EQ(glyphCount(b, Glyph::Tuplet3), 1);
    EXPECT_TRUE(rectsOf(b, RectMark::Kind::Bracket).empty()) << "a beamed triplet needs only its number";

    Voice quarters = join({triplet(3), {note(2, true)}});
    Beam(quarters, kFourFour);
    const auto q = LayoutVoice(quarters, kFourFour, 1000, Spacing::TimeProportional);
    EXPECT_EQ(glyphCount(q, Glyph::Tuplet3), 1);
    EXPECT_EQ(rectsOf(q, RectMark::Kind::Bracket).size(), 4u) << "two bracket halves and two hooks";
}

TEST(NotationLayout, AnEmptyVoiceDrawsNothing) {
    Voice v;
    const auto l = LayoutVoice(v, kFourFour, 600, Spacing::TimeProportional);
    EXPECT_TRUE(l.glyphs.empty());
    EXPECT_TRUE(l.rects.empty());
    EXPECT_EQ(l.height, kHeightBelowLastRow);
}
