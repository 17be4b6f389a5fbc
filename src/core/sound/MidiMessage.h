// Packing and unpacking of MIDI short messages, and the MIDI numbers the program uses.
#pragma once

#include <cstdint>

namespace kalvintor::sound {

// Status bytes (channel in the low nibble).
inline constexpr std::uint8_t kNoteOffStatus = 0x80;
inline constexpr std::uint8_t kNoteOnStatus = 0x90;
inline constexpr std::uint8_t kControllerStatus = 0xB0;
inline constexpr std::uint8_t kProgramChangeStatus = 0xC0;
inline constexpr std::uint8_t kActiveSensing = 0xFE;
inline constexpr std::uint8_t kTimingClock = 0xF8;

// Controller numbers.
inline constexpr std::uint8_t kDamperPedal = 64;
inline constexpr std::uint8_t kResetAllControllers = 121;
inline constexpr std::uint8_t kAllNotesOff = 123;
inline constexpr std::uint8_t kPedalDown = 127;

inline constexpr int kChannelCount = 16;
inline constexpr int kMaxDataValue = 127;

// A short message: status | data1 << 8 | data2 << 16.
constexpr std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return std::uint32_t{status} | std::uint32_t{data1} << 8 | std::uint32_t{data2} << 16;
}

constexpr std::uint8_t Channel(std::uint8_t channel) {
    return channel & 0x0F;
}

constexpr std::uint32_t NoteOnMessage(std::uint8_t channel, std::uint8_t key, std::uint8_t velocity) {
    return PackShortMessage(kNoteOnStatus + Channel(channel), key & 0x7F, velocity & 0x7F);
}
// Note-off carries velocity 0.
constexpr std::uint32_t NoteOffMessage(std::uint8_t channel, std::uint8_t key) {
    return PackShortMessage(kNoteOffStatus + Channel(channel), key & 0x7F, 0);
}
constexpr std::uint32_t ProgramChangeMessage(std::uint8_t channel, std::uint8_t program) {
    return PackShortMessage(kProgramChangeStatus + Channel(channel), program & 0x7F, 0);
}
// Controller messages sent by the program carry value 0.
constexpr std::uint32_t ControllerMessage(std::uint8_t channel, std::uint8_t controller) {
    return PackShortMessage(kControllerStatus + Channel(channel), controller & 0x7F, 0);
}

constexpr std::uint8_t StatusOf(std::uint32_t message) {
    return message & 0xFF;
}
constexpr std::uint8_t Data1Of(std::uint32_t message) {
    return (message >> 8) & 0xFF;
}
constexpr std::uint8_t Data2Of(std::uint32_t message) {
    return (message >> 16) & 0xFF;
}

constexpr bool IsNoteOn(std::uint32_t message) {
    return (StatusOf(message) & 0xF0) == kNoteOnStatus && Data2Of(message) > 0;
}

// The number of data bytes that follow a status byte (system exclusive and undefined: 0).
constexpr int DataLength(std::uint8_t status) {
    switch (status & 0xF0) {
        case 0xC0:
        case 0xD0:
            return 1;
        case 0xF0:
            return status == 0xF1 || status == 0xF3 ? 1 : status == 0xF2 ? 2 : 0;
        default:
            return status >= 0x80 ? 2 : 0;
    }
}

}  // namespace kalvintor::sound
