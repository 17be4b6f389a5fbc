// The play-style indicators: small pictures of three note heads stacked, rising and falling.
#include "pitch/PlayStyleIndicators.h"

#include "app/Style.h"
#include "app/Texts.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

constexpr int kIconSize = 22;

// Three heads: stacked in one column (together), or stepping up or down from left to right.
QIcon styleIcon(int index) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(QSize(kIconSize, kIconSize) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(style::kInk);
        for (int k = 0; k < 3; ++k) {
            const qreal x = index == 0 ? 11 : 5 + 6 * k;
            const qreal y = index == 2 ? 5 + 6 * k : 17 - 6 * k;
            p.save();
            p.translate(x, y);
            p.rotate(-20);
            p.drawEllipse(QPointF(0, 0), 3.6, 2.6);
            p.restore();
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

struct Indicator {
    int textId;
    const char* designTime;
    const char* objectName;
};
constexpr Indicator kIndicators[] = {{8200, "Played together", "StyleTogether"},
                                     {8201, "Arpeggio upwards", "StyleUp"},
                                     {8202, "Arpeggio downwards", "StyleDown"}};

}  // namespace

PlayStyleIndicators::PlayStyleIndicators(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PlayStyles"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const Indicator& d = kIndicators[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(d.objectName));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setIcon(styleIcon(static_cast<int>(i)));
        b->setIconSize(QSize(kIconSize, kIconSize));
        b->setFixedSize(kIconSize + 8, kIconSize + 8);
        // An indicator: it shows the style and takes neither clicks nor the focus.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAttribute(Qt::WA_TransparentForMouseEvents);
        bindText(b, d.textId, [b](const QString& t) {
            b->setAccessibleName(t);
            b->setToolTip(t);
        });
        if (b->accessibleName().isEmpty()) {
            b->setAccessibleName(text(d.textId, d.designTime));
            b->setToolTip(b->accessibleName());
        }
        row->addWidget(b);
        buttons_[i] = b;
    }
}

void PlayStyleIndicators::showStyle(pitch::PlayStyle style) {
    int index = 0;
    switch (style) {
        case pitch::PlayStyle::Up:
        case pitch::PlayStyle::UpHeld:
            index = 1;
            break;
        case pitch::PlayStyle::Down:
        case pitch::PlayStyle::DownHeld:
            index = 2;
            break;
        default:
            break;
    }
    buttons_[static_cast<std::size_t>(index)]->setChecked(true);
}

int PlayStyleIndicators::pressedIndex() const {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->isChecked()) return static_cast<int>(i);
    return -1;
}

}  // namespace kalvintor::ui
