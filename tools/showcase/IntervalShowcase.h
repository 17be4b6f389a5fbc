// The interval comparison window after one answered question, for screenshots.
#pragma once

#include <QString>

namespace kalvintor::showcase {

// Plays one question on a recording device, answers it right or wrong, and either saves the
// window as a PNG (when `pngFile` is not empty; returns the exit code) or shows it until closed.
int ShowIntervalComparison(bool rightAnswer, const QString& pngFile);

}  // namespace kalvintor::showcase
