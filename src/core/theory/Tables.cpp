// Key tables that are not plain arrays.
#include "theory/Tables.h"

namespace kalvintor::theory {

int KeyTonicLetter(int keySig) {
    // Six flats and beyond: the letter of the flattened tonic lies above its pitch class.
    constexpr std::array<int, 8> flatSide{7, 12, 5, 11, 4, 8, 1, 0};  // key signatures -6 .. -13
    if (keySig <= -6 && keySig >= -13) return flatSide[static_cast<std::size_t>(-6 - keySig)];
    return KeyTonic(keySig);
}

std::uint8_t KeySigAlterations(int keySig) {
    // Bit per letter: C 1, D 2, E 4, F 8, G 16, A 32, B 64.
    constexpr std::array<std::uint8_t, 13> sets{
        0x77,  // -6: C D E G A B
        0x76,  // -5: D E G A B
        0x66,  // -4: D E A B
        0x64,  // -3: E A B
        0x44,  // -2: E B
        0x40,  // -1: B
        0x00,  //  0
        0x08,  // +1: F
        0x09,  // +2: C F
        0x19,  // +3: C F G
        0x1B,  // +4: C D F G
        0x3B,  // +5: C D F G A
        0x3F,  // +6: C D E F G A
    };
    if (keySig < -6 || keySig > 6) return 0;
    return sets[static_cast<std::size_t>(keySig + 6)];
}

int ChordTypeSymbol(int chordType) {
    if (chordType >= 0 && chordType <= 16) return chordType;
    if (chordType == 23) return 17;
    if (chordType == 25) return 18;
    return 0;
}

}  // namespace kalvintor::theory
