// Laying out a report into pages and painting them.
#include "ReportPainter.h"

#include "Formatted.h"
#include "ProgressChart.h"
#include "app/Style.h"
#include "app/Texts.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <functional>
#include <vector>

namespace kalvintor::ui {

namespace {

// Column shares of the line table: date, time, level name, correct, total, percent, duration.
constexpr double kShares[] = {0.16, 0.09, 0.31, 0.11, 0.09, 0.10, 0.14};

struct Block {
    double height;
    bool keepWithNext;
    std::function<void(QPainter&, double top)> paint;
};

class Layout {
public:
    explicit Layout(QPagedPaintDevice& device) : device_(device) {
        mm_ = device.logicalDpiY() / 25.4;
        // The painter's origin is the paint rectangle's corner, in the device's pixels.
        const QRect paper = device.pageLayout().paintRectPixels(device.logicalDpiX());
        width_ = paper.width();
        height_ = paper.height();
        body_ = style::uiFont(9);
        bold_ = style::uiFont(9, QFont::Bold);
        heading_ = style::uiFont(11, QFont::Bold);
        title_ = style::uiFont(16, QFont::Bold);
        // Measured once: a class report has thousands of lines.
        for (const QFont* font : {&body_, &bold_, &heading_, &title_})
            heights_.push_back(QFontMetricsF(*font, &device).height() * 1.25);
        columns_.push_back(0.0);
        for (double share : kShares) columns_.push_back(columns_.back() + share * width_);
    }

    double mm(double v) const { return v * mm_; }
    double width() const { return width_; }
    double height() const { return height_; }
    double lineHeight(const QFont& font) const {
        const QFont* fonts[] = {&body_, &bold_, &heading_, &title_};
        for (std::size_t i = 0; i < 4; ++i)
            if (fonts[i] == &font) return heights_[i];
        return QFontMetricsF(font, &device_).height() * 1.25;
    }
    const QFont& body() const { return body_; }
    const QFont& bold() const { return bold_; }
    const QFont& heading() const { return heading_; }
    const QFont& title() const { return title_; }

    // The x of each column edge of the line table.
    const std::vector<double>& columns() const { return columns_; }

private:
    QPagedPaintDevice& device_;
    double mm_;
    double width_;
    double height_;
    QFont body_, bold_, heading_, title_;
    std::vector<double> heights_;
    std::vector<double> columns_;
};

void drawRow(QPainter& p, const Layout& l, double top, const QStringList& cells, const QFont& font) {
    const auto& x = l.columns();
    const double h = l.lineHeight(font);
    p.setFont(font);
    for (int i = 0; i < cells.size() && i + 1 < static_cast<int>(x.size()); ++i) {
        const bool number = i >= 3;
        p.drawText(QRectF(x[static_cast<std::size_t>(i)] + l.mm(1), top,
                          x[static_cast<std::size_t>(i) + 1] - x[static_cast<std::size_t>(i)] - l.mm(2), h),
                   (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, cells[i]);
    }
}

QStringList cellsOf(const results::ReportLine& line) {
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    return {q(line.date),      q(line.time),    q(line.setupName), q(line.correct),
            q(line.questions), q(line.percent), q(line.duration)};
}

std::vector<Block> blocksOf(const results::Report& r, const Layout& l) {
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    std::vector<Block> blocks;
    // The title: the report's name on the left, the print date, selection, count and period on
    // the right, the single exercise's name under the title.
    QStringList right{q(r.printDate + "  " + r.printTime)};
    for (const std::string* s : {&r.selectionLine, &r.countLine, &r.periodLine})
        if (!s->empty()) right << q(*s);
    const double rightHeight = right.size() * l.lineHeight(l.body());
    const double titleHeight =
        std::max(rightHeight, l.lineHeight(l.title()) + l.lineHeight(l.heading())) + l.mm(6);
    blocks.push_back({titleHeight, false, [&r, &l, right, q](QPainter& p, double top) {
                          p.setFont(l.title());
                          p.setPen(style::kNavy);
                          p.drawText(QRectF(0, top, l.width() * 0.6, l.lineHeight(l.title())),
                                     Qt::AlignLeft | Qt::AlignVCenter, q(r.title));
                          p.setPen(style::kInk);
                          if (!r.exerciseName.empty()) {
                              p.setFont(l.heading());
                              p.drawText(QRectF(0, top + l.lineHeight(l.title()), l.width() * 0.6,
                                                l.lineHeight(l.heading())),
                                         Qt::AlignLeft | Qt::AlignVCenter, q(r.exerciseName));
                          }
                          p.setFont(l.body());
                          double y = top;
                          for (const QString& line : right) {
                              p.drawText(QRectF(l.width() * 0.4, y, l.width() * 0.6, l.lineHeight(l.body())),
                                         Qt::AlignRight | Qt::AlignVCenter, line);
                              y += l.lineHeight(l.body());
                          }
                      }});
    QStringList heads;
    for (const std::string& h : r.heads) heads << q(h);
    for (const results::ReportUser& user : r.users) {
        const double userHeight = l.lineHeight(l.heading()) + l.mm(3);
        blocks.push_back({userHeight, true, [&user, &l, q](QPainter& p, double top) {
                              p.setPen(style::kNavy);
                              p.drawLine(QPointF(0, top + l.mm(1)), QPointF(l.width(), top + l.mm(1)));
                              p.setFont(l.heading());
                              const QRectF row(0, top + l.mm(2), l.width(), l.lineHeight(l.heading()));
                              QString left = q(user.name);
                              if (!user.classLine.empty()) left += QStringLiteral("    ") + q(user.classLine);
                              p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, left);
                              p.setFont(l.body());
                              p.drawText(row, Qt::AlignRight | Qt::AlignVCenter, q(user.tutorLine));
                              p.setPen(style::kInk);
                          }});
        for (const results::ReportExercise& part : user.exercises) {
            if (!part.heading.empty())
                blocks.push_back({l.lineHeight(l.bold()), true, [&part, &l, q](QPainter& p, double top) {
                                      p.setFont(l.bold());
                                      p.drawText(QRectF(0, top, l.width(), l.lineHeight(l.bold())),
                                                 Qt::AlignLeft | Qt::AlignVCenter, q(part.heading));
                                  }});
            if (part.lines.empty()) continue;
            if (!heads.isEmpty())
                blocks.push_back({l.lineHeight(l.bold()), true, [heads, &l](QPainter& p, double top) {
                                      p.setPen(style::kNavyLight);
                                      drawRow(p, l, top, heads, l.bold());
                                      p.setPen(style::kInk);
                                  }});
            for (const results::ReportLine& line : part.lines)
                blocks.push_back(
                    {l.lineHeight(l.body()), false, [cells = cellsOf(line), &l](QPainter& p, double top) {
                         drawRow(p, l, top, cells, l.body());
                     }});
            if (part.totals)
                blocks.push_back({l.lineHeight(l.bold()) + l.mm(1), false,
                                  [cells = cellsOf(*part.totals), &l](QPainter& p, double top) {
                                      p.drawLine(QPointF(l.columns()[3], top + l.mm(0.5)),
                                                 QPointF(l.width(), top + l.mm(0.5)));
                                      drawRow(p, l, top + l.mm(1), cells, l.bold());
                                  }});
            if (part.progress.sessions.size() >= 2)
                blocks.push_back({l.mm(32), false, [&part, &l](QPainter& p, double top) {
                                      p.setFont(style::uiFont(7));
                                      ProgressChart::paintChart(
                                          p,
                                          QRectF(l.width() * 0.3, top + l.mm(2), l.width() * 0.7, l.mm(28)),
                                          part.progress);
                                  }});
        }
    }
    return blocks;
}

}  // namespace

int PaintReport(const results::Report& report, QPagedPaintDevice& device) {
    const Layout layout(device);
    const std::vector<Block> blocks = blocksOf(report, layout);
    const double footer = layout.lineHeight(layout.body()) + layout.mm(2);
    const double usable = layout.height() - footer;

    // Page breaks: a block that does not fit starts a page; headings go with what follows.
    std::vector<std::size_t> pageStarts{0};
    double y = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        double needed = blocks[i].height;
        for (std::size_t k = i; k + 1 < blocks.size() && blocks[k].keepWithNext; ++k)
            needed += blocks[k + 1].height;
        if (y > 0 && y + std::min(needed, usable) > usable) {
            pageStarts.push_back(i);
            y = 0;
        }
        y += blocks[i].height;
    }
    const int pages = static_cast<int>(pageStarts.size());

    QPainter painter(&device);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        const std::size_t end =
            page + 1 < pages ? pageStarts[static_cast<std::size_t>(page) + 1] : blocks.size();
        double top = 0;
        for (std::size_t i = pageStarts[static_cast<std::size_t>(page)]; i < end; ++i) {
            blocks[i].paint(painter, top);
            top += blocks[i].height;
        }
        painter.setFont(layout.body());
        painter.setPen(style::kInk);
        painter.drawText(
            QRectF(0, layout.height() - footer + layout.mm(2), layout.width(), footer - layout.mm(2)),
            Qt::AlignCenter, formatted(7821, "Page %d of %d", {arg(page + 1), arg(pages)}));
    }
    return pages;
}

}  // namespace kalvintor::ui
