// Fuzz target: language files, parsed and applied to bound targets.
#include "language/Format.h"
#include "language/Language.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::language;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Language language;
    language.setTeacherWindowsExist(size % 2 == 0);
    std::size_t delivered = 0;
    for (int id : {5, 205, 320, 6100})
        language.bind(id, TextGroup::Full, Decoration::SetupHeading,
                      [&](const std::string& text) { delivered += text.size(); });
    const auto entries = parseLanguageFile(bytes);
    language.apply(entries, kLoadAll);
    for (const auto& entry : entries)
        delivered += FormatText(entry.text, {FormatArgument(7LL), FormatArgument(std::string("x"))}).size();
    return 0;
}
