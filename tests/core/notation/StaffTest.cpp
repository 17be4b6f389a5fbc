// The staff's rules: pitches at a point, alterations, ledger lines, accidentals and columns.
#include "notation/StaffInput.h"
#include "notation/StaffPicture.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::notation;
using pitch::QuestionNote;

namespace {

QuestionNote note(int pitch, int spellOffset = 0, std::uint8_t endMark = 0) {
    QuestionNote n;
    n.pitch = pitch;
    n.spellOffset = spellOffset;
    n.endMark = endMark;
    return n;
}

}  // namespace

TEST(PitchAtPoint, TurnsPlacesOnEitherStaffIntoSpelledPitches) {
    const StaffGeometry g;  // top 45, spacing 10, gap 43
    struct Case {
        int y;
        bool upper;
        int keySig;
        bool signature;
        int alteration;
        int pitch;
        int spellOffset;
    };
    const Case cases[] = {
        {45, true, 0, false, 0, 77, 0},    // the top line: F5
        {45, true, 2, true, 0, 78, -1},    // F sharp in D major
        {45, true, 2, false, 0, 77, 0},    // the signature hidden: F natural
        {47, true, 0, false, 0, 77, 0},    // a little below the line still counts for it
        {40, true, 0, false, 0, 79, 0},    // the space above: G5
        {95, true, 0, false, 0, 60, 0},    // the ledger line below the upper staff: C4
        {45, true, 0, false, 1, 78, -1},   // dragged to a sharp
        {45, true, -1, true, -2, 75, 2},   // F double flat
        {128, false, 0, false, 0, 57, 0},  // the lower staff's top line: A3
        {168, false, -2, true, 0, 43, 0},  // G2 is not altered by B flat major
        {158, false, -1, true, 0, 46, 1},  // B flat on the fourth line in F major
        {0, true, 0, false, 0, 93, 0},     // far above the staff: A6
        {400, false, 0, false, 0, 36, 0},  // far below: the lowest pitch
        {400, true, 0, false, 0, 48, 0},   // the upper staff reaches down to C3 only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "y " << c.y << " upper " << c.upper << " key " << c.keySig);
        const QuestionNote n = PitchAtPoint(c.y, c.upper, g, {}, c.keySig, c.signature, c.alteration);
        EXPECT_EQ(n.pitch, c.pitch);
        EXPECT_EQ(n.spellOffset, c.spellOffset);
    }
}

TEST(PitchAtPoint, TheStaffIsChosenByTheFirstPressOrFixed) {
    const StaffGeometry g;
    EXPECT_TRUE(InputStaff{0}.upper(g.gapMiddle() - 1, g));
    EXPECT_FALSE(InputStaff{0}.upper(g.gapMiddle() + 1, g));
    EXPECT_TRUE(InputStaff{1}.upper(300, g)) << "an entry that began on the upper staff stays there";
    EXPECT_FALSE(InputStaff{-2}.upper(0, g));
}

TEST(Alteration, DraggingSidewaysAndTheKeysChooseIt) {
    struct Case {
        int x;
        int alteration;
        int anchor;
    };
    const Case cases[] = {{100, 0, 100}, {120, 0, 100}, {121, 1, 100}, {130, 1, 100},
                          {145, 1, 100}, {146, 2, 100}, {180, 2, 100}, {200, 2, 120},
                          {79, -1, 100}, {20, -2, 100}, {0, -2, 80}};
    for (const Case& c : cases) {
        const auto d = DragToAlteration(100, c.x);
        EXPECT_EQ(d.alteration, c.alteration) << "x " << c.x;
        EXPECT_EQ(d.anchorX, c.anchor) << "x " << c.x;
    }
    // A drag of 30 pixels sharpens; C restores the natural.
    const StaffGeometry g;
    EXPECT_EQ(PitchAtPoint(45, true, g, {}, 0, false, DragToAlteration(100, 130).alteration).pitch, 78);
    EXPECT_EQ(PitchAtPoint(45, true, g, {}, 0, false, *AlterationKey('C')).pitch, 77);
    const std::pair<char, int> keys[] = {{'Z', -2}, {'x', -1}, {'C', 0}, {'V', 1}, {'b', 2}};
    for (auto [key, value] : keys) EXPECT_EQ(AlterationKey(key), value) << key;
    EXPECT_EQ(AlterationKey('N'), std::nullopt);
}

TEST(LedgerLines, CountsAndSidesOnBothStaves) {
    struct Case {
        int pitch;
        int spellOffset;
        bool lower;
        int count;
        bool above;
    };
    const Case cases[] = {
        {79, 0, false, 0, false},  {81, 0, false, 1, true},
        {84, 0, false, 2, true},   {88, 0, false, 3, true},
        {62, 0, false, 0, false},  {60, 0, false, 1, false},
        {59, 0, false, 1, false},  {57, 0, false, 2, false},
        {61, 1, false, 0, false},   // D flat sits in the space below the staff
        {60, -1, false, 1, false},  // B sharp is written on the C line's letter B: below C4
        {59, 0, true, 0, false},   {60, 0, true, 1, true},
        {64, 0, true, 2, true},    {41, 0, true, 0, false},
        {40, 0, true, 1, false},   {36, 0, true, 2, false},
    };
    for (const Case& c : cases) {
        const auto l = LedgerLines(note(c.pitch, c.spellOffset), c.lower, 0);
        EXPECT_EQ(l.count, c.count) << c.pitch << "/" << c.spellOffset << (c.lower ? " lower" : " upper");
        if (c.count > 0) {
            EXPECT_EQ(l.above, c.above) << c.pitch;
        }
    }
}

TEST(Accidentals, AreWrittenOncePerMeasureAndCancelledByANatural) {
    MeasureAccidentals m(0);
    EXPECT_EQ(m.Sign(note(61, -1)), 1) << "C sharp";
    EXPECT_EQ(m.Sign(note(61, -1)), std::nullopt) << "repeated: no sign";
    EXPECT_EQ(m.Sign(note(73, -1)), 1) << "another octave is another pitch";
    EXPECT_EQ(m.Sign(note(60)), 0) << "C natural cancels it";
    EXPECT_EQ(m.Sign(note(60)), std::nullopt);
    m.NewMeasure();
    EXPECT_EQ(m.Sign(note(60)), std::nullopt) << "a new measure starts from the signature";

    MeasureAccidentals d(2);  // D major
    EXPECT_EQ(d.Sign(note(78, -1)), std::nullopt) << "F sharp is in the signature";
    EXPECT_EQ(d.Sign(note(77)), 0) << "F natural needs its sign";
    EXPECT_EQ(d.Sign(note(78, -1)), 1) << "and F sharp then needs one again";
    EXPECT_EQ(d.Sign(note(62, 1)), -1) << "E flat";
    EXPECT_EQ(d.Sign(note(60, -2)), 2) << "B double sharp";
}

TEST(StaffLayout, ChoosesSpacingAndTopForTheBox) {
    struct Case {
        int height;
        int highest;
        bool progression;
        int clef;
        int spacing;
        int top;
    };
    const Case cases[] = {
        {300, 72, false, 2, 10, 118},  // (300 - 80 - 43) * 2 / 3
        {150, 72, false, 2, 8, 34},    // a low box: the small spacing
        {100, 72, false, 2, 8, 34},    // too low for both staves: the upper one around the middle
        {100, 72, false, -2, 8, -17},  // too low, lower staff preferred: it is the one kept in view
        {300, 84, true, 2, 10, 59},    // progressions: a third of the free height
        {300, 96, true, 2, 10, 59},    // the top voice counts up to C6 only
        {200, 96, false, 2, 8, 67},    // high questions need more room: spacing 8
    };
    for (const Case& c : cases) {
        const auto g = StaffLayout(c.height, c.highest, c.progression, c.clef);
        EXPECT_EQ(g.spacing, c.spacing) << c.height << "/" << c.highest;
        EXPECT_EQ(g.gap, 4 * c.spacing + 3);
        EXPECT_EQ(g.top, c.top) << c.height << "/" << c.highest;
    }
}

TEST(LayoutStaff, DisplacesTheSecondOfAChordAndStaggersItsAccidentals) {
    StaffInputs in;
    in.chordLike = true;
    in.clefPreference = 2;
    for (int p : {60, 62, 64}) in.notes.push_back({note(p), Ink::Pending});
    in.notes.back().note.endMark = pitch::kEndOfQuestion;
    const auto pic = LayoutStaff(in);
    ASSERT_EQ(pic.heads.size(), 3u);
    EXPECT_FALSE(pic.heads[0].displaced);
    EXPECT_TRUE(pic.heads[1].displaced) << "D lies a second above C";
    EXPECT_FALSE(pic.heads[2].displaced) << "E follows a displaced note";
    EXPECT_EQ(pic.heads[1].x - pic.heads[0].x, kDisplacement);
    EXPECT_EQ(pic.heads[0].ledgerCount, 1);
    ASSERT_EQ(pic.bars.size(), 1u);
    EXPECT_TRUE(pic.bars[0].doubled);

    // C sharp, E, G sharp: the signs of notes close together move left in turn.
    StaffInputs sharp = in;
    sharp.notes = {{note(61, -1), Ink::Pending}, {note(64), Ink::Pending}, {note(68, -1), Ink::Pending}};
    const auto s = LayoutStaff(sharp);
    ASSERT_TRUE(s.heads[0].sign && s.heads[2].sign);
    EXPECT_FALSE(s.heads[1].sign);
    EXPECT_EQ(s.heads[0].sign->x - s.heads[2].sign->x, kAccidentalStagger);
}

TEST(LayoutStaff, KeySignatureColumnsAndStepLabels) {
    StaffInputs in;
    in.width = 600;
    in.keySig = -3;
    in.showKeySignature = true;
    in.stepLabels = true;
    for (int p : {63, 65, 67, 68}) in.notes.push_back({note(p, p == 63 || p == 68 ? 1 : 0), Ink::Pending});
    const auto pic = LayoutStaff(in);
    ASSERT_EQ(pic.keySignature.size(), 6u) << "three flats on both staves";
    EXPECT_EQ(pic.keySignature[0].x, kKeySigX);
    EXPECT_EQ(pic.keySignature[2].x, kKeySigX + kKeySigStep);
    EXPECT_EQ(pic.keySignature[0].y, in.geometry.noteY(71, false)) << "the first flat on B";
    EXPECT_EQ(pic.firstColumnX, kKeySigX + 3 * kKeySigStep + 10);
    for (const auto& h : pic.heads) EXPECT_FALSE(h.sign) << "E flat and A flat are in the signature";
    EXPECT_EQ(pic.columnStep, 46) << "few notes: the widest step";
    ASSERT_EQ(pic.stepLabels.size(), 3u);
    EXPECT_EQ(pic.stepLabels[0].text, "1");
    EXPECT_EQ(pic.stepLabels[2].text, "\u00BD");
    EXPECT_EQ(pic.stepLabels[0].y, in.geometry.gapMiddle());

    EXPECT_TRUE(InClefArea(pic, 30, 60));
    EXPECT_FALSE(InClefArea(pic, pic.firstColumnX + 1, 60));
    const auto& d = pic.heads[1];
    EXPECT_EQ(NoteNear(pic, d.x + 5, d.y + 3), 1);
    EXPECT_EQ(NoteNear(pic, d.x + 5, d.y + 12), std::nullopt);
}
