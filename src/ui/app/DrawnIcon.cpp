// Icons drawn on demand.
#include "DrawnIcon.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <memory>

namespace kalvintor::ui {

namespace {

// A picture drawn for one size in device pixels and one mode.
struct DrawnKey {
    int width;
    int height;
    QIcon::Mode mode;
    bool operator==(const DrawnKey&) const = default;
    friend size_t qHash(const DrawnKey& k, size_t seed) {
        return qHashMulti(seed, k.width, k.height, static_cast<int>(k.mode));
    }
};

class DrawnIconEngine final : public QIconEngine {
public:
    using Draw = std::function<QPixmap(qreal)>;
    DrawnIconEngine(QSizeF natural, std::shared_ptr<const Draw> draw)
        : natural_(natural), draw_(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        const QSizeF shown = QSizeF(picture.size()) / ratio;
        const QPointF at(rect.x() + (rect.width() - shown.width()) / 2,
                         rect.y() + (rect.height() - shown.height()) / 2);
        painter->drawPixmap(QRectF(at, shown), picture, QRectF(picture.rect()));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return fitted(size); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize pixels = fitted(size);
        if (pixels.isEmpty()) return {};
        const DrawnKey key{pixels.width(), pixels.height(), mode};
        if (const auto found = drawn_.constFind(key); found != drawn_.constEnd()) return *found;
        QPixmap picture;
        if (mode == QIcon::Normal) {
            // A painter takes no pixel ratio below 1: smaller sizes are drawn at 1 and scaled down.
            const qreal ratio =
                std::min(pixels.width() / natural_.width(), pixels.height() / natural_.height());
            picture = (*draw_)(std::max<qreal>(1.0, ratio));
            // Whole pixels: the drawing may also come out a pixel off the size fitted.
            picture.setDevicePixelRatio(1.0);
            if (picture.size() != pixels)
                picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        } else {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            const QPixmap normal = pixmap(size, QIcon::Normal, state);
            picture = QApplication::style()
                          ? QApplication::style()->generatedIconPixmap(mode, normal, &option)
                          : normal;
        }
        drawn_.insert(key, picture);
        return picture;
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal) override {
        return pixmap(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {natural_.toSize()}; }

    QString key() const override { return QStringLiteral("kalvintor.drawn"); }

    QIconEngine* clone() const override { return new DrawnIconEngine(natural_, draw_); }

private:
    // The natural size scaled to fit `size` in whole pixels, keeping its proportions.
    QSize fitted(const QSize& size) const {
        if (size.isEmpty() || natural_.isEmpty()) return {};
        const QSizeF scaled = natural_.scaled(QSizeF(size), Qt::KeepAspectRatio);
        constexpr qreal kSlack = 1e-6;  // 22.999... is 23 pixels
        return {std::max(1, static_cast<int>(std::floor(scaled.width() + kSlack))),
                std::max(1, static_cast<int>(std::floor(scaled.height() + kSlack)))};
    }

    QSizeF natural_;
    std::shared_ptr<const Draw> draw_;
    QHash<DrawnKey, QPixmap> drawn_;
};

}  // namespace

QIcon drawnIcon(QSizeF natural, std::function<QPixmap(qreal ratio)> draw) {
    return QIcon(
        new DrawnIconEngine(natural, std::make_shared<const DrawnIconEngine::Draw>(std::move(draw))));
}

}  // namespace kalvintor::ui
