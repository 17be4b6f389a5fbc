// Pages of a results report: the title block, each user's part, the lines and totals of each
// exercise with a chart of the sessions, and the page number at the foot of every page.
#pragma once

#include "results/Report.h"

class QPagedPaintDevice;

namespace kalvintor::ui {

// Paints the report on the device (a printer, the preview's printer, a PDF writer), starting new
// pages as needed; returns the number of pages.
int PaintReport(const results::Report& report, QPagedPaintDevice& device);

}  // namespace kalvintor::ui
