// Foundation benchmarks: reading a full language file, and settings record coding.
#include "language/Language.h"
#include "settings/SettingRecord.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// 6500 texts as a translated language file holds them: letters beyond ASCII in UTF-8 (accents,
// Nordic letters, dashes and quotes), one line in eight still in code page 1252 as older files
// were saved, comment lines, and CR LF line ends.
std::string syntheticLanguageFile() {
    static const char* const kWords[] = {"Übung",   "Akkordtræk", "højre", "nächste", "–",
                                         "„citat“", "résultat",   "señal", "Åben"};
    static const char* const kCp1252[] = {"\xC6ndring", "\xF8velse", "M\xE5l", "\x93quoted\x94"};
    std::string text = "; Translated texts\r\n";
    for (int id = 1; id <= 6500; ++id) {
        if (id % 100 == 0) text += "; section " + std::to_string(id / 100) + "\r\n";
        text += std::to_string(id) + "=";
        for (int w = 0; w < 6; ++w) {
            if (w > 0) text += ' ';
            text += id % 8 == 0 ? kCp1252[(id + w) % 4] : kWords[(id * 7 + w) % 9];
        }
        text += "\r\n";
    }
    return text;
}

// Every third text is bound, with each decoration the loader adds (menu keys, "...", ":", the
// chooser note, the 32-character setup heading).
void BM_ParseAndApplyLanguage(benchmark::State& state) {
    using namespace kalvintor::language;
    const std::string file = syntheticLanguageFile();
    static constexpr Decoration kDecorations[] = {
        Decoration::None,        Decoration::MenuTitle,    Decoration::OpensDialog,  Decoration::Label,
        Decoration::ChooserNote, Decoration::SetupHeading, Decoration::ReportCaption};
    Language language;
    std::size_t sink = 0;
    int bound = 0;
    for (int id = 1; id <= 6500; id += 3) {
        language.bind(id, TextGroup::Full, kDecorations[bound++ % 7],
                      [&](const std::string& t) { sink += t.size(); });
    }
    for (auto _ : state) {
        language.apply(parseLanguageFile(file), kLoadAll);
        benchmark::DoNotOptimize(sink);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["texts_bound"] = bound;
}
BENCHMARK(BM_ParseAndApplyLanguage)->Unit(benchmark::kMillisecond)->UseRealTime();

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
