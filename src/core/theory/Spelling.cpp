// Note names and spelling rules.
#include "theory/Spelling.h"

#include "theory/ChordCatalogue.h"
#include "theory/Tables.h"

#include <cctype>

namespace kalvintor::theory {
namespace {

std::string& naturalB() {
    static std::string letter = "B";
    return letter;
}

}  // namespace

void SetNaturalBLetter(std::string_view letter) {
    // The first character of the text; an empty text keeps "B".
    if (letter.empty()) {
        naturalB() = "B";
        return;
    }
    std::size_t length = 1;
    while (length < letter.size() && (static_cast<unsigned char>(letter[length]) & 0xC0u) == 0x80u) ++length;
    naturalB() = std::string(letter.substr(0, length));
}

const std::string& NaturalBLetter() {
    return naturalB();
}

std::array<std::string, 12> NoteLetters() {
    return {"C", " ", "D", " ", "E", "F", " ", "G", " ", "A", "B", NaturalBLetter()};
}

std::string NoteName(int pitch, int spellOffset) {
    if (spellOffset < kDoubleSharp || spellOffset > kDoubleFlat) return "???";
    const int signedPitch = static_cast<std::int8_t>(static_cast<std::uint8_t>(pitch));
    int k = floorMod(signedPitch + 12 + spellOffset, 12);
    if (k == 11 && spellOffset > 0) k = 10;
    std::string name = NoteLetters()[static_cast<std::size_t>(k)];
    name += AccidentalSuffix[static_cast<std::size_t>(2 - spellOffset)];
    return name;
}

int SpellInKey(int pitch, int spellOffset, int tonicOffset, int keySig, int shift) {
    // The natural pitch, the tonic at or below it and the letter count are bytes, as the
    // stored notes are.
    const auto n = static_cast<std::uint8_t>(pitch - shift + spellOffset);
    const int q = (n - (KeyTonicLetter(keySig) + tonicOffset)) % 12;
    const auto f = static_cast<std::uint8_t>(n - q);
    const int r = floorMod(n - (KeyTonic(keySig) + tonicOffset), 12);
    const auto& steps = keySig > 0 ? SharpSteps : FlatSteps;
    const int letters = steps[f % 12].step + steps[static_cast<std::size_t>(r)].step;
    const auto g = static_cast<std::uint8_t>((f / 12) * 12 + StepSemitones(letters));
    int d = static_cast<std::int8_t>(static_cast<std::uint8_t>(g - (pitch - shift)));
    if (d > 3)
        d -= 12;
    else if (d < -2)
        d += 12;
    return d;
}

int DefaultSpelling(int pitch, int keySig, int shift) {
    const auto pc = static_cast<std::size_t>(floorMod(pitch - shift, 12));
    if (keySig <= 0) return FlatSteps[pc].altered ? kFlat : kNatural;
    return SharpSteps[pc].altered ? kSharp : kNatural;
}

std::string KeyName(int keySig, bool minor, const ChordCatalogue& catalogue) {
    const int tonic = kMiddleC + floorMod(KeyTonic(keySig) - (minor ? 3 : 0), 12);
    std::string name = NoteName(tonic, DefaultSpelling(tonic, keySig)) + "-";
    for (char c : catalogue.chordTypes().entry(minor ? 2 : 1).name)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace kalvintor::theory
