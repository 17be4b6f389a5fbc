// The answer panels: a rounded, coloured card with a large button in its middle.
#include "pitch/AnswerPanel.h"

#include "app/Style.h"

#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr qreal kLetterPoints = 36;
constexpr qreal kNamePoints = 14;
constexpr int kButtonSide = 150;
constexpr qreal kBorder = 2;
}  // namespace

AnswerPanel::AnswerPanel(const QString& letter, QWidget* parent)
    : QWidget(parent), letter_(letter), button_(new QPushButton(this)) {
    setMinimumSize(220, 220);
    button_->setFixedSize(kButtonSide, kButtonSide);
    button_->setCursor(Qt::PointingHandCursor);
    button_->setFocusPolicy(Qt::TabFocus);
    button_->setStyleSheet(
        QStringLiteral(
            "QPushButton { color: %1; background: white; border: 2px solid %2; border-radius: 14px; }"
            "QPushButton:hover { border-color: %3; }"
            "QPushButton:pressed { background: %4; }"
            "QPushButton:disabled { color: %5; border-color: %5; }")
            .arg(style::kInk.name(), style::kNavyLight.name(), style::kAccent.name(), style::kSand.name(),
                 style::kDisabled.name()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(button_, 0, Qt::AlignCenter);
}

QColor AnswerPanel::colourOf(Shade shade) {
    switch (shade) {
        case Shade::Sounding:
            return style::kSounding;
        case Shade::Right:
            return style::kRight;
        case Shade::Wrong:
            return style::kWrong;
        case Shade::Normal:
            break;
    }
    return style::kPaper;
}

QColor AnswerPanel::colour() const {
    return colourOf(shade_);
}

void AnswerPanel::setShade(Shade shade) {
    if (shade_ == shade) return;
    shade_ = shade;
    update();
}

void AnswerPanel::showLetter(const QString& letterWithMnemonic) {
    button_->setFont(style::uiFont(kLetterPoints, QFont::Bold));
    button_->setText(letterWithMnemonic);
}

void AnswerPanel::showName(const QString& name) {
    button_->setFont(style::uiFont(kNamePoints, QFont::Bold));
    // A name with "&" would otherwise turn its next letter into a mnemonic.
    button_->setText(QString(name).replace(QLatin1Char('&'), QLatin1String("&&")));
}

void AnswerPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(kBorder / 2, kBorder / 2, -kBorder / 2, -kBorder / 2);
    painter.setPen(QPen(style::kNavy, kBorder));
    painter.setBrush(colour());
    painter.drawRoundedRect(card, style::kCorner * 2, style::kCorner * 2);
    const bool dark = shade_ == Shade::Right || shade_ == Shade::Wrong;
    painter.setPen(dark ? QColor(Qt::white) : style::kNavy);
    painter.setFont(style::uiFont(kNamePoints, QFont::Bold));
    painter.drawText(card.adjusted(style::kMargin, style::kGap, 0, 0), Qt::AlignLeft | Qt::AlignTop, letter_);
}

}  // namespace kalvintor::ui
