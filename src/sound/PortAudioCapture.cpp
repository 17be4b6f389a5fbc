// The microphone's capture through PortAudio's default input.
#include "sound/MicAnalyzer.h"
#include "sound/MicCapture.h"
#include "sound/QuietAudio.h"

#include <portaudio.h>

namespace kalvintor::sound {

namespace {

constexpr unsigned long kCaptureFrames = 256;

class PortAudioCapture final : public MicCapture {
public:
    ~PortAudioCapture() override {
        Stop();
        if (initialised_) Pa_Terminate();
    }

    bool Start(Deliver deliver, void* user) override {
        Stop();
        QuietAudioLibraries();
        if (!initialised_) {
            if (Pa_Initialize() != paNoError) return false;
            initialised_ = true;
        }
        const PaDeviceIndex device = Pa_GetDefaultInputDevice();
        if (device == paNoDevice) return false;
        const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
        if (info == nullptr || info->maxInputChannels < 1) return false;
        PaStreamParameters input{device, 1, paFloat32, info->defaultLowInputLatency, nullptr};
        double rate = kMicSampleRate;
        if (Pa_IsFormatSupported(&input, nullptr, rate) != paFormatIsSupported)
            rate = info->defaultSampleRate;
        if (!(rate >= kMicLowestRate && rate <= kMicHighestRate)) return false;
        deliver_ = deliver;
        user_ = user;
        PaStream* raw = nullptr;
        if (Pa_OpenStream(&raw, &input, nullptr, rate, kCaptureFrames, paClipOff, &PortAudioCapture::Callback,
                          this) != paNoError) {
            return false;
        }
        stream_ = raw;
        rate_ = rate;
        const PaStreamInfo* si = Pa_GetStreamInfo(raw);
        latencyMs_ = si != nullptr ? si->inputLatency * 1000.0 : 0.0;
        if (Pa_StartStream(raw) != paNoError) {
            Stop();
            return false;
        }
        return true;
    }

    void Stop() override {
        if (stream_ == nullptr) return;
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
        stream_ = nullptr;
    }

    bool Running() const override { return stream_ != nullptr && Pa_IsStreamActive(stream_) == 1; }
    double Rate() const override { return rate_; }
    double LatencyMs() const override { return latencyMs_; }

private:
    static int Callback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                        PaStreamCallbackFlags, void* self) {
        auto* capture = static_cast<PortAudioCapture*>(self);
        if (input != nullptr) capture->deliver_(static_cast<const float*>(input), frames, capture->user_);
        return paContinue;
    }

    bool initialised_ = false;
    PaStream* stream_ = nullptr;
    Deliver deliver_ = nullptr;
    void* user_ = nullptr;
    double rate_ = kMicSampleRate;
    double latencyMs_ = 0;
};

}  // namespace

std::unique_ptr<MicCapture> MakePortAudioCapture() {
    return std::make_unique<PortAudioCapture>();
}

}  // namespace kalvintor::sound
