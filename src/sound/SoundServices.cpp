// The sound services.
#include "sound/SoundServices.h"

#include "files/Files.h"
#include "sound/SoundEvents.h"

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
    return load.error;
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
    if (synth_ == nullptr) return MidiFilePlay::Failed;
    return synth_->PlayMidiFile(file, [receiver] {
        if (receiver != nullptr) QCoreApplication::postEvent(receiver, new MidiFileEndEvent());
    });
}

void SoundServices::StopMidiFile() {
    if (synth_ != nullptr) synth_->StopMidiFile();
}

}  // namespace kalvintor::sound
