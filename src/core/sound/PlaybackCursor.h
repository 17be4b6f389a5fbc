// Walks a started timeline and the metronome against a clock: what is due by a given moment.
#pragma once

#include "sound/Metronome.h"
#include "sound/SeqEvent.h"
#include "sound/Timeline.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kalvintor::sound {

struct DueItem {
    double atMs = 0;  // on the backend's clock
    bool isNotification = false;
    bool metronome = false;  // a click of the free-running metronome, not of the timeline
    std::uint32_t message = 0;
    Notification notification;
};

// Not thread-safe: a backend keeps it under its own lock. Times are on the backend's clock.
class PlaybackCursor {
public:
    void Start(const Timeline& timeline, std::uint64_t generation, double nowMs);
    // Continues the playback with a timeline that begins as the one started (the same tracks
    // with events appended): what was delivered is not delivered again, the rest keeps its place.
    // When the first event still to come is already late (the playback ran dry), the rest moves
    // so that it sounds now, keeping its spacing. Without a playback this is Start.
    void Extend(const Timeline& timeline, std::uint64_t generation, double nowMs);
    void Clear();
    void SetMetronome(const MetronomeSettings& metronome, double nowMs);

    // The time of the next item, if any is pending.
    std::optional<double> NextDueMs() const;
    // Appends the items due at or before untilMs in time order.
    void TakeDue(double untilMs, std::vector<DueItem>& out);

private:
    void TakeMetronome(double untilMs, std::vector<DueItem>& out);
    void Click(double atMs, const settings::TSoundRec& sound, std::vector<DueItem>& out);
    void MuteUnderPlayback();

    Timeline timeline_;
    std::size_t next_ = 0;
    std::size_t nextBeat_ = 0;
    std::uint64_t generation_ = 0;
    double startMs_ = 0;
    bool started_ = false;
    // What the playback has delivered: the events per track, and the time of the last beat.
    std::size_t deliveredTrack1_ = 0;
    std::size_t deliveredTrack2_ = 0;
    double lastBeatMs_ = -1;

    MetronomeSettings metronome_;
    MetronomeGrid grid_;
    double anchorMs_ = 0;
    double nextClickMs_ = 0;
    std::optional<double> clickOffMs_;
    std::uint32_t clickOff_ = 0;
};

}  // namespace kalvintor::sound
