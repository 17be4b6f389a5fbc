// The playback cursor.
#include "sound/PlaybackCursor.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::sound {

void PlaybackCursor::Start(const Timeline& timeline, std::uint64_t generation, double nowMs) {
    timeline_ = timeline;
    next_ = 0;
    generation_ = generation;
    startMs_ = nowMs;
    // The metronome falls in step with what starts now, and keeps quiet over the caller's clicks.
    grid_ = MetronomeGrid(nowMs, metronome_.periodMs);
    if (timeline.clickTrackSoundUntilMs >= 0) grid_.Mute(nowMs, nowMs + timeline.clickTrackSoundUntilMs);
    nextClickMs_ = grid_.NextClick(nowMs);
}

void PlaybackCursor::Clear() {
    timeline_ = Timeline{};
    next_ = 0;
}

void PlaybackCursor::SetMetronome(const MetronomeSettings& metronome, double nowMs) {
    const bool wasOn = metronome_.on;
    const bool periodChanged = metronome.periodMs != metronome_.periodMs;
    metronome_ = metronome;
    if (!metronome.on) return;
    if (!wasOn) {
        grid_ = MetronomeGrid(nowMs, metronome.periodMs);
        nextClickMs_ = nowMs;
    } else if (periodChanged) {
        // A new tempo takes effect from the next beat on.
        grid_ = MetronomeGrid(nextClickMs_, metronome.periodMs);
    }
}

std::optional<double> PlaybackCursor::NextDueMs() const {
    std::optional<double> due;
    auto consider = [&due](double t) { due = due ? std::min(*due, t) : t; };
    if (next_ < timeline_.events.size()) consider(startMs_ + timeline_.events[next_].timeMs);
    if (metronome_.on) consider(nextClickMs_);
    if (clickOffMs_) consider(*clickOffMs_);
    return due;
}

void PlaybackCursor::TakeMetronome(double untilMs, std::vector<DueItem>& out) {
    if (clickOffMs_ && *clickOffMs_ <= untilMs) {
        out.push_back({*clickOffMs_, false, true, clickOff_, {}});
        clickOffMs_.reset();
    }
    while (metronome_.on && nextClickMs_ <= untilMs) {
        const settings::TSoundRec& c = metronome_.click;
        const auto channel = static_cast<std::uint8_t>(c.channel);
        const auto key = static_cast<std::uint8_t>(std::min<int>(c.key, kMaxDataValue));
        if (clickOffMs_) out.push_back({nextClickMs_, false, true, clickOff_, {}});
        const auto velocity = static_cast<std::uint8_t>(std::min<int>(c.velocity, kMaxDataValue));
        out.push_back({nextClickMs_, false, true, NoteOnMessage(channel, key, velocity), {}});
        clickOff_ = NoteOffMessage(channel, key);
        clickOffMs_ = nextClickMs_ + std::min(kClickLengthMs, grid_.PeriodMs() / 2);
        if (*clickOffMs_ <= untilMs) {
            out.push_back({*clickOffMs_, false, true, clickOff_, {}});
            clickOffMs_.reset();
        }
        nextClickMs_ = grid_.NextClick(nextClickMs_ + grid_.PeriodMs() / 2);
    }
}

void PlaybackCursor::TakeDue(double untilMs, std::vector<DueItem>& out) {
    const std::size_t first = out.size();
    while (next_ < timeline_.events.size() && startMs_ + timeline_.events[next_].timeMs <= untilMs) {
        const TimedEvent& e = timeline_.events[next_++];
        const double at = startMs_ + e.timeMs;
        if (e.kind == SeqEventKind::Notify) {
            out.push_back({at, true, false, 0, {e.window, e.code, generation_}});
        } else {
            out.push_back({at, false, false, e.message, {}});
        }
    }
    TakeMetronome(untilMs, out);
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const DueItem& a, const DueItem& b) { return a.atMs < b.atMs; });
}

}  // namespace kalvintor::sound
