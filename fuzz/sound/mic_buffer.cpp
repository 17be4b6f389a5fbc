// Fuzz target: whatever a capture device delivers (any float bits, at any rate, in any mode) goes
// through the microphone analysis without harm, and what it reports stays in range.
#include "sound/MicAnalyzer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::sound;
    if (size < 2) return 0;
    // First byte: mode and precision; second: the stream's rate; then the samples.
    const bool rhythm = (data[0] & 1) != 0;
    const bool precise = (data[0] & 2) != 0;
    constexpr double kRates[] = {44100.0, 48000.0, 22050.0, 96000.0, 8000.0, 0.0, 1e12};
    const double rate = kRates[data[1] % (sizeof kRates / sizeof kRates[0])];
    std::vector<float> samples((size - 2) / sizeof(float));
    if (!samples.empty()) std::memcpy(samples.data(), data + 2, samples.size() * sizeof(float));

    MicAnalyzer analyzer;
    analyzer.Configure({static_cast<std::int32_t>(data[0] >> 2), precise, 196608.0 * (1 + (data[0] >> 4))});
    if ((data[0] & 4) != 0) analyzer.ProgramSound({OwnSound::Kind::Click, 37, 5.0, 5.0});
    if ((data[0] & 8) != 0) analyzer.ProgramSound({OwnSound::Kind::Note, 60, 0.0, 100.0});
    analyzer.Begin(rhythm ? MicMode::Rhythm : MicMode::Tone);
    std::vector<MicDetection> out;
    // Fed in pieces, as capture buffers come; the stream repeated so that short inputs reach hops.
    for (int round = 0; round < 4; ++round) {
        for (std::size_t i = 0; i < samples.size(); i += 300) {
            analyzer.Feed(samples.data() + i, std::min<std::size_t>(300, samples.size() - i), 1000.0 + i, out,
                          rate);
        }
    }
    for (const MicDetection& d : out) {
        if (d.note < 0 || d.note > 127 || !std::isfinite(d.clockMs) || !std::isfinite(d.streamMs))
            __builtin_trap();
    }
    return 0;
}
