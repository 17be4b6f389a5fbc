// The start-menu tune: a short piece in C major for vibraphone and bass, as a MIDI file.
#pragma once

#include <cstdint>
#include <vector>

namespace kalvintor::mediagen {

std::vector<std::uint8_t> IntroTune();

}  // namespace kalvintor::mediagen
