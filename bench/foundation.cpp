// Foundation benchmarks: reading a full language file, and settings record coding.
#include "language/Language.h"
#include "settings/SettingRecord.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string syntheticLanguageFile() {
    std::string text;
    for (int id = 1; id <= 6500; ++id)
        text += std::to_string(id) + "=Text number " + std::to_string(id) + " with some words in it\r\n";
    return text;
}

void BM_ParseAndApplyLanguage(benchmark::State& state) {
    using namespace kalvintor::language;
    const std::string file = syntheticLanguageFile();
    Language language;
    std::size_t sink = 0;
    for (int id = 1; id <= 6500; id += 3)
        language.bind(id, TextGroup::Full, Decoration::None, [&](const std::string& t) { sink += t.size(); });
    for (auto _ : state) {
        language.apply(parseLanguageFile(file), kLoadAll);
        benchmark::DoNotOptimize(sink);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ParseAndApplyLanguage);

void BM_SettingsRoundTrip(benchmark::State& state) {
    using namespace kalvintor::settings;
    const auto bytes = defaultSettingBytes();
    for (auto _ : state) {
        auto settings = decodeSettings(bytes);
        benchmark::DoNotOptimize(encodeSettings(*settings));
    }
}
BENCHMARK(BM_SettingsRoundTrip);

}  // namespace
