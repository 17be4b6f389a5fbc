// Packed little-endian fields of the fixed-size records the program stores in its files.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace kalvintor::records {

using Bytes = std::span<const std::uint8_t>;
using MutableBytes = std::span<std::uint8_t>;

// Reads an integer of type T stored little-endian at `offset`. The caller guarantees the room.
template <typename T>
    requires std::is_integral_v<T>
T getLE(Bytes bytes, std::size_t offset) {
    using U = std::make_unsigned_t<T>;
    U value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<U>(value | static_cast<U>(static_cast<U>(bytes[offset + i]) << (8 * i)));
    return static_cast<T>(value);
}

template <typename T>
    requires std::is_integral_v<T>
void putLE(MutableBytes bytes, std::size_t offset, T value) {
    using U = std::make_unsigned_t<T>;
    auto u = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[offset + i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFFu);
}

inline std::uint8_t getU8(Bytes b, std::size_t o) { return b[o]; }
inline std::int8_t getI8(Bytes b, std::size_t o) { return static_cast<std::int8_t>(b[o]); }
inline std::uint16_t getU16(Bytes b, std::size_t o) { return getLE<std::uint16_t>(b, o); }
inline std::int16_t getI16(Bytes b, std::size_t o) { return getLE<std::int16_t>(b, o); }
inline std::uint32_t getU32(Bytes b, std::size_t o) { return getLE<std::uint32_t>(b, o); }
inline std::int32_t getI32(Bytes b, std::size_t o) { return getLE<std::int32_t>(b, o); }

inline void putU8(MutableBytes b, std::size_t o, std::uint8_t v) { b[o] = v; }
inline void putI8(MutableBytes b, std::size_t o, std::int8_t v) { b[o] = static_cast<std::uint8_t>(v); }
inline void putU16(MutableBytes b, std::size_t o, std::uint16_t v) { putLE(b, o, v); }
inline void putI16(MutableBytes b, std::size_t o, std::int16_t v) { putLE(b, o, v); }
inline void putU32(MutableBytes b, std::size_t o, std::uint32_t v) { putLE(b, o, v); }
inline void putI32(MutableBytes b, std::size_t o, std::int32_t v) { putLE(b, o, v); }

// Booleans are one byte: any non-zero byte reads as true, true is written as 1.
inline bool getBool(Bytes b, std::size_t o) { return b[o] != 0; }
inline void putBool(MutableBytes b, std::size_t o, bool v) { b[o] = v ? 1 : 0; }

// IEEE 754 doubles (date-times, durations), little-endian.
double getF64(Bytes b, std::size_t o);
void putF64(MutableBytes b, std::size_t o, double v);

// ShortString[room]: one length byte, then `room` bytes of code page 1252 text.
// On reading, a length byte beyond the room is clamped to the room. The text is returned as UTF-8.
std::string getShortString(Bytes b, std::size_t o, std::size_t room);
// Writes `utf8` as code page 1252, cut to the room. Bytes of the room beyond the new length are
// left as they were, so a record read and written back keeps every byte.
void putShortString(MutableBytes b, std::size_t o, std::size_t room, std::string_view utf8);

// The same as a value type, for records that name their strings by room.
template <std::size_t Room>
struct ShortString {
    static_assert(Room >= 1 && Room <= 255);
    static constexpr std::size_t room = Room;
    static constexpr std::size_t size = Room + 1;  // bytes taken in a record

    static std::string read(Bytes b, std::size_t o) { return getShortString(b, o, Room); }
    static void write(MutableBytes b, std::size_t o, std::string_view utf8) {
        putShortString(b, o, Room, utf8);
    }
};

}  // namespace kalvintor::records
