// The built-in synthesizer's output port.
#include "sound/BuiltinOutPort.h"

namespace kalvintor::sound {

BuiltinOutPort::BuiltinOutPort(BuiltinSynth& synth)
    : synth_(synth),
      playback_(std::make_unique<ScheduledPlayback>(static_cast<PlaybackTarget&>(*this),
                                                    synth.Output() != AudioOutput::Offline)) {}

BuiltinOutPort::~BuiltinOutPort() {
    playback_.reset();
    synth_.RemoveScheduledPlayback();
    synth_.RemoveScheduledMetronome();
}

bool BuiltinOutPort::Send(std::uint32_t message) {
    synth_.Send(message);
    return true;
}

bool BuiltinOutPort::SetVolume(std::uint32_t word) {
    volume_ = word;
    // The louder of the two sides, as the synthesizer has one gain.
    const std::uint32_t left = (word >> 8) & 0xFF;
    const std::uint32_t right = (word >> 24) & 0xFF;
    synth_.SetVolumeLevel(static_cast<double>(std::max(left, right)) / 255.0);
    return true;
}

void BuiltinOutPort::Retract(bool metronome) {
    if (metronome) {
        synth_.RemoveScheduledMetronome();
    } else {
        synth_.RemoveScheduledPlayback();
    }
}

void BuiltinOutPort::RenderOffline(std::vector<float>& left, std::vector<float>& right, std::size_t frames) {
    const std::size_t start = left.size();
    left.resize(start + frames);
    right.resize(start + frames);
    for (std::size_t done = 0; done < frames;) {
        playback_->Pump();
        const int n = static_cast<int>(std::min<std::size_t>(kOfflineBlockFrames, frames - done));
        synth_.RenderOffline(left.data() + start + done, right.data() + start + done, n);
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace kalvintor::sound
