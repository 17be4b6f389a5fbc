// What delivers a started timeline and the metronome to an output at the right moments.
#pragma once

#include "sound/Metronome.h"
#include "sound/SeqEvent.h"
#include "sound/Timeline.h"

#include <cstdint>

namespace kalvintor::sound {

class PlaybackBackend {
public:
    virtual ~PlaybackBackend() = default;
    // Starts the timeline now, replacing any playback. Notifications go to the sink tagged with
    // the generation; the sink may be null.
    virtual void Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) = 0;
    // Continues the playback of this generation with a longer timeline (its tracks with events
    // appended), as PlaybackCursor::Extend; another generation or none starts anew.
    virtual void Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) = 0;
    // Stops and discards the playback: none of its messages or notifications follows.
    virtual void Clear() = 0;
    virtual void SetMetronome(const MetronomeSettings& metronome) = 0;
};

}  // namespace kalvintor::sound
