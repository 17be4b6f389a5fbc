// The events of the sequencer's two tracks and the notifications they post back.
#pragma once

#include <cstdint>

namespace kalvintor::sound {

enum class SeqEventKind : std::uint8_t {
    Message = 0,  // value: a packed MIDI short message
    Delay = 1,    // value: ticks to wait before the next event
    Notify = 2,   // value: code << 16 | 16-bit window handle
};

inline constexpr std::uint8_t kQuestionTrack = 1;  // questions and the rhythm line
inline constexpr std::uint8_t kClickTrack = 2;     // clicks and single test sounds

struct SeqEvent {
    std::int32_t value = 0;
    SeqEventKind kind = SeqEventKind::Message;

    friend bool operator==(const SeqEvent&, const SeqEvent&) = default;
};

constexpr std::int32_t NotifyValue(std::uint16_t code, std::uint16_t window) {
    return static_cast<std::int32_t>(std::uint32_t{code} << 16 | window);
}
constexpr std::uint16_t NotifyCodeOf(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) >> 16);
}
constexpr std::uint16_t NotifyWindowOf(std::int32_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}

// A notification as the receiving window gets it, with the playback it belongs to.
struct Notification {
    std::uint16_t window = 0;
    std::uint16_t code = 0;
    std::uint64_t generation = 0;

    friend bool operator==(const Notification&, const Notification&) = default;
};

// Receives notifications when they fall due, on whatever thread plays them; the receiver hands
// them on to the user-interface thread.
class NotificationSink {
public:
    virtual ~NotificationSink() = default;
    virtual void Notify(const Notification& notification) = 0;
};

}  // namespace kalvintor::sound
