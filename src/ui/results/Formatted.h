// Language format texts ("%s", "%d") filled in on the Qt side.
#pragma once

#include "language/Format.h"

#include <QString>

#include <vector>

namespace kalvintor::ui {

// The loaded (or design-time) format text of `id` with its placeholders filled in order.
QString formatted(int id, const char* designTime, const std::vector<language::FormatArgument>& arguments);

inline language::FormatArgument arg(const QString& s) {
    return s.toStdString();
}
inline language::FormatArgument arg(long long v) {
    return v;
}

}  // namespace kalvintor::ui
