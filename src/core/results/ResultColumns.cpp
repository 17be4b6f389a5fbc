// The results window's columns.
#include "results/ResultColumns.h"

namespace kalvintor::results {

bool hasEntryColumns(int exercise) {
    return exercise == 1 || exercise == 2 || exercise == 7 || exercise == 8 || exercise == 10;
}

std::vector<int> ShownColumns(const std::array<bool, kBaseColumns>& shown, bool details, int exercise,
                              const std::vector<data::ResultRecord>& rows) {
    std::vector<int> codes;
    for (int code = 0; code < kBaseColumns; ++code)
        if (code == 0 || code == kBaseColumns - 1 || shown[static_cast<std::size_t>(code)])
            codes.push_back(code);
    if (details && hasEntryColumns(exercise)) {
        for (std::size_t i = 0; i < data::kItemCount; ++i) {
            for (const data::ResultRecord& r : rows) {
                if (r.itemStats[i].asked != 0) {
                    codes.push_back(kEntryColumn + static_cast<int>(i) + 1);
                    break;
                }
            }
        }
    }
    return codes;
}

}  // namespace kalvintor::results
