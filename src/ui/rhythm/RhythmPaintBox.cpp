// The notation paint area of the rhythm exercises.
#include "rhythm/RhythmPaintBox.h"

#include "rhythm/RhythmPainter.h"

#include "app/Style.h"

#include <QMouseEvent>
#include <QPainter>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

RhythmPaintBox::RhythmPaintBox(kalvintor::rhythm::TRytme& engine, int voice, QWidget* parent)
    : QWidget(parent), engine_(engine), voice_(voice) {
    // The program's music font; beside the executable when the program directory has none.
    family_ = style::musicFontAvailable() ? style::musicFont(r::kMusicFontSize).family() : LoadMusicFont();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(kalvintor::rhythm::kRowHeight + kalvintor::rhythm::kHeightBelowLastRow);
}

void RhythmPaintBox::setShowMarks(bool show) {
    marks_ = show;
    update();
}

void RhythmPaintBox::DrawProgress(int bar) {
    progress_ = bar;
    update();
}

QSize RhythmPaintBox::sizeHint() const {
    return {600, minimumHeight()};
}

void RhythmPaintBox::fitHeight() {
    // The layout decides the rows; the box takes their height so the scroll box can scroll them.
    const int h = engine_.Layout(voice_, width()).height;
    if (h > 0 && h != height()) setFixedHeight(std::max(h, kalvintor::rhythm::kRowHeight));
}

void RhythmPaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitHeight();
}

void RhythmPaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int h = Draw(p, engine_, voice_, width(), family_);
    if (marks_ && voice_ == 0) DrawMarks(p, engine_);
    rhythm::DrawProgress(p, engine_, progress_, voice_);
    if (overlay) overlay(p);
    if (h > 0 && h != height())
        QMetaObject::invokeMethod(
            this, [this] { fitHeight(); }, Qt::QueuedConnection);
}

void RhythmPaintBox::mousePressEvent(QMouseEvent* event) {
    if (pressed) pressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

}  // namespace kalvintor::ui::rhythm
