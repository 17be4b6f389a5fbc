// The two tracks merged into one list of absolute times, as a playback backend delivers them.
#pragma once

#include "sound/SeqEvent.h"

#include <cstdint>
#include <vector>

namespace kalvintor::sound {

struct TimedEvent {
    double timeMs = 0;  // from the start of playback; notifications include the sync delay
    std::int64_t tick = 0;
    std::uint8_t track = kQuestionTrack;
    SeqEventKind kind = SeqEventKind::Message;  // Message or Notify, never Delay
    std::uint32_t message = 0;                  // Message
    std::uint16_t code = 0;                     // Notify
    std::uint16_t window = 0;                   // Notify

    friend bool operator==(const TimedEvent&, const TimedEvent&) = default;
};

// A beat a playback marks with a beat notice (beats per bar × 256 + beat, to the main window)
// and sounds no click of its own on: the metronome clicks there when it is on.
struct MarkedBeat {
    double timeMs = 0;  // in the sound, without the sync delay
    bool firstOfBar = false;

    friend bool operator==(const MarkedBeat&, const MarkedBeat&) = default;
};

struct Timeline {
    std::vector<TimedEvent> events;  // in time order; events of one track keep their order
    double endMs = 0;                // the end of the longer track, trailing delays included
    // The time of the last sounding event of the click track, when it has any: a caller queued
    // its own clicks there, so the free-running metronome keeps quiet until then.
    double clickTrackSoundUntilMs = -1;
    std::vector<MarkedBeat> beats;
    // The last beat notice's time: the metronome follows the playback's beats until then.
    double beatsUntilMs = -1;
};

// The events of one track with the tick each falls on; delays are folded into the ticks.
struct QueuedEvent {
    std::uint8_t track = kQuestionTrack;
    std::int64_t tick = 0;
    SeqEventKind kind = SeqEventKind::Message;
    std::uint32_t message = 0;
    std::uint16_t code = 0;
    std::uint16_t window = 0;

    friend bool operator==(const QueuedEvent&, const QueuedEvent&) = default;
};

std::vector<QueuedEvent> QueuedEvents(std::uint8_t track, const std::vector<SeqEvent>& events);
std::int64_t TrackLengthTicks(const std::vector<SeqEvent>& events);

// Both tracks start at time 0. Negative delays count as 0.
Timeline BuildTimeline(const std::vector<SeqEvent>& track1, const std::vector<SeqEvent>& track2,
                       std::int32_t tempo, std::int32_t syncDelayMs);

}  // namespace kalvintor::sound
