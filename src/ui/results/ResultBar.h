// The result bar of the results window, the user overview and the summary line.
#pragma once

#include <QRect>

class QPainter;

namespace kalvintor::ui {

// Draws `correct` of `questions` of `exercise` into `cell`: the numbers (with `withNumbers`) and
// a framed bar filled to the percentage, with the percentage written over it.
void DrawResultBar(QPainter& painter, const QRect& cell, int exercise, int correct, int questions,
                   bool withNumbers);

}  // namespace kalvintor::ui
