// The sound services.
#include "sound/SoundServices.h"

#include "files/Files.h"
#include "sound/SoundEvents.h"

#include <span>

namespace kalvintor::sound {

namespace {
constexpr std::uint8_t kDefaultWaveLevel = 110;
}

SoundServices::SoundServices(BuiltinSynth* synth, std::filesystem::path mediaDir)
    : synth_(synth), mediaDir_(std::move(mediaDir)) {
    SetWaveVolume(kDefaultWaveLevel);
}

WaveError SoundServices::PlayWave(const std::string& name) {
    // Names come from the settings: a name that leaves the media directory plays nothing.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") {
        return WaveError::Missing;
    }
    const std::string fileName = name + ".wav";
    const auto found = files::findCaseInsensitive(mediaDir_, fileName);
    const WaveLoad load = LoadWaveFile(found ? *found : mediaDir_ / fileName, kSynthSampleRate);
    if (load.sound != nullptr && synth_ != nullptr) synth_->Waves().Play(load.sound);
    if (load.sound != nullptr && waiting_) waves_.push_back(load.sound);
    return load.error;
}

void SoundServices::SynthReady(BuiltinSynth* synth) {
    if (!waiting_) return;
    waiting_ = false;
    synth_ = synth;
    const std::optional<KeptTune> tune = std::move(tune_);
    tune_.reset();
    std::vector<std::shared_ptr<const WaveSound>> waves;
    waves.swap(waves_);
    if (synth_ == nullptr) return;
    SetWaveVolume(static_cast<std::uint8_t>((waveVolume_ >> 8) & 0xFF));
    for (auto& wave : waves) synth_->Waves().Play(std::move(wave));
    if (tune) PlayMidiFile(tune->file, tune->receiver);
}

void SoundServices::SetWaveVolume(std::uint8_t level) {
    waveVolume_ = std::uint32_t{level} << 8 | std::uint32_t{level} << 24;
    if (synth_ != nullptr) synth_->Waves().SetLevel(level);
}

bool SoundServices::GetWaveVolume(std::uint8_t& level) const {
    level = static_cast<std::uint8_t>((waveVolume_ >> 8) & 0xFF);
    return true;
}

MidiFilePlay SoundServices::PlayMidiFile(const std::filesystem::path& file, QObject* receiver) {
    if (waiting_) {
        // Checked now, so that a missing or broken tune is reported as it would be at once.
        const std::optional<std::string> bytes = files::readFile(file, kMaxMidiFileBytes);
        if (!bytes) return MidiFilePlay::Missing;
        const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                                 bytes->size());
        if (!CheckMidiFile(data).Ok()) return MidiFilePlay::NotMidi;
        tune_ = KeptTune{file, receiver};
        return MidiFilePlay::Playing;
    }
    if (synth_ == nullptr) return MidiFilePlay::Failed;
    return synth_->PlayMidiFile(file, [receiver] {
        if (receiver != nullptr) QCoreApplication::postEvent(receiver, new MidiFileEndEvent());
    });
}

void SoundServices::StopMidiFile() {
    tune_.reset();
    if (synth_ != nullptr) synth_->StopMidiFile();
}

}  // namespace kalvintor::sound
