// Fuzz target: stored rhythm setup blocks (and old 30-byte blocks). A block that decodes must
// encode back to the same bytes, and whatever it holds, making, changing, judging and laying out
// a rhythm must finish without fault. Bytes after the block seed the generator and give the taps.
#include "app/Random.h"
#include "exercises/rhythm/Rytme.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

using namespace kalvintor;
using namespace kalvintor::rhythm;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (size >= kOldRhythmSetupSize) (void)convertOldRhythmSetup(bytes.first(kOldRhythmSetupSize));
    if (size < kRhythmSetupSize) return 0;

    const auto setup = decodeRhythmSetup(bytes.first(kRhythmSetupSize));
    if (!setup) std::abort();
    const auto encoded = encodeRhythmSetup(*setup);
    if (!std::equal(encoded.begin(), encoded.end(), data)) std::abort();

    const auto rest = bytes.subspan(kRhythmSetupSize);
    std::uint64_t seed = 0;
    for (std::size_t i = 0; i < rest.size() && i < 8; ++i) seed = seed << 8 | rest[i];
    app::SeedRandom(seed);
    app::SetRandomizeClock([seed] { return seed; });

    TRytme engine;
    engine.Setup(*setup);
    engine.Generate();
    engine.InjectErrors();
    const int width = 100 + (rest.empty() ? 0 : rest[0] * 4);
    engine.Layout(0, width);
    engine.Layout(1, width);

    engine.StartTaps();
    const std::int64_t zero = engine.TapZero();
    for (std::size_t i = 8; i + 1 < rest.size(); i += 2)
        engine.AddTap(zero + (static_cast<std::int64_t>(rest[i]) << 8 | rest[i + 1]) * 4);
    std::string message;
    const int score = engine.Evaluate(setup->reservedTail[0], message);
    if (score < 0 || score > 100) std::abort();
    app::SetRandomizeClock(nullptr);
    return 0;
}
