// The one Program instance.
#include "Program.h"

#include <QGuiApplication>

namespace kalvintor::ui {

Program& program() {
    static Program instance;
    return instance;
}

const ImageLists& imageLists() {
    Program& p = program();
    if (p.imageLists.controlButtonImageList.cells.isEmpty())
        p.imageLists = makeImageLists(p.highColour, qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
    return p.imageLists;
}

QString toQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

std::filesystem::path toPath(const QString& path) { return std::filesystem::path(path.toStdString()); }

}  // namespace kalvintor::ui
