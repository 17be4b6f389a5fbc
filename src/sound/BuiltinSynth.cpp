// The built-in synthesizer.
#include "sound/BuiltinSynth.h"

#include "files/Files.h"
#include "sound/MidiMessage.h"
#include "sound/QuietAudio.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

namespace kalvintor::sound {

void FreeFluidSettings(fluid_settings_t* p) {
    delete_fluid_settings(p);
}
void FreeFluidSynth(fluid_synth_t* p) {
    delete_fluid_synth(p);
}
void FreeFluidSequencer(fluid_sequencer_t* p) {
    delete_fluid_sequencer(p);
}
void FreeFluidDriver(fluid_audio_driver_t* p) {
    delete_fluid_audio_driver(p);
}
void FreeFluidPlayer(fluid_player_t* p) {
    delete_fluid_player(p);
}
void FreeFluidEvent(fluid_event_t* p) {
    delete_fluid_event(p);
}

namespace {

constexpr int kSilentClockFrames = 512;
constexpr double kSynthBlockFrames = 64;
constexpr int kFluidPeriodSize = 256;
constexpr auto kPlayerPoll = std::chrono::milliseconds(20);

// Puts a short message into a sequencer event; false for messages the sequencer does not carry.
bool FillEvent(fluid_event_t* e, std::uint32_t message) {
    const std::uint8_t status = StatusOf(message);
    const int ch = status & 0x0F;
    const int d1 = Data1Of(message) & 0x7F;
    const int d2 = Data2Of(message) & 0x7F;
    switch (status & 0xF0) {
        case kNoteOnStatus:
            if (d2 > 0) {
                fluid_event_noteon(e, ch, static_cast<short>(d1), static_cast<short>(d2));
                return true;
            }
            fluid_event_noteoff(e, ch, static_cast<short>(d1));
            return true;
        case kNoteOffStatus:
            fluid_event_noteoff(e, ch, static_cast<short>(d1));
            return true;
        case kControllerStatus:
            fluid_event_control_change(e, ch, static_cast<short>(d1), static_cast<short>(d2));
            return true;
        case kProgramChangeStatus:
            fluid_event_program_change(e, ch, d1);
            return true;
        case 0xA0:
            fluid_event_key_pressure(e, ch, static_cast<short>(d1), d2);
            return true;
        case 0xD0:
            fluid_event_channel_pressure(e, ch, d1);
            return true;
        case 0xE0:
            fluid_event_pitch_bend(e, ch, d1 | d2 << 7);
            return true;
        default:
            return false;
    }
}

}  // namespace

BuiltinSynth::Created BuiltinSynth::Create(const SynthOptions& options) {
    QuietSynthLibraries();
    std::unique_ptr<BuiltinSynth> s(new BuiltinSynth());
    s->settings_.reset(new_fluid_settings());
    if (s->settings_ == nullptr) return {nullptr, SynthError::SynthUnavailable};
    fluid_settings_t* st = s->settings_.get();
    fluid_settings_setnum(st, "synth.sample-rate", kSynthSampleRate);
    fluid_settings_setnum(st, "synth.gain", kSynthGain);
    fluid_settings_setint(st, "audio.period-size", kFluidPeriodSize);
    fluid_settings_setint(st, "synth.cpu-cores", 1);
    s->synth_.reset(new_fluid_synth(st));
    s->sequencer_.reset(new_fluid_sequencer2(0));
    s->event_.reset(new_fluid_event());
    if (s->synth_ == nullptr || s->sequencer_ == nullptr || s->event_ == nullptr) {
        return {nullptr, SynthError::SynthUnavailable};
    }
    // The sequencer counts samples, so events are placed to the sample on the synthesizer's clock.
    s->synthClient_ = fluid_sequencer_register_fluidsynth(s->sequencer_.get(), s->synth_.get());
    fluid_sequencer_set_time_scale(s->sequencer_.get(), kSynthSampleRate);
    s->playbackSource_ = fluid_sequencer_register_client(s->sequencer_.get(), "playback", nullptr, nullptr);
    s->metronomeSource_ = fluid_sequencer_register_client(s->sequencer_.get(), "metronome", nullptr, nullptr);
    const SynthError fontError = s->LoadSoundFont(options.soundFont);
    s->monitor_ = options.monitor;

    if (options.realtime) {
        for (const std::string& name : options.drivers) {
            fluid_settings_setstr(st, "audio.driver", name.c_str());
            s->driver_.reset(new_fluid_audio_driver2(st, &BuiltinSynth::Render, s.get()));
            if (s->driver_ != nullptr) {
                s->output_ = AudioOutput::Driver;
                break;
            }
        }
        if (s->driver_ == nullptr) {
            // No sound card: time still runs, so playback, notifications and the metronome work.
            s->output_ = AudioOutput::SilentClock;
            s->clock_ = std::jthread([raw = s.get()](std::stop_token stop) { raw->RunSilentClock(stop); });
        }
    }
    return {std::move(s), fontError};
}

BuiltinSynth::~BuiltinSynth() {
    StopMidiFile();
    soundFontLoader_ = std::jthread();
    clock_ = std::jthread();
    driver_.reset();
    // The sequencer goes before the synthesizer it is registered with.
    sequencer_.reset();
}

SynthError BuiltinSynth::LoadSoundFont(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return SynthError::SoundFontMissing;
    const int id = fluid_synth_sfload(synth_.get(), file.c_str(), 1);
    if (id == FLUID_FAILED) return SynthError::SoundFontBroken;
    for (int i = fluid_synth_sfcount(synth_.get()) - 1; i >= 0; --i) {
        fluid_sfont_t* font = fluid_synth_get_sfont(synth_.get(), static_cast<unsigned>(i));
        if (font != nullptr && fluid_sfont_get_id(font) != id)
            fluid_synth_sfunload(synth_.get(), fluid_sfont_get_id(font), 1);
    }
    return SynthError::None;
}

void BuiltinSynth::LoadSoundFontAsync(std::filesystem::path file, std::function<void(SynthError)> done) {
    soundFontLoader_ = std::jthread([this, file = std::move(file), done = std::move(done)] {
        const SynthError error = LoadSoundFont(file);
        if (done) done(error);
    });
}

int BuiltinSynth::Render(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
    auto* self = static_cast<BuiltinSynth*>(data);
    int result = FLUID_OK;
    if (nfx == 0 && nout >= 2) {
        std::array<float*, 4> fxb = {out[0], out[1], out[0], out[1]};
        result = fluid_synth_process(self->synth_.get(), len, 4, fxb.data(), nout, out);
    } else {
        result = fluid_synth_process(self->synth_.get(), len, nfx, fx, nout, out);
    }
    if (nout >= 2) {
        self->waves_.Mix(out[0], out[1], len);
        if (self->monitor_ != nullptr) self->monitor_->Rendered(out[0], out[1], len);
    }
    return result;
}

void BuiltinSynth::RunSilentClock(std::stop_token stop) {
    std::array<float, kSilentClockFrames> left{};
    std::array<float, kSilentClockFrames> right{};
    const auto start = std::chrono::steady_clock::now();
    const auto block = std::chrono::duration<double>(kSilentClockFrames / kSynthSampleRate);
    for (std::int64_t n = 1; !stop.stop_requested(); ++n) {
        RenderOffline(left.data(), right.data(), kSilentClockFrames);
        std::this_thread::sleep_until(start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                  block * static_cast<double>(n)));
    }
}

void BuiltinSynth::RenderOffline(float* left, float* right, int frames) {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    float* out[2] = {left, right};
    Render(this, frames, 0, nullptr, 2, out);
}

void BuiltinSynth::Send(std::uint32_t message) {
    fluid_synth_t* s = synth_.get();
    const std::uint8_t status = StatusOf(message);
    const int ch = status & 0x0F;
    const int d1 = Data1Of(message) & 0x7F;
    const int d2 = Data2Of(message) & 0x7F;
    switch (status & 0xF0) {
        case kNoteOnStatus:
            fluid_synth_noteon(s, ch, d1, d2);
            break;
        case kNoteOffStatus:
            fluid_synth_noteoff(s, ch, d1);
            break;
        case kControllerStatus:
            fluid_synth_cc(s, ch, d1, d2);
            break;
        case kProgramChangeStatus:
            fluid_synth_program_change(s, ch, d1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(s, ch, d1 | d2 << 7);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(s, ch, d1);
            break;
        case 0xA0:
            fluid_synth_key_pressure(s, ch, d1, d2);
            break;
        default:
            break;
    }
}

void BuiltinSynth::SetVolumeLevel(double level) {
    fluid_synth_set_gain(synth_.get(), static_cast<float>(kSynthGain * std::clamp(level, 0.0, 1.0)));
}

double BuiltinSynth::NowMs() const {
    return fluid_sequencer_get_tick(sequencer_.get()) * 1000.0 / kSynthSampleRate;
}

void BuiltinSynth::ScheduleAt(std::uint32_t message, double atMs, bool metronome) {
    std::lock_guard lock(scheduleMutex_);
    fluid_event_t* e = event_.get();
    if (!FillEvent(e, message)) return;
    fluid_event_set_source(e, metronome ? metronomeSource_ : playbackSource_);
    fluid_event_set_dest(e, synthClient_);
    // The synthesizer takes sequencer events at the start of its 64-sample blocks: rounding to the
    // nearest block start, rather than letting every event wait for the next one, halves the error.
    const unsigned now = fluid_sequencer_get_tick(sequencer_.get());
    const double sample = atMs * kSynthSampleRate / 1000.0;
    const double block = std::round(sample / kSynthBlockFrames) * kSynthBlockFrames;
    const auto at = static_cast<unsigned>(std::max<double>(block, now));
    fluid_sequencer_send_at(sequencer_.get(), e, at, 1);
}

void BuiltinSynth::RemoveScheduledPlayback() {
    std::lock_guard lock(scheduleMutex_);
    fluid_sequencer_remove_events(sequencer_.get(), playbackSource_, -1, -1);
}

void BuiltinSynth::RemoveScheduledMetronome() {
    std::lock_guard lock(scheduleMutex_);
    fluid_sequencer_remove_events(sequencer_.get(), metronomeSource_, -1, -1);
}

MidiFilePlay BuiltinSynth::PlayMidiFile(const std::filesystem::path& file, std::function<void()> ended) {
    StopMidiFile();
    const std::optional<std::string> bytes = files::readFile(file, kMaxMidiFileBytes);
    if (!bytes) return MidiFilePlay::Missing;
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                             bytes->size());
    if (!CheckMidiFile(data).Ok()) return MidiFilePlay::NotMidi;

    std::lock_guard lock(playerMutex_);
    player_.reset(new_fluid_player(synth_.get()));
    if (player_ == nullptr || fluid_player_add_mem(player_.get(), bytes->data(), bytes->size()) != FLUID_OK ||
        fluid_player_play(player_.get()) != FLUID_OK) {
        player_.reset();
        return MidiFilePlay::Failed;
    }
    playerWatch_ = std::jthread([player = player_.get(), ended = std::move(ended)](std::stop_token stop) {
        while (!stop.stop_requested()) {
            if (fluid_player_get_status(player) == FLUID_PLAYER_DONE) {
                if (ended) ended();
                return;
            }
            std::this_thread::sleep_for(kPlayerPoll);
        }
    });
    return MidiFilePlay::Playing;
}

void BuiltinSynth::StopMidiFile() {
    playerWatch_ = std::jthread();
    std::lock_guard lock(playerMutex_);
    if (player_ == nullptr) return;
    fluid_player_stop(player_.get());
    player_.reset();
    fluid_synth_all_notes_off(synth_.get(), -1);
}

}  // namespace kalvintor::sound
