// The read-only tables of pitch spelling and naming: keys, letter steps, syllables, numerals,
// chord symbols, diatonic placements and the guitar's open strings.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kalvintor::theory {

// MIDI numbers the catalogue and the staff work with.
inline constexpr int kMiddleC = 60;
inline constexpr int kLowestStaffPitch = 36;
inline constexpr int kHighestStaffPitch = 108;
inline constexpr int kOctave = 12;

// SpellOffset: pitch of the written letter without accidental minus the sounding pitch.
inline constexpr int kDoubleFlat = 2;
inline constexpr int kFlat = 1;
inline constexpr int kNatural = 0;
inline constexpr int kSharp = -1;
inline constexpr int kDoubleSharp = -2;

// Remainder that is never negative.
constexpr int floorMod(int a, int n) {
    return ((a % n) + n) % n;
}
constexpr int floorDiv(int a, int n) {
    return (a - floorMod(a, n)) / n;
}

// Tonic pitch class of a major key -> its key signature (+ sharps, - flats).
inline constexpr std::array<int, 12> MajorKeySig{0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};

// Key signature -> tonic pitch class of the major key.
constexpr int KeyTonic(int keySig) {
    return floorMod(7 * keySig, 12);
}

// Key signature -> the pitch class of the tonic's letter: the tonic's own, except in far flat
// keys, whose tonic letter lies above it (G flat major: G).
int KeyTonicLetter(int keySig);

// Letters (0 = C .. 6 = B) altered by a key signature of -6..+6, as a bit set (bit = letter).
std::uint8_t KeySigAlterations(int keySig);

// Letter step from C (0..6) and whether the pitch class is an altered letter.
struct LetterStep {
    int step;
    bool altered;
};
inline constexpr std::array<LetterStep, 12> SharpSteps{{{0, false},
                                                        {0, true},
                                                        {1, false},
                                                        {1, true},
                                                        {2, false},
                                                        {3, false},
                                                        {3, true},
                                                        {4, false},
                                                        {4, true},
                                                        {5, false},
                                                        {5, true},
                                                        {6, false}}};
inline constexpr std::array<LetterStep, 12> FlatSteps{{{0, false},
                                                       {1, true},
                                                       {1, false},
                                                       {2, true},
                                                       {2, false},
                                                       {3, false},
                                                       {4, true},
                                                       {4, false},
                                                       {5, true},
                                                       {5, false},
                                                       {6, true},
                                                       {6, false}}};

// Semitones above C of letter step k, counting whole octaves for k outside 0..6.
constexpr int StepSemitones(int step) {
    constexpr std::array<int, 7> major{0, 2, 4, 5, 7, 9, 11};
    return 12 * floorDiv(step, 7) + major[static_cast<std::size_t>(floorMod(step, 7))];
}

inline constexpr std::array<std::string_view, 12> SolfegeSyllables{"do", "ri",  "re", "me", "mi", "fa",
                                                                   "fi", "sol", "le", "la", "te", "ti"};
inline constexpr std::array<std::string_view, 12> RomanNumerals{"I",  "bII", "II",  "bIII", "III",  "IV",
                                                                "bV", "V",   "bVI", "VI",   "bVII", "VII"};
// Indexed by 2 - SpellOffset.
inline constexpr std::array<std::string_view, 5> AccidentalSuffix{"bb", "b", "", "#", "##"};

inline constexpr int kChordSymbolCount = 19;
inline constexpr std::array<std::string_view, kChordSymbolCount> ChordSymbolSuffix{
    "",     "mi",    "mb5",     "+",     "sus2",   "sus4", "7",   "mi7",   "maj7", "mi,maj7",
    "dim7", "7(b5)", "mi7(b5)", "7(#5)", "sus4,7", "6",    "mi6", "7(b9)", "7(#9)"};

// 0-based chord type -> symbol index (types without a symbol of their own show none).
int ChordTypeSymbol(int chordType);
// Symbol index -> 0-based chord type: the chord-type buttons of the progression exercise.
inline constexpr std::array<int, kChordSymbolCount> ProgressionChordTypes{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 23, 25};

// Positions (semitones above a major tonic) where an interval of a size (mod 12) lies inside
// the major scale.
struct Placements {
    int count;
    std::array<int, 7> positions;
};
inline constexpr std::array<Placements, 12> DiatonicPlacements{{
    {7, {0, 2, 4, 5, 7, 9, 11}},
    {2, {4, 11}},
    {5, {0, 2, 5, 7, 9}},
    {3, {2, 4, 9}},
    {3, {0, 5, 7}},
    {6, {0, 2, 4, 7, 9, 11}},
    {2, {5, 11}},
    {6, {0, 2, 4, 5, 7, 9}},
    {2, {4, 9}},
    {4, {0, 2, 5, 7}},
    {5, {2, 4, 7, 9, 11}},
    {2, {0, 5}},
}};

// Written pitch of the open guitar strings, index 1 = highest string (index 0 unused).
inline constexpr int kGuitarStrings = 6;
inline constexpr std::array<int, 7> GuitarOpenStrings{0, 76, 71, 67, 62, 57, 52};
// Guitar string byte: 1..6 chosen by the user, 16 + n assigned automatically.
inline constexpr int kAutoStringBase = 16;

}  // namespace kalvintor::theory
