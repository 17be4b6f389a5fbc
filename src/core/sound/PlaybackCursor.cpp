// The playback cursor.
#include "sound/PlaybackCursor.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::sound {

void PlaybackCursor::Start(const Timeline& timeline, std::uint64_t generation, double nowMs) {
    timeline_ = timeline;
    next_ = 0;
    nextBeat_ = 0;
    generation_ = generation;
    startMs_ = nowMs;
    // The metronome falls in step with what starts now; over the beats the playback marks and the
    // clicks it sounds the grid keeps quiet.
    anchorMs_ = nowMs;
    grid_ = MetronomeGrid(nowMs, metronome_.periodMs);
    const double quietUntil = std::max(timeline.clickTrackSoundUntilMs, timeline.beatsUntilMs);
    if (quietUntil >= 0) grid_.Mute(nowMs, nowMs + quietUntil);
    nextClickMs_ = grid_.NextClick(nowMs);
}

void PlaybackCursor::Clear() {
    timeline_ = Timeline{};
    next_ = 0;
    nextBeat_ = 0;
    // Back to the plain grid, from the next beat on.
    grid_ = MetronomeGrid(anchorMs_, metronome_.periodMs);
    nextClickMs_ = grid_.NextClick(nextClickMs_);
}

void PlaybackCursor::SetMetronome(const MetronomeSettings& metronome, double nowMs) {
    const bool wasOn = metronome_.on;
    const bool periodChanged = metronome.periodMs != metronome_.periodMs;
    metronome_ = metronome;
    if (!metronome.on) return;
    if (!wasOn) {
        anchorMs_ = nowMs;
        grid_ = MetronomeGrid(nowMs, metronome.periodMs);
        nextClickMs_ = nowMs;
    } else if (periodChanged) {
        // A new tempo takes effect from the next beat on.
        anchorMs_ = nextClickMs_;
        grid_ = MetronomeGrid(nextClickMs_, metronome.periodMs);
    }
}

std::optional<double> PlaybackCursor::NextDueMs() const {
    std::optional<double> due;
    auto consider = [&due](double t) { due = due ? std::min(*due, t) : t; };
    if (next_ < timeline_.events.size()) consider(startMs_ + timeline_.events[next_].timeMs);
    if (metronome_.on) consider(nextClickMs_);
    if (metronome_.on && nextBeat_ < timeline_.beats.size())
        consider(startMs_ + timeline_.beats[nextBeat_].timeMs);
    if (clickOffMs_) consider(*clickOffMs_);
    return due;
}

void PlaybackCursor::Click(double atMs, const settings::TSoundRec& sound, std::vector<DueItem>& out) {
    const auto channel = static_cast<std::uint8_t>(sound.channel);
    const auto key = static_cast<std::uint8_t>(std::min<int>(sound.key, kMaxDataValue));
    const auto velocity = static_cast<std::uint8_t>(std::min<int>(sound.velocity, kMaxDataValue));
    if (clickOffMs_) out.push_back({std::min(*clickOffMs_, atMs), false, true, clickOff_, {}});
    out.push_back({atMs, false, true, NoteOnMessage(channel, key, velocity), {}});
    clickOff_ = NoteOffMessage(channel, key);
    clickOffMs_ = atMs + std::min(kClickLengthMs, grid_.PeriodMs() / 2);
}

void PlaybackCursor::TakeMetronome(double untilMs, std::vector<DueItem>& out) {
    // Merged in time order: the beats the playback marks, and the grid outside them.
    for (;;) {
        const bool beatDue =
            nextBeat_ < timeline_.beats.size() && startMs_ + timeline_.beats[nextBeat_].timeMs <= untilMs;
        const bool gridDue = metronome_.on && nextClickMs_ <= untilMs;
        if (clickOffMs_ && *clickOffMs_ <= untilMs &&
            (!beatDue || *clickOffMs_ <= startMs_ + timeline_.beats[nextBeat_].timeMs) &&
            (!gridDue || *clickOffMs_ <= nextClickMs_)) {
            out.push_back({*clickOffMs_, false, true, clickOff_, {}});
            clickOffMs_.reset();
            continue;
        }
        if (beatDue && (!gridDue || startMs_ + timeline_.beats[nextBeat_].timeMs <= nextClickMs_)) {
            const MarkedBeat& beat = timeline_.beats[nextBeat_++];
            // With the metronome off the playback's beats pass unheard.
            if (metronome_.on)
                Click(startMs_ + beat.timeMs, beat.firstOfBar ? metronome_.firstBeat : metronome_.click, out);
            continue;
        }
        if (gridDue) {
            Click(nextClickMs_, metronome_.click, out);
            nextClickMs_ = grid_.NextClick(nextClickMs_ + grid_.PeriodMs() / 2);
            continue;
        }
        break;
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
