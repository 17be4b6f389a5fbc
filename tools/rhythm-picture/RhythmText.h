// Rhythms written as short text for the picture: value letters, rests, dots, ties and triplets.
#pragma once

#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/RhythmNote.h"

#include <optional>
#include <string_view>

namespace kalvintor::tools {

// Tokens separated by spaces: w h q e s t (whole .. thirty-second), "r" in front for a rest, "."
// after for a dotted note, "~" after for a tie to the next note, "3" in front for a triplet group
// of three such notes; "|" is ignored and only helps the reader. Bar ends follow from the meter;
// the voice is beamed. Nothing for unknown tokens.
std::optional<rhythm::Voice> ParseRhythm(std::string_view text, const rhythm::Meter& meter);

}  // namespace kalvintor::tools
