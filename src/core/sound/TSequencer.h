// The two-track sequencer with metronome: what callers queue, and starting it on the output.
#pragma once

#include "sound/Metronome.h"
#include "sound/MidiDevice.h"
#include "sound/ProgramSounds.h"
#include "sound/SeqEvent.h"
#include "sound/Ticks.h"
#include "sound/Timeline.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace kalvintor::sound {

class TSequencer {
public:
    TSequencer() = default;
    TSequencer(const TSequencer&) = delete;
    TSequencer& operator=(const TSequencer&) = delete;

    // Where due notifications go (the user-interface side); may be null.
    void SetNotificationSink(NotificationSink* sink) { sink_ = sink; }
    // Who is told what each playback sounds when it starts or grows (the microphone); may be null.
    void SetProgramSoundSink(ProgramSoundSink* sink) { soundSink_ = sink; }

    // Appends to track 1 or 2; other track numbers are ignored.
    void SeqAddEvent(std::uint8_t track, std::int32_t value, SeqEventKind kind);
    // Stops the playback and discards both tracks.
    void SeqClear();
    // The output for all sound; null when none is open.
    void SeqSetOutput(MidiOutPort* output);
    // Starts both tracks together from their beginning. While a playback is in force (started and
    // not cleared since), it goes on instead: what was queued since joins it at its place on its
    // track, so a caller can queue the next bar while the last one sounds.
    void SeqStart();
    // Tempo 20..250 (values outside are brought into range); also the metronome's rate.
    void SeqSetTempo(std::int32_t tempo);
    void SeqSetMetronome(bool on);
    // Notifications are posted this many milliseconds (0..600) after their place in the sound.
    void SeqSetSyncDelay(std::uint16_t ms);
    void SeqSetMetronomeSound(const settings::TSoundRec& click, const settings::TSoundRec& firstBeat);

    std::int32_t Tempo() const { return tempo_; }
    std::int32_t SyncDelay() const { return syncDelayMs_; }
    MidiOutPort* Output() const { return output_; }

    const std::vector<SeqEvent>& Track(std::uint8_t track) const;
    // Both tracks with the tick of each event: track 1's events, then track 2's.
    std::vector<QueuedEvent> Queued() const;
    Timeline BuildCurrentTimeline() const;

    // Whether a notification of this generation still belongs to the playback in force; checked
    // on the user-interface thread before a notification is handed to its window.
    bool IsCurrent(std::uint64_t generation) const { return generation == generation_.load(); }
    std::uint64_t Generation() const { return generation_.load(); }

private:
    void ApplyMetronome();
    void TellSounds(const Timeline& timeline);

    std::vector<SeqEvent> track1_;
    std::vector<SeqEvent> track2_;
    std::int32_t tempo_ = kDefaultTempo;
    std::int32_t syncDelayMs_ = 0;
    MetronomeSettings metronome_;
    MidiOutPort* output_ = nullptr;
    NotificationSink* sink_ = nullptr;
    ProgramSoundSink* soundSink_ = nullptr;
    SoundsTold told_;
    double startClockMs_ = 0;
    bool started_ = false;
    std::atomic<std::uint64_t> generation_{0};
};

}  // namespace kalvintor::sound
