// Progression names, the derived inversion names and the names a language load writes.
#include "language/Language.h"
#include "theory/ChordCatalogue.h"
#include "theory/Naming.h"
#include "theory/Spelling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kalvintor;
using namespace kalvintor::theory;

TEST(ProgressionChordName, AccidentalNumeralAndSymbol) {
    EXPECT_EQ(ProgressionChordName(61, 1, 11), "bII 7(b5)");
    EXPECT_EQ(ProgressionChordName(67, 0, 0), "V");
    EXPECT_EQ(ProgressionChordName(53, 0, 1), "IV mi");
    EXPECT_EQ(ProgressionChordName(67, 0, 23), "V 7(b9)");
    EXPECT_EQ(ProgressionChordName(62, 0, 20), "II");  // no symbol of its own
    EXPECT_EQ(ProgressionChordName(62, 0, 60), "II");  // outside the table: no symbol
    EXPECT_EQ(ProgressionChordName(62, 3, 0), "");
}

TEST(ChordTypeButtons, MajorAndMinorByNameTheRestBySymbol) {
    auto catalogue = BuiltInCatalogue();
    catalogue.chordTypes().entry(2).name = "Moll";
    EXPECT_EQ(ChordTypeButtonCaption(0, catalogue), "Major");
    EXPECT_EQ(ChordTypeButtonCaption(1, catalogue), "Moll");
    EXPECT_EQ(ChordTypeButtonCaption(10, catalogue), "dim7");
    EXPECT_EQ(ChordTypeButtonCaption(18, catalogue), "7(#9)");
    EXPECT_EQ(ChordTypeButtonCaption(19, catalogue), "");
}

TEST(ProgressionName, EveryBuiltInProgressionIsNamedAsListed) {
    const std::vector<std::string> expected{"V - I",
                                            "V - I mi",
                                            "V 7 - I",
                                            "V 7 - I mi",
                                            "VII dim7 - I",
                                            "VII dim7 - I mi",
                                            "V mi - I mi",
                                            "IV - V - I",
                                            "IV mi - V - I",
                                            "II mi - V - I",
                                            "II mi7 - V 7 - I maj7",
                                            "II mi7 - V 7 - I mi7",
                                            "II mi7(b5) - V 7(b9) - I maj7",
                                            "II mi7(b5) - V 7(b9) - I mi7",
                                            "II mi7(b5) - bII 7(b5) - I maj7",
                                            "II mi7(b5) - bII 7(b5) - I mi7",
                                            "IV - I",
                                            "IV mi - I",
                                            "IV - I mi",
                                            "IV mi - I mi",
                                            "I - IV - I",
                                            "V - IV - I",
                                            "III mi - IV - I",
                                            "II mi - I",
                                            "III mi - I",
                                            "VI mi - I",
                                            "bII 7(b5) - I maj7",
                                            "bII 7(b5) - I mi",
                                            "bIII - I",
                                            "bIII - I mi",
                                            "bVI - I",
                                            "bVI - I mi",
                                            "I - VI mi - IV - V - I",
                                            "I mi - bVI - bVII - I mi",
                                            "I mi - bVI - IV mi - V - I mi"};
    const auto& progressions = BuiltInCatalogue().progressions();
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ProgressionName(progressions.entries[i]), expected[i]) << "entry " << i + 1;
    EXPECT_EQ(ProgressionName(progressions.entry(36)), "");
    CatalogueEntry broken = progressions.entry(1);
    broken.notes[1].spellOffset = 5;
    EXPECT_EQ(ProgressionName(broken), "");
}

TEST(CatalogueNames, ALanguageNamesBuiltInEntriesAndTheInversionsFollow) {
    language::Language language;
    language.apply({{3000, "Dur"},
                    {3002, "Moll"},
                    {3100, "Prim"},
                    {3322, "Blues-Skala"},
                    {3329, std::string(60, 'x')},
                    {3060, "(Grundstellung)"},
                    {3061, ". Umk."},
                    {5300, "H"}},
                   language::kLoadAll);
    ChordCatalogue catalogue = BuiltInCatalogue();
    ApplyCatalogueNames(catalogue, language, "Deutsch und noch mehr");

    EXPECT_EQ(catalogue.chordTypes().entry(1).name, "Dur");
    EXPECT_EQ(catalogue.chordTypes().entry(2).name, "Moll");
    EXPECT_EQ(catalogue.chordTypes().entry(9).name, "maj7");  // no text: the default name
    EXPECT_EQ(catalogue.intervals().entry(1).name, "Prim");
    EXPECT_EQ(catalogue.scales().entry(14).name, "Blues-Skala");
    EXPECT_EQ(catalogue.scales().entry(16).name, std::string(50, 'x'));
    EXPECT_EQ(catalogue.inversions().entry(1).name, "Dur (Grundstellung)");
    EXPECT_EQ(catalogue.inversions().entry(5).name, "Moll 1. Umk.");
    EXPECT_EQ(catalogue.languageTag, "Deutsch und noc");
    EXPECT_EQ(NoteName(71, 0), "H");
    EXPECT_EQ(KeyName(5, false, catalogue), "H-dur");
    SetNaturalBLetter("B");
}

TEST(CatalogueNames, BuiltInEntriesInTheUserRangeKeepTheUsersName) {
    language::Language language;
    language.apply({{3032, "Neapolitan sixth"}, {3034, "Italian sixth"}}, language::kLoadAll);
    ChordCatalogue catalogue = BuiltInCatalogue();
    catalogue.chordTypes().entry(29).notes[0].pitch = 55;
    catalogue.chordTypes().entry(29).name = "Mine";
    ApplyCatalogueNames(catalogue, language, "English");
    EXPECT_EQ(catalogue.chordTypes().entry(28).name, "Neapolitan sixth");
    EXPECT_EQ(catalogue.chordTypes().entry(29).name, "Mine");
}
