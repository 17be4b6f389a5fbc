// Note names, spelling in a key, default spelling, key names and guitar strings.
#include "theory/ChordCatalogue.h"
#include "theory/Guitar.h"
#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace kalvintor::theory;

namespace {

struct NameCase {
    int pitch;
    int offset;
    const char* name;
};

class NaturalBLetter : public ::testing::Test {
protected:
    void TearDown() override { SetNaturalBLetter("B"); }
};

}  // namespace

TEST(NoteName, NamesEveryAccidentalAndRefusesImpossibleOffsets) {
    const NameCase cases[] = {
        {70, 1, "Bb"},
        {66, -1, "F#"},
        {71, 0, "B"},
        {69, 2, "Bbb"},
        {62, -2, "C##"},
        {63, 1, "Eb"},
        {64, 0, "E"},
        {68, -1, "G#"},
        {60, 0, "C"},
        {60, -1, "B#"},
        {60, 3, "???"},
        {60, -3, "???"},
        {254, 1, "Bb"} /* pitch read as a signed byte */,
    };
    for (const auto& c : cases) EXPECT_EQ(NoteName(c.pitch, c.offset), c.name) << c.pitch << " " << c.offset;
}

TEST_F(NaturalBLetter, ComesFromTheLanguageButAFlatOnBKeepsB) {
    SetNaturalBLetter("Hans");
    EXPECT_EQ(NoteName(71, 0), "H");
    EXPECT_EQ(NoteName(70, 1), "Bb");
    EXPECT_EQ(NoteName(69, 2), "Bbb");
    SetNaturalBLetter("");
    EXPECT_EQ(NoteName(71, 0), "B");
}

TEST(SpellInKey, FollowsTheKeyFromTheStoredLetter) {
    struct Case {
        int pitch, offset, tonicOffset, keySig, expected;
    };
    const Case cases[] = {
        {66, 0, 0, 2, -1},   // D major: F sharp
        {61, 1, 0, -2, 1},   // B flat major: the minor third above B flat is D flat
        {63, 1, 0, 0, 1},    // C major: E flat stays
        {68, -1, 0, 0, -1},  // harmonic minor's G sharp stays
        {66, 0, 0, 1, -1},   // G major: the leading tone F sharp
        {70, 0, 0, -1, 1},   // F major: the fourth is B flat
        {66, 0, 0, -6, 1},   // G flat major: its tonic
        {71, 0, 0, -6, 1},   // G flat major: the fourth is C flat
        {68, 0, 0, 4, -1},   // E major: the third is G sharp
        {69, 0, -3, 0, 0},   // A minor from C major: its tonic A
        {77, 0, 11, -6, 0},  // G flat major's seventh degree is F, not G double flat
        {71, 0, 5, -6, 1},   // and its fourth degree C flat
        {78, 1, 11, -6, 1},  // the minor second above that F is G flat
        {65, 0, 11, 6, -1},  // F sharp major's seventh degree is E sharp
        {63, 0, -3, -6, 1},  // E flat minor from G flat major: its tonic E flat
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpellInKey(c.pitch, c.offset, c.tonicOffset, c.keySig), c.expected)
            << c.pitch << "/" << c.offset << " in " << c.keySig << " from " << c.tonicOffset;
}

TEST(SpellInKey, NamesEveryTonicAsItsKeyDoes) {
    const char* tonics[] = {"Gb", "Db", "Ab", "Eb", "Bb", "F", "C", "G", "D", "A", "E", "B", "F#"};
    for (int s = -6; s <= 6; ++s) {
        const int tonic = 60 + KeyTonic(s);
        EXPECT_EQ(NoteName(tonic, SpellInKey(tonic, 0, 0, s)), tonics[s + 6]) << s;
    }
}

TEST(SpellInKey, ShiftTransposesByOctavesWithoutChangingTheLetter) {
    EXPECT_EQ(SpellInKey(78, 0, 0, 2, 12), SpellInKey(66, 0, 0, 2, 0));
    EXPECT_EQ(SpellInKey(49, 1, 0, -2, -12), SpellInKey(61, 1, 0, -2, 0));
}

TEST(DefaultSpelling, BlackKeysFlatInFlatKeysAndCSharpInSharpKeys) {
    EXPECT_EQ(DefaultSpelling(61, 0), kFlat);
    EXPECT_EQ(DefaultSpelling(61, -3), kFlat);
    EXPECT_EQ(DefaultSpelling(61, 2), kSharp);
    EXPECT_EQ(DefaultSpelling(60, 2), kNatural);
    EXPECT_EQ(DefaultSpelling(64, -6), kNatural);
    EXPECT_EQ(DefaultSpelling(73, 1, 12), kSharp);
}

TEST(KeyName, TonicThenTheMajorOrMinorChordName) {
    const auto& catalogue = BuiltInCatalogue();
    EXPECT_EQ(KeyName(2, false, catalogue), "D-major");
    EXPECT_EQ(KeyName(-3, true, catalogue), "C-minor");
    EXPECT_EQ(KeyName(-6, false, catalogue), "Gb-major");
    EXPECT_EQ(KeyName(6, true, catalogue), "D#-minor");
    EXPECT_EQ(KeyName(3, true, catalogue), "F#-minor");
}

TEST(KeyTables, TonicsSignaturesAndAlterationsAgree) {
    for (int pc = 0; pc < 12; ++pc) EXPECT_EQ(KeyTonic(MajorKeySig[static_cast<std::size_t>(pc)]), pc);
    EXPECT_EQ(KeyTonicLetter(-6), 7);
    EXPECT_EQ(KeyTonicLetter(-7), 12);
    EXPECT_EQ(KeyTonicLetter(3), 9);
    // Sharps in the order F C G D A E, flats B E A D G C; letters 0 = C .. 6 = B.
    const std::string sharps = "FCGDAE";
    const std::string flats = "BEADGC";
    const std::string letters = "CDEFGAB";
    for (int s = -6; s <= 6; ++s) {
        const auto& order = s < 0 ? flats : sharps;
        std::uint8_t expected = 0;
        for (int k = 0; k < std::abs(s); ++k)
            expected |= static_cast<std::uint8_t>(1u << letters.find(order[static_cast<std::size_t>(k)]));
        EXPECT_EQ(KeySigAlterations(s), expected) << s;
    }
    EXPECT_EQ(KeySigAlterations(-6), 0x77);  // G flat major: C D E G A B, never F
    EXPECT_EQ(KeySigAlterations(7), 0);
    EXPECT_EQ(StepSemitones(-1), -1);
    EXPECT_EQ(StepSemitones(-7), -12);
    EXPECT_EQ(StepSemitones(7), 12);
    EXPECT_EQ(StepSemitones(14), 24);
    EXPECT_EQ(StepSemitones(-2), -3);
}

TEST(GuitarStrings, ChosenStringsStayAndOthersTakeTheHighestThatFits) {
    struct Case {
        int pitch, string, lift, expected;
    };
    const Case cases[] = {
        {76, 0, 0, 17},  {75, 0, 0, 18}, {52, 0, 0, 22},  {51, 0, 0, 16},
        {88, 0, 12, 17}, {60, 3, 0, 3},  {60, 19, 0, 19}, {60, 23, 0, 21},
    };
    for (const auto& c : cases) {
        CatalogueNote note{static_cast<std::uint8_t>(c.pitch), 0, 0, static_cast<std::uint8_t>(c.string)};
        AssignGuitarString(note, c.lift);
        EXPECT_EQ(note.guitarString, c.expected) << c.pitch << " on " << c.string;
    }
}

TEST(GuitarStrings, BassNotesAlwaysOnTheFifthOrSixthString) {
    for (int pitch = 24; pitch < 100; ++pitch) {
        CatalogueNote note{static_cast<std::uint8_t>(pitch), 0, 0, 0};
        AssignBassString(note);
        const int folded = (pitch - 52 + 120) % 12 + 52;
        EXPECT_EQ(note.guitarString, folded >= 57 ? 21 : 22) << pitch;
    }
}

TEST(LetterSpelling, NotesStandTheirLettersFromTheReference) {
    EXPECT_EQ(LetterIndex(60, 0), 35);
    EXPECT_EQ(LetterIndex(58, 1), 34);    // B flat below middle C
    EXPECT_EQ(LetterIndex(60, -1), 34);   // B sharp is a B
    EXPECT_EQ(LettersAboveC(56, 1), -2);  // A flat below C
    EXPECT_EQ(LettersAboveC(75, -1), 8);  // the sharp ninth is a D
    struct Case {
        int pitch, reference, referenceSpelling, letters, expected;
    };
    const Case cases[] = {
        {66, 62, 0, 2, kSharp},         // the third of D major
        {70, 66, 1, 2, kFlat},          // the third of G flat major: B flat
        {69, 66, 1, 2, kDoubleFlat},    // a diminished chord's third on G flat: B double flat
        {67, 68, -1, 6, kDoubleSharp},  // G as the seventh of G sharp's letters: F double sharp
        {60, 72, 0, -14, kNatural},     // two octaves below: octaves never change the letter
        {65, 60, 0, 1, -3},             // F is no D of any accidental: beyond a double sharp
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpellAtLetters(c.pitch, c.reference, c.referenceSpelling, c.letters), c.expected)
            << c.pitch << " " << c.letters << " letters from " << c.reference;
}

TEST(LetterSpelling, TheReferenceTakesAnotherNameOnlyToSpareDoubleAccidentals) {
    // A diminished seventh on E flat: E flat, G flat, B double flat, D double flat.
    const LetterNote dim7[] = {{63, 0}, {66, 2}, {69, 4}, {72, 6}};
    EXPECT_EQ(ChooseReferenceSpelling(dim7, 63, kFlat, -6, true), kSharp);  // D sharp F sharp A C
    EXPECT_EQ(ChooseReferenceSpelling(dim7, 63, kFlat, -6, false), kFlat);  // a degree keeps its name
    // G flat major has no double accidental: its name stays.
    const LetterNote major[] = {{66, 0}, {70, 2}, {73, 4}};
    EXPECT_EQ(ChooseReferenceSpelling(major, 66, kFlat, -6, true), kFlat);
    // A name that cannot write a note gives way even for a degree.
    const LetterNote augmented[] = {{67, 0}, {71, 2}, {75, 4}};
    EXPECT_EQ(ChooseReferenceSpelling(augmented, 67, kDoubleSharp, 5, false), kNatural);
}

TEST(LetterSpelling, NotesNoLetterBindsAreWrittenPlainly) {
    struct Case {
        int pitch, spelling, keySig, expected;
    };
    const Case cases[] = {
        {65, kSharp, 4, kNatural},        // E sharp in E major is F
        {62, kDoubleSharp, 4, kNatural},  // C double sharp is D
        {60, kSharp, 4, kNatural},        // B sharp is C
        {59, kFlat, -6, kFlat},           // C flat is in G flat major's signature
        {64, kFlat, -5, kNatural},        // F flat is not in D flat major's
        {65, kSharp, 6, kSharp},          // F sharp major carries E sharp
        {62, kDoubleFlat, -6, kNatural},  // E double flat is D
        {66, kSharp, -3, kSharp},         // an ordinary sharp stays
        {63, kFlat, 2, kFlat},            // and an ordinary flat
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlainerSpelling(c.pitch, c.spelling, c.keySig), c.expected)
            << c.pitch << " in " << c.keySig;
}
