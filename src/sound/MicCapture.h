// Where the microphone's samples come from: a capture device that delivers mono float buffers to a
// callback on its own thread. PortAudio's default input in the program; tests put their own.
#pragma once

#include <cstddef>
#include <memory>

namespace kalvintor::sound {

class MicCapture {
public:
    // Called on the capture thread with each buffer; never blocks.
    using Deliver = void (*)(const float* samples, std::size_t frames, void* user);

    virtual ~MicCapture() = default;
    // Opens the input and starts delivering; false when there is no usable input.
    virtual bool Start(Deliver deliver, void* user) = 0;
    // Stops delivering: no call of `deliver` once it returns. Start may follow.
    virtual void Stop() = 0;
    // The stream still runs (a device pulled out stops it, or leaves it without buffers).
    virtual bool Running() const = 0;
    // Of the started stream: its rate and how long a sample takes from the microphone to delivery.
    virtual double Rate() const = 0;
    virtual double LatencyMs() const = 0;
};

// The default input of the machine through PortAudio, at the analysis rate when the device gives
// it, else at the device's own rate.
std::unique_ptr<MicCapture> MakePortAudioCapture();

}  // namespace kalvintor::sound
