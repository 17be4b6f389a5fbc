// Progression names, inversion names and the language's names of the built-in entries.
#include "theory/Naming.h"

#include "language/Language.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <optional>

namespace kalvintor::theory {

std::string ProgressionChordName(int root, int spellOffset, int chordType) {
    if (spellOffset < kDoubleSharp || spellOffset > kDoubleFlat) return {};
    std::string name(AccidentalSuffix[static_cast<std::size_t>(2 - spellOffset)]);
    name += RomanNumerals[static_cast<std::size_t>(floorMod(root + spellOffset - kMiddleC + 24, 12))];
    if (chordType < kCatalogueEntries) {
        const auto suffix = ChordSymbolSuffix[static_cast<std::size_t>(ChordTypeSymbol(chordType))];
        if (!suffix.empty()) {
            name += ' ';
            name += suffix;
        }
    }
    return name;
}

std::string ProgressionName(const CatalogueEntry& entry) {
    std::string name;
    for (int k = 0; k < entry.noteCount(); ++k) {
        const auto& chord = entry.notes[static_cast<std::size_t>(k)];
        const auto chordName = ProgressionChordName(chord.pitch, chord.spellOffset, chord.extra);
        if (chordName.empty()) return {};
        if (k > 0) name += " - ";
        name += chordName;
    }
    return name;
}

std::string ChordTypeButtonCaption(int symbolIndex, const ChordCatalogue& catalogue) {
    if (symbolIndex == 0 || symbolIndex == 1) return catalogue.chordTypes().entry(symbolIndex + 1).name;
    if (symbolIndex < 0 || symbolIndex >= kChordSymbolCount) return {};
    return std::string(ChordSymbolSuffix[static_cast<std::size_t>(symbolIndex)]);
}

void RebuildInversionNames(ChordCatalogue& catalogue, const InversionWords& words) {
    auto& inversions = catalogue.inversions();
    for (int number = 1; number < FirstUserEntry(TableKind::ChordInversions); ++number) {
        auto& entry = inversions.entry(number);
        if (entry.count < 2) continue;
        const int chordType = entry.notes[0].extra;
        const int inversion = entry.notes[1].extra;
        if (chordType >= kCatalogueEntries) continue;
        std::string name = catalogue.chordTypes().entry(chordType + 1).name + " ";
        name += inversion == 0 ? words.rootPosition : std::to_string(inversion) + words.inversionSuffix;
        entry.name = cutToRoom(name, kEntryNameRoom);
    }
}

int CatalogueNameId(TableKind kind, int entry) {
    switch (kind) {
        case TableKind::ChordTypes: {
            static constexpr std::array<int, 31> ids{3000, 3002, 3004, 3006, 3007, 3008, 3010, 3018,
                                                     3014, 3026, 3022, 3028, 3020, 3030, 3016, 3012,
                                                     3024, 3048, 3050, 3052, 3054, 3056, 3058, 3040,
                                                     3042, 3044, 3046, 3032, 3034, 3036, 3038};
            return entry >= 1 && entry <= 31 ? ids[static_cast<std::size_t>(entry - 1)] : 0;
        }
        case TableKind::Intervals:
            return entry >= 1 && entry <= 25 ? 3100 + 2 * (entry - 1) : 0;
        case TableKind::Scales:
            if (entry >= 1 && entry <= 11) return 3300 + 2 * (entry - 1);
            switch (entry) {
                case 12:
                    return 3324;
                case 13:
                    return 3326;
                case 14:
                    return 3322;
                case 15:
                    return 3328;
                case 16:
                    return 3329;
                case 17:
                    return 3330;
                default:
                    return entry >= 18 && entry <= 31 ? 3332 + 2 * (entry - 18) : 0;
            }
        case TableKind::ChordInversions:
        case TableKind::Progressions:
            return 0;
    }
    return 0;
}

void ApplyCatalogueNames(ChordCatalogue& catalogue, const language::Language& language,
                         const std::string& languageName) {
    const auto& builtIn = BuiltInCatalogue();
    for (auto kind : {TableKind::ChordTypes, TableKind::Intervals, TableKind::Scales}) {
        for (int number = 1; number <= kCatalogueEntries; ++number) {
            const int id = CatalogueNameId(kind, number);
            if (id == 0) continue;
            auto& entry = catalogue.table(kind).entry(number);
            const auto& original = builtIn.table(kind).entry(number);
            // Built-in entries inside the user range keep a name the user gave them once edited.
            if (number >= FirstUserEntry(kind) &&
                (entry.count != original.count || entry.notes != original.notes))
                continue;
            entry.name = cutToRoom(language.text(id, original.name), kEntryNameRoom);
        }
    }
    catalogue.languageTag = cutToRoom(languageName, kLanguageTagRoom);
    SetNaturalBLetter(language.text(kTextNaturalBLetter, "B"));
    const InversionWords defaults;
    RebuildInversionNames(catalogue, {language.text(kTextRootPosition, defaults.rootPosition),
                                      language.text(kTextInversionSuffix, defaults.inversionSuffix)});
}

}  // namespace kalvintor::theory
