// Fuzz target: whatever a capture device delivers (any float bits, in buffers of any size, at any
// rate) goes through the microphone analysis in both modes and under any configuration without
// harm, and what it reports keeps to the exercise's range and the clock.
#include "sound/MicAnalyzer.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The input: a header, then the samples as raw floats.
struct Header {
    std::uint8_t flags;  // bit 0 rhythm, 1 high precision, 2 a click told, 3 a note told, 4 range given
    std::int32_t rhythmThreshold;
    double toneThreshold;
    std::uint8_t rate;  // index into kRates
    std::uint8_t low, high;
    std::uint8_t chunks[8];  // the capture buffer sizes, used in turn
};
constexpr std::size_t kHeaderSize = 1 + 4 + 8 + 1 + 2 + 8;
constexpr double kRates[] = {44100.0, 48000.0, 22050.0, 96000.0, 8000.0, 192000.0, 0.0, -44100.0, 1e12};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::sound;
    if (size < kHeaderSize) return 0;
    Header h{};
    h.flags = data[0];
    std::memcpy(&h.rhythmThreshold, data + 1, 4);
    std::memcpy(&h.toneThreshold, data + 5, 8);
    h.rate = data[13];
    h.low = data[14];
    h.high = data[15];
    std::memcpy(h.chunks, data + 16, 8);
    std::vector<float> samples((size - kHeaderSize) / sizeof(float));
    if (!samples.empty()) std::memcpy(samples.data(), data + kHeaderSize, samples.size() * sizeof(float));
    const double rate = kRates[h.rate % (sizeof kRates / sizeof kRates[0])];

    MicAnalyzer analyzer;
    analyzer.Configure({h.rhythmThreshold, (h.flags & 2) != 0, h.toneThreshold});
    int low = kMicLowestNote, high = kMicHighestNote;
    if ((h.flags & 16) != 0) {
        analyzer.SetPitchRange(h.low, h.high);
        if (h.low <= h.high) {
            low = std::min<int>(h.low, 127);
            high = std::min<int>(h.high, 127);
        }
    }
    if ((h.flags & 4) != 0) analyzer.ProgramSound({OwnSound::Kind::Click, 37, 1005.0, 1005.0});
    if ((h.flags & 8) != 0) analyzer.ProgramSound({OwnSound::Kind::Note, 60, 1000.0, 1100.0});
    analyzer.Begin((h.flags & 1) != 0 ? MicMode::Rhythm : MicMode::Tone);
    std::vector<MicDetection> out;
    // Fed in buffers of the sizes the header gives (0 is a buffer of nothing); the stream repeated
    // so that short inputs reach several hops.
    double clock = 1000.0;
    std::size_t turn = 0;
    for (int round = 0; round < 4; ++round) {
        for (std::size_t i = 0; i < samples.size();) {
            const std::size_t chunk = std::min<std::size_t>(h.chunks[turn++ % 8] * 4u, samples.size() - i);
            analyzer.Feed(samples.data() + i, chunk, clock, out, rate);
            if (rate > 0) clock += static_cast<double>(chunk) * 1000.0 / rate;
            i += chunk == 0 ? 1 : chunk;
        }
    }
    for (const MicDetection& d : out) {
        if (!std::isfinite(d.clockMs) || !std::isfinite(d.streamMs) || d.streamMs < 0) __builtin_trap();
        if (d.kind == MicDetection::Kind::Note && (d.note < low || d.note > high)) __builtin_trap();
        if (d.kind != MicDetection::Kind::Note && d.note != 0) __builtin_trap();
    }
    if (!(analyzer.LevelDb() <= 10.0 && analyzer.LevelDb() >= kMicSilentDb)) __builtin_trap();
    return 0;
}
