// What the timing benchmarks run under: a busy thread standing for the other programs of a
// workstation, and whether this process may have the real-time priority the playback thread asks for.
#pragma once

#include "sound/ScheduledPlayback.h"

#include <pthread.h>
#include <sched.h>

#include <thread>

namespace kalvintor::sound::bench {

// Keeps a core busy at normal priority while it lives.
class CpuLoad {
public:
    explicit CpuLoad(bool on) {
        if (!on) return;
        thread_ = std::jthread([](std::stop_token stop) {
            volatile double x = 0;
            while (!stop.stop_requested())
                for (int i = 0; i < 100000; ++i) x = x + i * 0.5;
        });
    }

private:
    std::jthread thread_;
};

// Gives the calling thread the playback thread's real-time priority; false when refused.
inline bool AskRealtime() {
    sched_param priority{};
    priority.sched_priority = kPlaybackPriority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) == 0;
}

// Whether a new thread of this process is granted that priority now.
inline bool RealtimeGranted() {
    bool granted = false;
    std::thread probe([&granted] { granted = AskRealtime(); });
    probe.join();
    return granted;
}

}  // namespace kalvintor::sound::bench
