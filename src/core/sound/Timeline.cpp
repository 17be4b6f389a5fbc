// Turning the sequencer's tracks into absolute times.
#include "sound/Timeline.h"

#include "sound/MidiMessage.h"
#include "sound/NotifyRouting.h"
#include "sound/Ticks.h"

#include <algorithm>
#include <set>

namespace kalvintor::sound {

namespace {

constexpr int kMaxBeatsPerBar = 16;

// A beat notice: beats per bar × 256 + beat number, beat 1..beats.
bool IsBeatNotice(const QueuedEvent& q) {
    const int beats = q.code >> 8;
    const int beat = q.code & 0xFF;
    return q.kind == SeqEventKind::Notify && q.window == kWindowMain && beats >= 1 &&
           beats <= kMaxBeatsPerBar && beat >= 1 && beat <= beats;
}

void AddMarkedBeats(const std::vector<QueuedEvent>& clickTrack, std::int32_t tempo, Timeline& timeline) {
    std::set<std::int64_t> soundedTicks;
    for (const QueuedEvent& q : clickTrack) {
        if (q.kind == SeqEventKind::Message && IsNoteOn(q.message)) soundedTicks.insert(q.tick);
    }
    std::int64_t lastTick = -1;
    for (const QueuedEvent& q : clickTrack) {
        if (!IsBeatNotice(q) || q.tick == lastTick) continue;
        lastTick = q.tick;
        const double at = TicksToMs(q.tick, tempo);
        timeline.beatsUntilMs = at;
        if (!soundedTicks.contains(q.tick)) timeline.beats.push_back({at, (q.code & 0xFF) == 1});
    }
}

}  // namespace

std::vector<QueuedEvent> QueuedEvents(std::uint8_t track, const std::vector<SeqEvent>& events) {
    std::vector<QueuedEvent> out;
    std::int64_t tick = 0;
    for (const SeqEvent& e : events) {
        switch (e.kind) {
            case SeqEventKind::Delay:
                tick += std::max(0, e.value);
                break;
            case SeqEventKind::Message:
                out.push_back({track, tick, e.kind, static_cast<std::uint32_t>(e.value), 0, 0});
                break;
            case SeqEventKind::Notify:
                out.push_back({track, tick, e.kind, 0, NotifyCodeOf(e.value), NotifyWindowOf(e.value)});
                break;
        }
    }
    return out;
}

std::int64_t TrackLengthTicks(const std::vector<SeqEvent>& events) {
    std::int64_t tick = 0;
    for (const SeqEvent& e : events) {
        if (e.kind == SeqEventKind::Delay) tick += std::max(0, e.value);
    }
    return tick;
}

Timeline BuildTimeline(const std::vector<SeqEvent>& track1, const std::vector<SeqEvent>& track2,
                       std::int32_t tempo, std::int32_t syncDelayMs) {
    const std::int32_t t = ClampTempo(tempo);
    const double shift = std::clamp(syncDelayMs, 0, kMaxSyncDelayMs);
    Timeline timeline;
    for (std::uint8_t track : {kQuestionTrack, kClickTrack}) {
        const auto& events = track == kQuestionTrack ? track1 : track2;
        for (const QueuedEvent& q : QueuedEvents(track, events)) {
            TimedEvent e{TicksToMs(q.tick, t), q.tick, track, q.kind, q.message, q.code, q.window};
            if (q.kind == SeqEventKind::Notify) e.timeMs += shift;
            if (track == kClickTrack && q.kind == SeqEventKind::Message && IsNoteOn(q.message)) {
                timeline.clickTrackSoundUntilMs = std::max(timeline.clickTrackSoundUntilMs, e.timeMs);
            }
            timeline.events.push_back(e);
        }
        timeline.endMs = std::max(timeline.endMs, TicksToMs(TrackLengthTicks(events), t));
    }
    AddMarkedBeats(QueuedEvents(kClickTrack, track2), t, timeline);
    // Track 1 was appended first, so at equal times the question track goes first.
    std::stable_sort(timeline.events.begin(), timeline.events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.timeMs < b.timeMs; });
    return timeline;
}

}  // namespace kalvintor::sound
