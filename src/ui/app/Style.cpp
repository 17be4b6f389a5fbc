// Colours and fonts.
#include "Style.h"

#include "Program.h"

#include <QFontDatabase>

namespace kalvintor::ui::style {
namespace {

QString loadMusicFontFamily() {
    const int id = QFontDatabase::addApplicationFont(musicFontFile());
    if (id < 0) return {};
    const auto families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

// Loaded once it is found: a call before the program directory is known tries again later.
const QString& musicFamily() {
    static QString family;
    if (family.isEmpty()) family = loadMusicFontFamily();
    return family;
}

}  // namespace

QColor colourFromSetting(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

QString toolButtonSheet() {
    return QStringLiteral(
               "QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 2px; background: "
               "transparent; }"
               "QToolButton:hover { background: rgba(255, 255, 255, 110); border-color: %1; }"
               "QToolButton:checked { background: rgba(31, 58, 95, 45); border-color: %2; }"
               "QToolButton:pressed { background: rgba(31, 58, 95, 80); }"
               "QToolButton:disabled, QToolButton:checked:disabled { background: transparent; border-color: "
               "transparent; }"
               "QToolButton:focus { border: 2px solid %3; padding: 1px; }")
        .arg(kNavyLight.name(), kNavy.name(), kAccent.name());
}

QFont uiFont(qreal pointSize, QFont::Weight weight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(pointSize);
    font.setWeight(weight);
    return font;
}

QFont musicFont(qreal pixelSize) {
    QFont font(musicFamily());
    font.setPixelSize(qRound(pixelSize));
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

bool musicFontAvailable() {
    return !musicFamily().isEmpty();
}

QString musicFontFile() {
    return toQString(program().paths.programDir / "fonts" / "Bravura.otf");
}

QString glyph(char32_t codePoint) {
    return QString::fromUcs4(&codePoint, 1);
}

}  // namespace kalvintor::ui::style
