// The fretboard: fret lines spaced as on a real neck and scaled to the visible frets; the string
// and fret under the mouse come from the core's guitar geometry.
#include "pitch/TGuitar.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "exercises/pitch/Instruments.h"
#include "notation/StaffPainter.h"
#include "pitch/InstrumentAccessible.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace kalvintor::ui {

namespace p = kalvintor::pitch;

namespace {

constexpr int kStrings = theory::kGuitarStrings;

int openString(int string) {
    return theory::GuitarOpenStrings[static_cast<std::size_t>(string)];
}

}  // namespace

TGuitar::TGuitar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Guitar"));
    installInstrumentAccessibility();
    setAccessibleName(text(8231, "Guitar fretboard"));
    bindText(this, 8231, [this](const QString& t) { setAccessibleName(t); });
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(420, 120);
    setMaximumHeight(190);
    setFocusPlace(focusString_, focusFret_);
}

QSize TGuitar::sizeHint() const {
    return {820, 150};
}

int TGuitar::widthClass() const {
    return p::GuitarWidthClass(width());
}

int TGuitar::visibleFrets() const {
    return 4 * widthClass() + 8;
}

std::array<int, TGuitar::kFretLines> TGuitar::fretLines() const {
    // The visible frets fill the board; further lines lie beyond its right edge.
    const double board = width() - p::kGuitarNutX - 8;
    const double scale = board / (1.0 - std::pow(2.0, -visibleFrets() / 12.0));
    std::array<int, kFretLines> lines{};
    for (int k = 1; k <= kFretLines; ++k)
        lines[static_cast<std::size_t>(k - 1)] =
            p::kGuitarNutX + static_cast<int>(std::lround(scale * (1.0 - std::pow(2.0, -k / 12.0))));
    return lines;
}

int TGuitar::stringY(int string) const {
    const int row = height() / kStrings;
    return (string - 1) * row + row / 2;
}

int TGuitar::stringAt(int y) const {
    return std::clamp(y / std::max(1, height() / kStrings) + 1, 1, kStrings);
}

std::optional<int> TGuitar::pitchAt(QPoint point) const {
    if (!rect().contains(point)) return std::nullopt;
    const auto lines = fretLines();
    return p::GuitarPitchAt(point.x(), point.y(), width(), height(), lines);
}

QPoint TGuitar::fretCentre(int string, int fret) const {
    const auto lines = fretLines();
    if (fret <= 0) return {p::kGuitarNutX / 2, stringY(string)};
    const int f = std::min(fret, kFretLines);
    const int before = f == 1 ? p::kGuitarNutX : lines[static_cast<std::size_t>(f - 2)];
    return {(before + lines[static_cast<std::size_t>(f - 1)]) / 2, stringY(string)};
}

int TGuitar::fretFor(int shownPitch, int string) const {
    return shownPitch - openString(string);
}

void TGuitar::setMarks(std::vector<InstrumentMark> marks, InstrumentHeld held) {
    marks_ = std::move(marks);
    held_ = std::move(held);
    update();
}

QString TGuitar::placeName(int string, int fret) {
    const int pitch = openString(string) + fret;
    return text(8232, "String %1, fret %2: %3")
        .arg(string)
        .arg(fret)
        .arg(QString::fromStdString(theory::NoteName(pitch, theory::DefaultSpelling(pitch, 0))));
}

void TGuitar::setFocusPlace(int string, int fret) {
    focusString_ = std::clamp(string, 1, kStrings);
    focusFret_ = std::clamp(fret, 0, visibleFrets());
    setAccessibleDescription(placeName(focusString_, focusFret_));
    if (hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild((focusString_ - 1) * (visibleFrets() + 1) + focusFret_);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void TGuitar::playPlace(int string, int fret) {
    if (string < 1 || string > kStrings || fret < 0 || fret > visibleFrets()) return;
    setFocusPlace(string, fret);
    const int pitch = openString(string) + fret;
    emit pressed(pitch, string);
    emit released(pitch, false);
}

QRect TGuitar::placeRect(int string, int fret) const {
    const QPoint c = fretCentre(string, fret);
    const int row = std::max(1, height() / kStrings);
    const auto lines = fretLines();
    int left = 0;
    int right = p::kGuitarNutX;
    if (fret > 0) {
        const int f = std::min(fret, kFretLines);
        left = f == 1 ? p::kGuitarNutX : lines[static_cast<std::size_t>(f - 2)];
        right = lines[static_cast<std::size_t>(f - 1)];
    }
    return {left, c.y() - row / 2, right - left, row};
}

const InstrumentMark* TGuitar::markAt(int string, int fret) const {
    for (const auto& m : marks_)
        if (m.guitarString == string && fretFor(m.shownPitch, string) == fret) return &m;
    return nullptr;
}

bool TGuitar::isHeldAt(int string, int fret) const {
    return held_.shownPitch != 0 && held_.guitarString == string && fretFor(held_.shownPitch, string) == fret;
}

void TGuitar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto lines = fretLines();
    const int frets = visibleFrets();
    const int right = lines[static_cast<std::size_t>(frets - 1)];
    painter.fillRect(QRect(p::kGuitarNutX, 2, right - p::kGuitarNutX, height() - 4),
                     QColor(0x6B, 0x4A, 0x2E));
    painter.fillRect(QRect(p::kGuitarNutX - 4, 2, 5, height() - 4), style::kPaper);
    for (int k = 0; k < frets; ++k) {
        const int x = lines[static_cast<std::size_t>(k)];
        painter.fillRect(QRect(x - 1, 2, 2, height() - 4), QColor(0xC8, 0xC8, 0xC8));
        if (k + 1 == 3 || k + 1 == 5 || k + 1 == 7 || k + 1 == 9 || k + 1 == 12 || k + 1 == 15 ||
            k + 1 == 17) {
            const int prev = k == 0 ? p::kGuitarNutX : lines[static_cast<std::size_t>(k - 1)];
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xE8, 0xDF, 0xCF));
            const double middle = (prev + x) / 2.0;
            // The octave fret has two dots, between the outer pairs of middle strings.
            if (k + 1 == 12) {
                painter.drawEllipse(QPointF(middle, (stringY(2) + stringY(3)) / 2.0), 4, 4);
                painter.drawEllipse(QPointF(middle, (stringY(4) + stringY(5)) / 2.0), 4, 4);
            } else {
                painter.drawEllipse(QPointF(middle, height() / 2.0), 4, 4);
            }
        }
    }
    for (int s = 1; s <= kStrings; ++s) {
        const double thick = 0.8 + 0.35 * (s - 1);
        painter.fillRect(QRectF(4, stringY(s) - thick / 2, right - 4, thick), QColor(0xD8, 0xD0, 0xB8));
    }
    const auto dot = [&](int shown, int string, const QColor& colour, const QString& name) {
        if (string < 1 || string > kStrings) return;
        const int fret = fretFor(shown, string);
        if (fret < 0 || fret > frets) return;
        const QPoint c = fretCentre(string, fret);
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(colour);
        painter.drawEllipse(QPointF(c), 8, 8);
        if (!name.isEmpty()) {
            painter.setPen(Qt::white);
            painter.setFont(style::uiFont(7, QFont::Bold));
            painter.drawText(QRect(c.x() - 12, c.y() - 8, 24, 16), Qt::AlignCenter, name);
        }
    };
    for (const auto& m : marks_) {
        if (!m.lit || m.guitarString < 1 || m.guitarString > kStrings) continue;
        const int fret = fretFor(m.shownPitch, m.guitarString);
        if (fret < 0 || fret > frets) continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(style::kSounding);
        painter.drawEllipse(QPointF(fretCentre(m.guitarString, fret)), 13, 13);
    }
    for (const auto& m : marks_) dot(m.shownPitch, m.guitarString, notation::inkColour(m.ink), {});
    if (held_.shownPitch != 0) dot(held_.shownPitch, held_.guitarString, style::kWrong, held_.name);
    if (hasFocus()) {
        const QPoint c = fretCentre(focusString_, focusFret_);
        painter.setPen(QPen(style::kAccent, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(c.x() - 11, c.y() - 11, 22, 22));
    }
}

void TGuitar::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    down_ = pitchAt(at);
    if (down_ && event->button() == Qt::LeftButton) {
        const int string = stringAt(at.y());
        setFocusPlace(string, *down_ - openString(string));
        emit pressed(*down_, string);
    }
}

void TGuitar::mouseReleaseEvent(QMouseEvent* event) {
    if (!down_) return;
    const int pitch = *down_;
    down_.reset();
    emit released(pitch, event->button() == Qt::RightButton);
}

void TGuitar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            setFocusPlace(focusString_, focusFret_ - 1);
            return;
        case Qt::Key_Right:
            setFocusPlace(focusString_, focusFret_ + 1);
            return;
        case Qt::Key_Up:
            setFocusPlace(focusString_ - 1, focusFret_);
            return;
        case Qt::Key_Down:
            setFocusPlace(focusString_ + 1, focusFret_);
            return;
        case Qt::Key_Space:
            playPlace(focusString_, focusFret_);
            return;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            emit released(openString(focusString_) + focusFret_, true);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace kalvintor::ui
