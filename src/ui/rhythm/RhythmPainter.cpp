// The painter of the rhythm notation: glyphs of the music font, filled rectangles, tie curves.
#include "rhythm/RhythmPainter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

constexpr double kTieMidThickness = 0.22;  // staff spaces
constexpr double kTieEndThickness = 0.1;
constexpr double kTieMinDepth = 0.5;
constexpr double kTieMaxDepth = 1.2;
constexpr int kMarkSize = 9;

QFont musicFont(const QString& family) {
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(r::kMusicFontSize)));
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QString glyphText(r::Glyph glyph) {
    return QString(QChar(static_cast<char16_t>(glyph)));
}

// Digits of the time signature as music-font symbols.
QString timeSignatureDigits(int number) {
    QString text;
    for (QChar c : QString::number(number))
        text +=
            QChar(static_cast<char16_t>(static_cast<char32_t>(r::Glyph::TimeSig0) + (c.unicode() - u'0')));
    return text;
}

void paintTie(QPainter& p, const r::TieMark& tie) {
    const double length = tie.x2 - tie.x1;
    if (length <= 0) return;
    const double depth =
        std::clamp(length * 0.12, kTieMinDepth * r::kStaffSpace, kTieMaxDepth * r::kStaffSpace);
    const double thick = kTieMidThickness * r::kStaffSpace;
    const double end = kTieEndThickness * r::kStaffSpace / 2;
    const double c1 = tie.x1 + length * 0.25;
    const double c2 = tie.x2 - length * 0.25;
    QPainterPath path(QPointF(tie.x1, tie.y - end));
    path.cubicTo(QPointF(c1, tie.y + depth + thick), QPointF(c2, tie.y + depth + thick),
                 QPointF(tie.x2, tie.y - end));
    path.lineTo(tie.x2, tie.y + end);
    path.cubicTo(QPointF(c2, tie.y + depth), QPointF(c1, tie.y + depth), QPointF(tie.x1, tie.y + end));
    path.closeSubpath();
    p.fillPath(path, Qt::black);
}

void paintMark(QPainter& p, r::Mark mark, double x, double y) {
    const QRectF box(x, y, kMarkSize, kMarkSize);
    p.setPen(Qt::NoPen);
    switch (mark) {
        case r::Mark::Exact:
            p.setBrush(kExactColour);
            p.drawEllipse(box.adjusted(1, 1, -1, -1));
            break;
        case r::Mark::Early:  // the tap came before the note: points back
        case r::Mark::Late: {
            const bool early = mark == r::Mark::Early;
            const QPointF tip =
                early ? QPointF(box.left(), box.center().y()) : QPointF(box.right(), box.center().y());
            const double back = early ? box.right() : box.left();
            const QPointF triangle[] = {tip, QPointF(back, box.top()), QPointF(back, box.bottom())};
            p.setBrush(kOffColour);
            p.drawPolygon(triangle, 3);
            break;
        }
        case r::Mark::Missed: {
            p.setPen(QPen(kMissedColour, 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(box.topLeft() + QPointF(1, 1), box.bottomRight() - QPointF(1, 1));
            p.drawLine(box.topRight() + QPointF(-1, 1), box.bottomLeft() + QPointF(1, -1));
            break;
        }
        case r::Mark::NotJudged:
        case r::Mark::Unmatched:
            break;
    }
}

}  // namespace

QString LoadMusicFont(const QString& file) {
    // Every window asks; the font is added to the application once per file.
    static QHash<QString, QString> loaded;
    const QString path =
        file.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath("fonts/Bravura.otf") : file;
    if (const auto it = loaded.constFind(path); it != loaded.constEnd()) return *it;
    const int id = QFontDatabase::addApplicationFont(path);
    const auto families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    const QString family = families.isEmpty() ? QString() : families.front();
    if (!family.isEmpty()) loaded.insert(path, family);
    return family;
}

void PaintLayout(QPainter& p, const r::NotationLayout& layout, const QString& musicFamily) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(0, 0, layout.width, layout.height), Qt::white);

    for (const auto& rect : layout.rects)
        p.fillRect(QRectF(rect.x, rect.y, rect.width, rect.height), Qt::black);
    for (const auto& tie : layout.ties) paintTie(p, tie);

    const QFont font = musicFont(musicFamily);
    p.setFont(font);
    p.setPen(Qt::black);
    for (const auto& g : layout.glyphs) p.drawText(QPointF(g.x, g.y), glyphText(g.glyph));

    if (!layout.glyphs.empty()) {
        const auto& ts = layout.timeSignature;
        const QFontMetricsF metrics(font);
        for (auto [number, y] :
             {std::pair{ts.numerator, ts.numeratorY}, std::pair{ts.denominator, ts.denominatorY}}) {
            const QString digits = timeSignatureDigits(number);
            p.drawText(QPointF(ts.centerX - metrics.horizontalAdvance(digits) / 2, y), digits);
        }
    }
    p.restore();
}

int Draw(QPainter& painter, r::TRytme& engine, int voice, int width, const QString& musicFamily) {
    const auto layout = engine.Layout(voice, width);
    PaintLayout(painter, layout, musicFamily);
    return layout.height;
}

QPixmap DrawToPixmap(r::TRytme& engine, int voice, int width, qreal devicePixelRatio,
                     const QString& musicFamily) {
    const auto layout = engine.Layout(voice, width);
    QPixmap pixmap(static_cast<int>(std::ceil(layout.width * devicePixelRatio)),
                   static_cast<int>(std::ceil(layout.height * devicePixelRatio)));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    PaintLayout(painter, layout, musicFamily);
    return pixmap;
}

void DrawMarks(QPainter& painter, const r::TRytme& engine) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& n : engine.voice(0))
        paintMark(painter, n.mark, n.x - 1, static_cast<double>(r::kRowHeight * n.row + r::kMarkY));
    painter.restore();
}

void DrawProgress(QPainter& painter, const r::TRytme& engine, int bar, int voice) {
    const auto& bars = engine.Bars(voice);
    if (bar < 1 || bar > static_cast<int>(bars.size())) return;
    const auto& b = bars[static_cast<std::size_t>(bar - 1)];
    painter.fillRect(
        QRectF(b.startX, r::kRowHeight * b.row + r::kProgressY, b.endX - b.startX, r::kProgressThickness),
        kProgressColour);
}

}  // namespace kalvintor::ui::rhythm
