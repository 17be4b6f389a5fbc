// The one Program instance.
#include "Program.h"

namespace kalvintor::ui {

Program& program() {
    static Program instance;
    return instance;
}

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::filesystem::path toPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace kalvintor::ui
