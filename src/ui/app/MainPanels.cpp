// The tool panels' widgets and the tool buttons' pictures, drawn with QPainter so they stay
// sharp at any pixel ratio.
#include "MainPanels.h"

#include "Accessible.h"
#include "DrawnIcon.h"
#include "Pictures.h"
#include "Program.h"
#include "Style.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kalvintor::ui {

namespace {

const QColor kGaugeGreen{0x2E, 0xA0, 0x4A};
const QColor kGaugeMaroon{0x80, 0x00, 0x00};
const QColor kButtonFace{0xEF, 0xEB, 0xE4};
constexpr int kIconSize = 24;

QColor dotColour(app::DotColour colour) {
    switch (colour) {
        case app::DotColour::BrightGreen:
            return {0, 255, 0};
        case app::DotColour::DarkGreen:
            return {0, 128, 0};
        case app::DotColour::Silver:
            break;
    }
    return {192, 192, 192};
}

void drawGlyph(QPainter& p, ToolGlyph glyph) {
    const QColor ink = style::kNavy;
    QPen pen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
        case ToolGlyph::LoadSetup: {
            QPainterPath folder;
            folder.moveTo(3, 7);
            folder.lineTo(9, 7);
            folder.lineTo(11, 9);
            folder.lineTo(21, 9);
            folder.lineTo(21, 19);
            folder.lineTo(3, 19);
            folder.closeSubpath();
            p.setBrush(style::kSand);
            p.drawPath(folder);
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            break;
        }
        case ToolGlyph::Tutor: {
            QPainterPath cap;
            cap.moveTo(2, 9);
            cap.lineTo(12, 4);
            cap.lineTo(22, 9);
            cap.lineTo(12, 14);
            cap.closeSubpath();
            p.setBrush(ink);
            p.drawPath(cap);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(6, 8, 12, 10), 180 * 16, 180 * 16);
            p.drawLine(QPointF(20, 10), QPointF(20, 17));
            break;
        }
        case ToolGlyph::ExerciseView: {
            QPainterPath play;
            play.moveTo(8, 5);
            play.lineTo(19, 12);
            play.lineTo(8, 19);
            play.closeSubpath();
            p.setBrush(style::kAccent);
            p.drawPath(play);
            break;
        }
        case ToolGlyph::SetupView:
            for (int i = 0; i < 3; ++i) {
                const qreal y = 6 + 6 * i;
                p.drawLine(QPointF(4, y), QPointF(20, y));
                const qreal x = i == 1 ? 15 : (i == 0 ? 8 : 11);
                p.setBrush(style::kPaper);
                p.drawEllipse(QPointF(x, y), 2.4, 2.4);
            }
            break;
        case ToolGlyph::ResultsView:
            p.drawLine(QPointF(3, 20), QPointF(21, 20));
            p.setBrush(style::kNavyLight);
            p.drawRect(QRectF(5, 12, 3.5, 8));
            p.drawRect(QRectF(10.5, 7, 3.5, 13));
            p.setBrush(style::kAccent);
            p.drawRect(QRectF(16, 10, 3.5, 10));
            break;
        case ToolGlyph::UsersView:
            p.setBrush(style::kNavyLight);
            p.drawEllipse(QPointF(9, 8), 3.2, 3.2);
            p.drawChord(QRectF(3, 13, 12, 12), 0, 180 * 16);
            p.setBrush(style::kAccent);
            p.drawEllipse(QPointF(16, 9), 2.8, 2.8);
            p.drawChord(QRectF(11, 14, 10, 10), 0, 180 * 16);
            break;
        case ToolGlyph::TutorSetup: {
            p.drawRect(QRectF(4, 5, 11, 15));
            p.drawLine(QPointF(6.5, 9), QPointF(12.5, 9));
            p.drawLine(QPointF(6.5, 12.5), QPointF(10.5, 12.5));
            QPainterPath pencil;
            pencil.moveTo(19, 6);
            pencil.lineTo(21.5, 8.5);
            pencil.lineTo(13, 17);
            pencil.lineTo(10, 18);
            pencil.lineTo(11, 15);
            pencil.closeSubpath();
            p.setBrush(style::kAccent);
            p.drawPath(pencil);
            break;
        }
        case ToolGlyph::Help: {
            p.setBrush(style::kNavy);
            p.drawEllipse(QPointF(12, 12), 9, 9);
            p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
            QPainterPath q;
            q.moveTo(9, 9.5);
            q.cubicTo(9, 6, 15, 6, 15, 9.5);
            q.cubicTo(15, 12, 12, 11.5, 12, 14);
            p.setBrush(Qt::NoBrush);
            p.drawPath(q);
            p.drawPoint(QPointF(12, 17.5));
            break;
        }
        case ToolGlyph::Overview:
            p.setBrush(style::kPaper);
            for (int row = 0; row < 2; ++row)
                for (int col = 0; col < 2; ++col)
                    p.drawRoundedRect(QRectF(4 + 9 * col, 4 + 9 * row, 7, 7), 1.5, 1.5);
            break;
        case ToolGlyph::Metronome: {
            QPainterPath body;
            body.moveTo(8, 4);
            body.lineTo(16, 4);
            body.lineTo(20, 20);
            body.lineTo(4, 20);
            body.closeSubpath();
            p.setBrush(style::kSand);
            p.drawPath(body);
            p.drawLine(QPointF(12, 17), QPointF(17, 6));
            p.setBrush(style::kAccent);
            p.drawEllipse(QPointF(15.2, 10), 1.8, 1.8);
            break;
        }
        case ToolGlyph::VisualMetronome:
            for (int i = 0; i < 4; ++i) {
                p.setBrush(i == 0 ? QColor(0, 200, 0) : QColor(192, 192, 192));
                p.setPen(Qt::NoPen);
                p.drawEllipse(QPointF(4.5 + 5 * i, 16), 2.2, 2.2);
            }
            p.setPen(pen);
            p.drawLine(QPointF(12, 12), QPointF(8, 3));
            break;
        case ToolGlyph::Microphone:
            p.setBrush(style::kNavyLight);
            p.drawRoundedRect(QRectF(9, 3, 6, 11), 3, 3);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(6, 6, 12, 11), 180 * 16, 180 * 16);
            p.drawLine(QPointF(12, 17), QPointF(12, 21));
            p.drawLine(QPointF(8.5, 21), QPointF(15.5, 21));
            break;
        case ToolGlyph::MidiKeyboard:
            // Five white keys with three black ones over them.
            p.setBrush(Qt::white);
            p.drawRect(QRectF(2, 6, 20, 13));
            for (double x : {6.0, 10.0, 14.0, 18.0}) p.drawLine(QPointF(x, 6), QPointF(x, 19));
            p.setBrush(style::kNavyLight);
            for (double x : {4.6, 8.6, 16.6}) p.drawRect(QRectF(x, 6, 2.8, 7.5));
            break;
    }
}

QPixmap glyphPixmap(ToolGlyph glyph, qreal ratio) {
    QPixmap pixmap(QSize(kIconSize, kIconSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawGlyph(p, glyph);
    return pixmap;
}

}  // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Gauge15"));
    setMinimumSize(40, 12);
    installAccessibility();
}

void TGauge::SetProgress(int percent) {
    const int clamped = std::clamp(percent, 0, 100);
    if (clamped == progress_) return;
    progress_ = clamped;
    update();
    QAccessibleValueChangeEvent event(this, progress_);
    QAccessible::updateAccessibility(&event);
}

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {
    installAccessibility();
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(style::kInk.lighter(160), 1));
    p.setBrush(kGaugeMaroon);
    p.drawRoundedRect(frame, 3, 3);
    QRectF filled = frame.adjusted(1, 1, -1, -1);
    filled.setWidth(filled.width() * progress_ / 100.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kGaugeGreen);
    p.drawRoundedRect(filled, 2, 2);
    p.setPen(Qt::white);
    p.setFont(style::uiFont(8, QFont::Bold));
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1%").arg(progress_));
}

TMetronomeBox::TMetronomeBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox2"));
    setFixedSize(72, 50);
}

void TMetronomeBox::ShowFrame(const app::VisualMetronomeFrame& frame) {
    frame_ = frame;
    update();
}

void TMetronomeBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kButtonFace);
    imageLists().imageList1.draw(p, frame_.pictureX, frame_.pictureY, frame_.pictureCell);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (const app::MetronomeDot& dot : frame_.dots) {
        p.setBrush(dotColour(dot.colour));
        p.drawEllipse(QRectF(dot.left, dot.top, dot.right - dot.left, dot.bottom - dot.top));
    }
}

QIcon toolIcon(ToolGlyph glyph) {
    return drawnIcon(QSizeF(kIconSize, kIconSize),
                     [glyph](qreal ratio) { return glyphPixmap(glyph, ratio); });
}

QIcon exerciseIcon(int exercise) {
    // The start menu's picture drawn at twice the size shown and scaled down: every line stays
    // sharp.
    return drawnIcon(QSizeF(50, 22.5),
                     [exercise](qreal ratio) { return exercisePicture(exercise, style::kNavy, 2 * ratio); });
}

QPixmap tempoNotePicture(qreal devicePixelRatio) {
    const QSize size(18, 26);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (style::musicFontAvailable()) {
        p.setFont(style::musicFont(20));
        p.setPen(style::kInk);
        p.drawText(QPointF(3, 20), style::glyph(style::kGlyphQuarterNoteUp));
    } else {
        p.setPen(QPen(style::kInk, 1.4));
        p.setBrush(style::kInk);
        p.drawEllipse(QRectF(3, 16, 8, 6));
        p.drawLine(QPointF(10.5, 19), QPointF(10.5, 3));
    }
    return pixmap;
}

}  // namespace kalvintor::ui
