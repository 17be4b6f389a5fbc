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
    started_ = true;
    deliveredTrack1_ = 0;
    deliveredTrack2_ = 0;
    lastBeatMs_ = -1;
    // The metronome falls in step with what starts now; over the beats the playback marks and the
    // clicks it sounds the grid keeps quiet.
    anchorMs_ = nowMs;
    grid_ = MetronomeGrid(nowMs, metronome_.periodMs);
    MuteUnderPlayback();
    nextClickMs_ = grid_.NextClick(nowMs);
}

void PlaybackCursor::Extend(const Timeline& timeline, std::uint64_t generation, double nowMs) {
    if (!started_ || generation != generation_) {
        Start(timeline, generation, nowMs);
        return;
    }
    // Each track keeps its order, so the first events of each track are the delivered ones.
    std::size_t skip1 = deliveredTrack1_;
    std::size_t skip2 = deliveredTrack2_;
    std::vector<TimedEvent> rest;
    for (const TimedEvent& e : timeline.events) {
        std::size_t& skip = e.track == kClickTrack ? skip2 : skip1;
        if (skip > 0) {
            --skip;
            continue;
        }
        rest.push_back(e);
    }
    // Notifications still due of what played before do not count: they trail the sound by the
    // synchronisation delay.
    const auto firstSound = std::find_if(rest.begin(), rest.end(),
                                         [](const TimedEvent& e) { return e.kind == SeqEventKind::Message; });
    double firstBeatMs = lastBeatMs_;
    if (firstSound != rest.end() && startMs_ + firstSound->timeMs < nowMs) {
        // The playback ran dry: what comes sounds now, and the metronome follows it.
        const double shift = nowMs - (startMs_ + firstSound->timeMs);
        startMs_ += shift;
        anchorMs_ += shift;
        grid_ = MetronomeGrid(anchorMs_, metronome_.periodMs);
        firstBeatMs = std::max(firstBeatMs, firstSound->timeMs - 1e-3);
    }
    std::vector<MarkedBeat> beats;
    for (const MarkedBeat& beat : timeline.beats)
        if (beat.timeMs > firstBeatMs) beats.push_back(beat);
    timeline_ = timeline;
    timeline_.events = std::move(rest);
    timeline_.beats = std::move(beats);
    next_ = 0;
    nextBeat_ = 0;
    MuteUnderPlayback();
    nextClickMs_ = grid_.NextClick(std::max(nowMs, nextClickMs_));
}

void PlaybackCursor::MuteUnderPlayback() {
    const double quietUntil = std::max(timeline_.clickTrackSoundUntilMs, timeline_.beatsUntilMs);
    if (quietUntil >= 0) grid_.Mute(startMs_, startMs_ + quietUntil);
}

void PlaybackCursor::Clear() {
    timeline_ = Timeline{};
    next_ = 0;
    nextBeat_ = 0;
    started_ = false;
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
            lastBeatMs_ = beat.timeMs;
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
        ++(e.track == kClickTrack ? deliveredTrack2_ : deliveredTrack1_);
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
