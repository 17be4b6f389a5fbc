// The lists of the program settings: General MIDI instruments and percussion keys in short form,
// the names of the remote-control keys, and the "Drum" entry of the rhythm and metronome sounds.
#pragma once

#include <cstdint>
#include <string>

namespace kalvintor::settings {

inline constexpr int kProgramCount = 128;
// The 129th entry of the rhythm and metronome program lists: the percussion channel.
inline constexpr int kDrumEntry = 128;
// Channel 10 as users count it (9 as stored) plays percussion.
inline constexpr int kDrumChannel = 9;
inline constexpr int kFirstPercussionKey = 27;
inline constexpr int kLastPercussionKey = 87;

// "0 - Piano 1" … "127 - Gun Shot"; entry 128 is "Drum". Empty outside 0..128.
std::string InstrumentEntry(int program);
// "27 - High Q" … "87 - Open Surdo"; keys without a percussion name read "12 -". Empty outside 0..127.
std::string PercussionKeyEntry(int key);
// The name a remote-control key field shows: the note's letter and octave, 60 = "C3".
std::string ControlKeyName(int note);

// What the program list of a rhythm or metronome sound shows for a stored sound: "Drum" on the
// percussion channel, the program otherwise.
int ProgramListEntry(std::uint16_t channel, std::uint16_t program);

}  // namespace kalvintor::settings
