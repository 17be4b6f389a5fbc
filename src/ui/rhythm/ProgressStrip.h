// The imitation exercise's progress strip: the count-in, each bar of the rhythm, and the
// student's turn, with the part now playing highlighted.
#pragma once

#include <QWidget>

namespace kalvintor::ui::rhythm {

class ProgressStrip final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressStrip(QWidget* parent = nullptr);

    // Bars of the rhythm and its time signature.
    void setRhythm(int bars, int numerator, int denominator);
    // 0 none, 1 the count-in, 2..bars+1 the bars, bars+2 the student's turn.
    void setSegment(int segment);
    int segment() const { return segment_; }
    int segments() const { return bars_ + 2; }

    QSize sizeHint() const override { return {600, 40}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int bars_ = 1;
    int numerator_ = 4;
    int denominator_ = 4;
    int segment_ = 0;
};

}  // namespace kalvintor::ui::rhythm
