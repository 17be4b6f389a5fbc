// The playback thread.
#include "sound/ScheduledPlayback.h"

#include <algorithm>
#include <chrono>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace kalvintor::sound {

namespace {
// How long the thread sleeps at most between passes when something is pending.
constexpr double kMaxIdleMs = 50.0;
// The stretch before an item that the thread sleeps through plainly.
constexpr double kFinalApproachMs = 2.0;
}  // namespace

ScheduledPlayback::ScheduledPlayback(PlaybackTarget& target, bool threaded) : target_(target) {
    if (!threaded) return;
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    // Timing matters more here than anywhere else in the program: the thread asks for a modest
    // real-time priority (below the audio server's) and keeps the normal one when refused.
    sched_param priority{};
    priority.sched_priority = kPlaybackPriority;
    pthread_setschedparam(thread_.native_handle(), SCHED_FIFO, &priority);
}

ScheduledPlayback::~ScheduledPlayback() {
    thread_.request_stop();
    wake_.notify_all();
    thread_ = std::jthread();
}

void ScheduledPlayback::Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    {
        std::lock_guard lock(mutex_);
        target_.Retract(false);
        pending_.clear();
        sink_ = sink;
        cursor_.Start(timeline, generation, target_.NowMs());
        woken_ = true;
    }
    wake_.notify_all();
    if (!thread_.joinable()) Pump();
}

void ScheduledPlayback::Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    {
        std::lock_guard lock(mutex_);
        // What was handed over ahead of time stays: the cursor goes on after it.
        sink_ = sink;
        cursor_.Extend(timeline, generation, target_.NowMs());
        woken_ = true;
    }
    wake_.notify_all();
    if (!thread_.joinable()) Pump();
}

void ScheduledPlayback::Clear() {
    std::lock_guard lock(mutex_);
    cursor_.Clear();
    pending_.clear();
    target_.Retract(false);
}

void ScheduledPlayback::SetMetronome(const MetronomeSettings& metronome) {
    {
        std::lock_guard lock(mutex_);
        target_.Retract(true);
        cursor_.SetMetronome(metronome, target_.NowMs());
        woken_ = true;
    }
    wake_.notify_all();
}

std::optional<double> ScheduledPlayback::Pump() {
    NotificationSink* sink = nullptr;
    std::optional<double> next;
    {
        std::lock_guard lock(mutex_);
        const double now = target_.NowMs();
        due_.clear();
        cursor_.TakeDue(now + target_.LookaheadMs(), due_);
        for (const DueItem& item : due_) {
            if (item.isNotification) {
                pending_.push_back({item.atMs, item.notification});
            } else {
                target_.Deliver(item);
            }
        }
        toPost_.clear();
        std::erase_if(pending_, [&](const PendingNotification& p) {
            if (p.atMs > now) return false;
            toPost_.push_back(p.notification);
            return true;
        });
        sink = sink_;
        next = cursor_.NextDueMs();
        if (next) *next -= target_.LookaheadMs();
        for (const PendingNotification& p : pending_) next = next ? std::min(*next, p.atMs) : p.atMs;
    }
    // Posted outside the lock: the sink may take locks of its own.
    if (sink != nullptr) {
        for (const Notification& n : toPost_) sink->Notify(n);
    }
    return next;
}

void ScheduledPlayback::Run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        const std::optional<double> next = Pump();
        const double now = target_.NowMs();
        const double waitMs = next ? std::clamp(*next - now, 0.0, kMaxIdleMs) : kMaxIdleMs;
        if (next && waitMs > 0 && waitMs <= kFinalApproachMs) {
            // The last stretch before an item is slept without the condition variable, whose
            // wake-up is later and less regular than a plain sleep's; a new timeline that comes
            // meanwhile waits at most this long.
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(waitMs));
            continue;
        }
        std::unique_lock lock(mutex_);
        if (waitMs > 0 && !woken_) {
            const double untilApproach = next ? waitMs - kFinalApproachMs : waitMs;
            wake_.wait_for(lock, stop, std::chrono::duration<double, std::milli>(untilApproach),
                           [this] { return woken_; });
        }
        woken_ = false;
    }
}

}  // namespace kalvintor::sound
