// Fuzz target: the class roster reader and the checks of each row, over any bytes a spreadsheet
// export (or anything else handed to "users import") may hold.
#include "admin/Roster.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = kalvintor::admin::parseRoster(bytes);
    // Either a roster or a reason, never both and never neither.
    if (parsed.roster.has_value() == !parsed.error.empty()) std::abort();
    if (!parsed.roster) return 0;
    for (const auto& row : parsed.roster->rows) {
        const auto checked = kalvintor::admin::checkRow(row);
        if (checked.refusal.empty() != checked.level.has_value()) std::abort();
    }
    return 0;
}
