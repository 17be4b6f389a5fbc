// What the program itself sounds while it plays: the notes and clicks of a started timeline, so
// that the microphone detector can tell them from the student's singing and clapping.
#pragma once

#include "sound/Metronome.h"
#include "sound/Timeline.h"

#include <cstddef>
#include <vector>

namespace kalvintor::sound {

struct ProgramSound {
    enum class Kind { Note, Click } kind = Kind::Note;
    int note = 0;       // MIDI key
    double fromMs = 0;  // key down, from the start of playback
    double toMs = 0;    // key up; a click: its key down
    friend bool operator==(const ProgramSound&, const ProgramSound&) = default;
};

// Told about each playback as it starts or grows, with the start on the millisecond clock.
class ProgramSoundSink {
public:
    virtual ~ProgramSoundSink() = default;
    virtual void Sounding(const std::vector<ProgramSound>& sounds, double startClockMs) = 0;
};

// How much of a growing playback has been told already.
struct SoundsTold {
    std::size_t track1 = 0;
    std::size_t track2 = 0;
    std::size_t beats = 0;
};

// The sounds of the timeline's events not told yet (the events a track had when last told are
// skipped; a track only grows at its end): notes on the drum channel and the metronome's clicks on
// the marked beats (when it is on) are clicks, other notes are notes from key down to key up (to
// the end of the timeline when it never goes up).
std::vector<ProgramSound> SoundsToTell(const Timeline& timeline, const MetronomeSettings& metronome,
                                       SoundsTold& told);

}  // namespace kalvintor::sound
