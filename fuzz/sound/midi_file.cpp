// Fuzz target: MIDI files checked before a player gets them.
#include "sound/MidiFile.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kalvintor::sound::MidiFileCheck check = kalvintor::sound::CheckMidiFile(std::span(data, size));
    // A file that passes has a header, at least one complete track and a division.
    if (check.Ok() && (check.tracks < 1 || check.division == 0)) __builtin_trap();
    return 0;
}
