// Playback on a thread of its own: it walks the timeline and the metronome and hands each due
// item to a target: the built-in synthesizer (stamped ahead on its sample clock) or a MIDI port
// (sent at its time).
#pragma once

#include "sound/PlaybackBackend.h"
#include "sound/PlaybackCursor.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace kalvintor::sound {

// The real-time priority the playback thread asks for; JACK's own threads run at 70 and above.
inline constexpr int kPlaybackPriority = 20;

class PlaybackTarget {
public:
    virtual ~PlaybackTarget() = default;
    // The target's clock in milliseconds.
    virtual double NowMs() const = 0;
    // How far ahead of its time an item is handed over: 0 for a port, which sends at once.
    virtual double LookaheadMs() const = 0;
    virtual void Deliver(const DueItem& item) = 0;
    // Drops items handed over ahead of time that have not sounded yet.
    virtual void Retract(bool metronome) = 0;
};

class ScheduledPlayback final : public PlaybackBackend {
public:
    // With `threaded` false nothing moves until Pump is called (offline rendering).
    ScheduledPlayback(PlaybackTarget& target, bool threaded);
    ~ScheduledPlayback() override;
    ScheduledPlayback(const ScheduledPlayback&) = delete;
    ScheduledPlayback& operator=(const ScheduledPlayback&) = delete;

    void Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Clear() override;
    void SetMetronome(const MetronomeSettings& metronome) override;

    // One pass: hands over what falls due within the lookahead, posts due notifications.
    // Returns when the next item falls due on the target's clock.
    std::optional<double> Pump();

private:
    void Run(std::stop_token stop);

    struct PendingNotification {
        double atMs;
        Notification notification;
    };

    PlaybackTarget& target_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    PlaybackCursor cursor_;
    NotificationSink* sink_ = nullptr;
    std::vector<PendingNotification> pending_;
    std::vector<DueItem> due_;
    std::vector<Notification> toPost_;
    bool woken_ = false;
    std::jthread thread_;
};

}  // namespace kalvintor::sound
