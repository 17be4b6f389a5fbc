// The messages the sound side posts to the user-interface thread, as Qt events, and the sinks
// that post them from the audio, playback, MIDI and microphone threads.
#pragma once

#include "app/Clock.h"
#include "sound/MidiDevice.h"
#include "sound/SeqEvent.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdint>
#include <functional>

namespace kalvintor::sound {

// The message numbers the rest of the program knows them by.
inline constexpr int kNotificationMessage = 1280;
inline constexpr int kMicNoteMessage = 1281;
inline constexpr int kMicEventMessage = 1282;
inline constexpr int kMidiDataMessage = 0x3C3;
// The start-menu tune has played to its end.
inline constexpr int kMidiFileEndMessage = 1283;

constexpr QEvent::Type SoundEventType(int message) {
    return static_cast<QEvent::Type>(QEvent::User + message);
}

// Message 1280: a notification queued with QueueNotify. The receiver checks its generation
// against TSequencer::IsCurrent before acting on it. It is made when it falls due, so `atMs` is
// its time on the millisecond clock however long it then waits in the queue.
class NotificationEvent final : public QEvent {
public:
    explicit NotificationEvent(const Notification& n)
        : QEvent(SoundEventType(kNotificationMessage)), notification(n) {}
    Notification notification;
    std::int64_t atMs = app::MillisecondClock();
};

// MIDI input data: one packed short message, with the time it arrived (a tap's moment).
class MidiDataEvent final : public QEvent {
public:
    explicit MidiDataEvent(std::uint32_t m) : QEvent(SoundEventType(kMidiDataMessage)), message(m) {}
    std::uint32_t message;
    std::int64_t atMs = app::MillisecondClock();
};

// Messages 1281 and 1282 of the microphone: wParam and lParam as the detector posts them.
class MicEvent final : public QEvent {
public:
    MicEvent(int messageNumber, std::uint32_t w, std::int64_t l, std::uint64_t g)
        : QEvent(SoundEventType(messageNumber)), wParam(w), lParam(l), generation(g) {}
    std::uint32_t wParam;
    std::int64_t lParam;
    std::uint64_t generation;
};

class MidiFileEndEvent final : public QEvent {
public:
    MidiFileEndEvent() : QEvent(SoundEventType(kMidiFileEndMessage)) {}
};

// Posts notifications to a receiver that lives as long as the sink.
class QtNotificationSink final : public NotificationSink {
public:
    explicit QtNotificationSink(QObject* receiver) : receiver_(receiver) {}
    void Notify(const Notification& n) override {
        QCoreApplication::postEvent(receiver_, new NotificationEvent(n));
    }

private:
    QObject* receiver_;
};

class QtMidiInputSink final : public MidiInputSink {
public:
    explicit QtMidiInputSink(QObject* receiver) : receiver_(receiver) {}
    void MidiData(std::uint32_t message) override {
        QCoreApplication::postEvent(receiver_, new MidiDataEvent(message));
    }

private:
    QObject* receiver_;
};

// What the microphone component posts with (Microphone::Post), as MicEvents to the receiver.
inline std::function<void(int, std::uint32_t, std::int64_t, std::uint64_t)> PostMicEvents(QObject* receiver) {
    return [receiver](int message, std::uint32_t w, std::int64_t l, std::uint64_t generation) {
        QCoreApplication::postEvent(receiver, new MicEvent(message, w, l, generation));
    };
}

}  // namespace kalvintor::sound
