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
    // The reference is the key's note at the tonic offset: a degree of the scale (the tonic,
    // the relative minor's tonic, a scale position) is written as the key writes it, so G flat
    // major's seventh degree is F and its fourth C flat; a position between degrees takes the
    // letter of its pitch class from the key's side. The note stands as many letters above the
    // reference as the step table gives for its distance, measured from the natural pitch of
    // its current spelling.
    const auto& steps = keySig > 0 ? SharpSteps : FlatSteps;
    const auto position = static_cast<std::size_t>(floorMod(tonicOffset, kOctave));
    int referenceLetter = 0;
    if (FlatSteps[position].altered) {
        referenceLetter =
            steps[static_cast<std::size_t>(floorMod(KeyTonicLetter(keySig) + tonicOffset, kOctave))].step;
    } else {
        const int tonicLetter =
            steps[static_cast<std::size_t>(floorMod(KeyTonicLetter(keySig), kOctave))].step;
        referenceLetter = tonicLetter + steps[position].step;
    }
    const int sounding = pitch - shift;
    const int r = floorMod(sounding + spellOffset - KeyTonic(keySig) - tonicOffset, kOctave);
    const int letter = referenceLetter + steps[static_cast<std::size_t>(r)].step;
    int d = floorMod(StepSemitones(floorMod(letter, 7)) - sounding, kOctave);
    if (d > 3) d -= kOctave;
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
