// The results view and a class report, filled from a data directory of a made-up class.
#pragma once

#include <QString>

namespace kalvintor::showcase {

// Shows the results view of a student for interval identification with its detail columns (or
// saves the picture into `pngFile`); with `reportPdf` also writes the class's report as PDF, and
// with `classPng` saves a picture of the class table.
int ShowResults(const QString& pngFile, const QString& reportPdf, const QString& classPng);

}  // namespace kalvintor::showcase
