// The two-track sequencer.
#include "sound/TSequencer.h"

#include "app/Clock.h"

#include <algorithm>

namespace kalvintor::sound {

void TSequencer::SeqAddEvent(std::uint8_t track, std::int32_t value, SeqEventKind kind) {
    if (track == kQuestionTrack) track1_.push_back({value, kind});
    if (track == kClickTrack) track2_.push_back({value, kind});
}

void TSequencer::SeqClear() {
    ++generation_;
    started_ = false;
    if (output_ != nullptr) output_->Playback().Clear();
    track1_.clear();
    track2_.clear();
}

void TSequencer::SeqSetOutput(MidiOutPort* output) {
    if (output_ == output) return;
    if (output_ != nullptr) {
        ++generation_;
        started_ = false;
        output_->Playback().Clear();
        output_->Playback().SetMetronome(MetronomeSettings{});
    }
    output_ = output;
    ApplyMetronome();
}

void TSequencer::SeqStart() {
    if (output_ == nullptr) return;
    const Timeline timeline = BuildCurrentTimeline();
    if (started_) {
        output_->Playback().Extend(timeline, generation_.load(), sink_);
        TellSounds(timeline);
        return;
    }
    started_ = true;
    told_ = {};
    startClockMs_ = static_cast<double>(app::MillisecondClock());
    output_->Playback().Start(timeline, ++generation_, sink_);
    TellSounds(timeline);
}

void TSequencer::TellSounds(const Timeline& timeline) {
    if (soundSink_ == nullptr) return;
    const std::vector<ProgramSound> sounds = SoundsToTell(timeline, metronome_, told_);
    if (!sounds.empty()) soundSink_->Sounding(sounds, startClockMs_);
}

void TSequencer::SeqSetTempo(std::int32_t tempo) {
    tempo_ = ClampTempo(tempo);
    ApplyMetronome();
}

void TSequencer::SeqSetMetronome(bool on) {
    metronome_.on = on;
    ApplyMetronome();
}

void TSequencer::SeqSetSyncDelay(std::uint16_t ms) {
    syncDelayMs_ = std::min<std::int32_t>(ms, kMaxSyncDelayMs);
}

void TSequencer::SeqSetMetronomeSound(const settings::TSoundRec& click,
                                      const settings::TSoundRec& firstBeat) {
    metronome_.click = click;
    metronome_.firstBeat = firstBeat;
    ApplyMetronome();
}

const std::vector<SeqEvent>& TSequencer::Track(std::uint8_t track) const {
    return track == kClickTrack ? track2_ : track1_;
}

std::vector<QueuedEvent> TSequencer::Queued() const {
    std::vector<QueuedEvent> all = QueuedEvents(kQuestionTrack, track1_);
    std::vector<QueuedEvent> clicks = QueuedEvents(kClickTrack, track2_);
    all.insert(all.end(), clicks.begin(), clicks.end());
    return all;
}

Timeline TSequencer::BuildCurrentTimeline() const {
    return BuildTimeline(track1_, track2_, tempo_, syncDelayMs_);
}

void TSequencer::ApplyMetronome() {
    metronome_.periodMs = TicksToMs(kTicksPerQuarter, tempo_);
    if (output_ != nullptr) output_->Playback().SetMetronome(metronome_);
}

}  // namespace kalvintor::sound
