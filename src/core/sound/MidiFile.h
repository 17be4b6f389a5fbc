// Checking a standard MIDI file before it is handed to a player, and writing one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kalvintor::sound {

enum class MidiFileError {
    None,
    TooShort,
    NoHeader,
    BadHeaderLength,
    BadFormat,
    NoTracks,
    SmpteTiming,
    TrackMissing,
    TrackBeyondEnd,
    BadEvent,
    NoEndOfTrack,
};

struct MidiFileCheck {
    MidiFileError error = MidiFileError::None;
    int tracks = 0;
    int events = 0;
    std::uint16_t division = 0;  // ticks per quarter note
    bool Ok() const { return error == MidiFileError::None; }
};

// Walks every chunk and event of the file: the header, each track's length within the file, every
// event's length, running status, and an end-of-track in each track.
MidiFileCheck CheckMidiFile(std::span<const std::uint8_t> bytes);

// One event of a single-track file to write.
struct MidiFileEvent {
    std::uint32_t tick = 0;  // absolute, in ticks of the file's division
    std::vector<std::uint8_t> bytes;
};

// A format-0 file; events are written in tick order.
std::vector<std::uint8_t> WriteMidiFile(std::uint16_t division, std::vector<MidiFileEvent> events);

}  // namespace kalvintor::sound
