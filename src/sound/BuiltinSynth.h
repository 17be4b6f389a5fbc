// The built-in synthesizer: FluidSynth with a General MIDI SoundFont, its audio output (or a silent
// clock when there is none), the answer-sound mixer and the MIDI-file player.
#pragma once

#include "sound/CHandles.h"
#include "sound/MidiFile.h"
#include "sound/WaveMixer.h"

#include <fluidsynth.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kalvintor::sound {

inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
inline constexpr const char* kBuiltinSynthName = "Built-in synthesizer";
inline constexpr double kSynthSampleRate = 44100.0;
// FluidSynth's default gain (0.2) is too quiet: at 1.0 a single piano note peaks near -16 dBFS and a
// fortissimo six-note chord with drums near -3 dBFS, leaving room without clipping.
inline constexpr double kSynthGain = 1.0;

enum class SynthError { None, SynthUnavailable, SoundFontMissing, SoundFontBroken };
enum class AudioOutput { Offline, Driver, SilentClock };

// Hears what the synthesizer renders, block by block, with the answer sounds mixed in (a silent
// clock renders too). Called on the audio thread: it must neither block nor allocate.
class OutputMonitor {
public:
    virtual ~OutputMonitor() = default;
    virtual void Rendered(const float* left, const float* right, int frames) = 0;
};

struct SynthOptions {
    bool realtime = true;  // false: nothing plays until RenderOffline is called
    std::filesystem::path soundFont = kDefaultSoundFont;
    // Audio drivers tried in this order; when none opens, a silent clock keeps time.
    std::vector<std::string> drivers = {"pulseaudio", "alsa", "jack", "sdl2", "oss"};
    // Must outlive the synthesizer.
    OutputMonitor* monitor = nullptr;
};

void FreeFluidSettings(fluid_settings_t* p);
void FreeFluidSynth(fluid_synth_t* p);
void FreeFluidSequencer(fluid_sequencer_t* p);
void FreeFluidDriver(fluid_audio_driver_t* p);
void FreeFluidPlayer(fluid_player_t* p);
void FreeFluidEvent(fluid_event_t* p);

using FluidSettings = CHandle<fluid_settings_t, FreeFluidSettings>;
using FluidSynth = CHandle<fluid_synth_t, FreeFluidSynth>;
using FluidSequencer = CHandle<fluid_sequencer_t, FreeFluidSequencer>;
using FluidDriver = CHandle<fluid_audio_driver_t, FreeFluidDriver>;
using FluidPlayer = CHandle<fluid_player_t, FreeFluidPlayer>;
using FluidEvent = CHandle<fluid_event_t, FreeFluidEvent>;

enum class MidiFilePlay { Playing, Missing, NotMidi, Failed };
// The largest MIDI file PlayMidiFile reads.
inline constexpr std::uintmax_t kMaxMidiFileBytes = 4u * 1024u * 1024u;

class BuiltinSynth {
public:
    struct Created;
    static Created Create(const SynthOptions& options);
    ~BuiltinSynth();
    BuiltinSynth(const BuiltinSynth&) = delete;
    BuiltinSynth& operator=(const BuiltinSynth&) = delete;

    AudioOutput Output() const { return output_; }
    double SampleRate() const { return kSynthSampleRate; }

    // Immediate MIDI: a packed short message.
    void Send(std::uint32_t message);
    void SetVolumeLevel(double level);  // 0..1 of the full gain

    // The sample clock the sequencer's time runs on, in milliseconds.
    double NowMs() const;
    // Schedules a message at a time on the sample clock; metronome clicks come from their own source
    // so that clearing the playback leaves them alone.
    void ScheduleAt(std::uint32_t message, double atMs, bool metronome);
    void RemoveScheduledPlayback();
    void RemoveScheduledMetronome();

    // Renders into the two buffers (the offline path of tests and benchmarks).
    void RenderOffline(float* left, float* right, int frames);

    // Loads another SoundFont off the calling thread; `done` runs on the loading thread. The
    // previous SoundFont stays in use when loading fails.
    void LoadSoundFontAsync(std::filesystem::path file, std::function<void(SynthError)> done);

    WaveMixer& Waves() { return waves_; }

    // Plays a MIDI file on the synthesizer; `ended` runs on a watcher thread when it has played
    // to its end (not when stopped).
    MidiFilePlay PlayMidiFile(const std::filesystem::path& file, std::function<void()> ended);
    void StopMidiFile();

private:
    BuiltinSynth() = default;
    static int Render(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
    void RunSilentClock(std::stop_token stop);
    SynthError LoadSoundFont(const std::filesystem::path& file);

    FluidSettings settings_;
    FluidSynth synth_;
    FluidSequencer sequencer_;
    FluidDriver driver_;
    fluid_seq_id_t synthClient_ = -1;
    fluid_seq_id_t playbackSource_ = -1;
    fluid_seq_id_t metronomeSource_ = -1;
    std::mutex scheduleMutex_;
    FluidEvent event_;
    AudioOutput output_ = AudioOutput::Offline;
    OutputMonitor* monitor_ = nullptr;
    WaveMixer waves_;
    std::jthread clock_;
    std::jthread soundFontLoader_;

    std::mutex playerMutex_;
    FluidPlayer player_;
    std::jthread playerWatch_;
};

struct BuiltinSynth::Created {
    std::unique_ptr<BuiltinSynth> synth;  // null when FluidSynth could not be set up
    SynthError error = SynthError::None;  // a SoundFont error leaves a working but silent synth
};

}  // namespace kalvintor::sound
