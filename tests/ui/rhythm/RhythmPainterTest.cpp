// Painting the notation: ink where the layout puts notes, the area sized to its rows, crisp at the
// device pixel ratio, and the marks and progress line in their places.
#include "rhythm/RhythmPainter.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

using namespace kalvintor::rhythm;
namespace paint = kalvintor::ui::rhythm;

namespace {

// The program directory's copy of the music font, laid out by the build.
QString musicFontFile() {
    return QStringLiteral(KALVINTOR_TEST_MUSIC_FONT);
}

TRhythmNote quarter(bool endsBar) {
    TRhythmNote n;
    n.value = kQuarter;
    n.duration = 672;
    n.endsBar = endsBar;
    return n;
}

// Quarters in 4/4: two bars fit on a row 800 pixels wide.
Voice quarters(int bars) {
    Voice v;
    for (int i = 0; i < 4 * bars; ++i) v.push_back(quarter(i % 4 == 3));
    return v;
}

bool dark(QRgb c) {
    return qGray(c) < 100;
}

bool anyPixel(const QImage& image, QRect area, const std::function<bool(QRgb)>& test) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y))) return true;
    return false;
}

class RhythmPainter : public ::testing::Test {
protected:
    void SetUp() override {
        family = paint::LoadMusicFont(musicFontFile());
        ASSERT_FALSE(family.isEmpty()) << "music font at " << musicFontFile().toStdString();
        engine.SetMeter(4);
    }
    QString family;
    TRytme engine;
};

}  // namespace

TEST_F(RhythmPainter, NotesAreInkedWhereTheLayoutPutsThemAtTheDevicePixelRatio) {
    engine.voice(0) = quarters(3);
    const QPixmap pixmap = paint::DrawToPixmap(engine, 0, 800, 2.0, family);
    EXPECT_EQ(pixmap.width(), 1600);
    EXPECT_EQ(pixmap.height(), 2 * (64 + 65)) << "three bars take two rows";
    const QImage image = pixmap.toImage();
    for (const auto& n : engine.voice(0)) {
        const int x = 2 * (n.x + 4), y = 2 * (64 * n.row + kStaffLineY);
        EXPECT_TRUE(anyPixel(image, QRect(x - 2, y - 2, 5, 5), dark))
            << "note head at " << n.x << ", row " << n.row;
    }
    // Right of the closing bar line of the second row nothing is drawn.
    EXPECT_FALSE(anyPixel(image, QRect(2 * 600, 2 * 64, 100, 2 * 64), dark));
    // A stem rises from each head to the beam line.
    const auto& first = engine.voice(0)[0];
    const int stemX = static_cast<int>(2 * (first.x + 1.18 * kStaffSpace)) - 1;
    EXPECT_TRUE(anyPixel(image, QRect(stemX - 1, 2 * (kBeamTopY + 4), 3, 1), dark));
}

TEST_F(RhythmPainter, DrawReturnsTheHeightTheAreaNeeds) {
    engine.voice(0) = quarters(5);
    QImage image(400, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_EQ(paint::Draw(painter, engine, 0, 400, family), 4 * 64 + 65) << "one bar per row";
}

TEST_F(RhythmPainter, MarksAndProgressGoUnderTheirNotesAndBars) {
    engine.voice(0) = quarters(2);
    engine.Layout(0, 800);
    engine.voice(0)[0].mark = Mark::Exact;
    engine.voice(0)[1].mark = Mark::Missed;
    engine.voice(0)[2].mark = Mark::Early;
    engine.voice(0)[3].mark = Mark::NotJudged;
    QImage image(800, 130, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint::DrawMarks(painter, engine);
    paint::DrawProgress(painter, engine, 2, 0);
    paint::DrawProgress(painter, engine, 0, 0);
    painter.end();

    const auto near = [](QColor want) {
        return [want](QRgb c) {
            const QColor got(c);
            return std::abs(got.red() - want.red()) < 40 && std::abs(got.green() - want.green()) < 40 &&
                   std::abs(got.blue() - want.blue()) < 40;
        };
    };
    const auto markArea = [&](int i) {
        const auto& n = engine.voice(0)[static_cast<std::size_t>(i)];
        return QRect(n.x - 1, 64 * n.row + kMarkY, 9, 9);
    };
    EXPECT_TRUE(anyPixel(image, markArea(0), near(paint::kExactColour)));
    EXPECT_TRUE(anyPixel(image, markArea(1), near(paint::kMissedColour)));
    EXPECT_TRUE(anyPixel(image, markArea(2), near(paint::kOffColour)));
    EXPECT_FALSE(anyPixel(image, markArea(3), [](QRgb c) { return c != qRgb(255, 255, 255); }));

    const auto& bar2 = engine.Bars(0)[1];
    EXPECT_TRUE(anyPixel(image, QRect((bar2.startX + bar2.endX) / 2, kProgressY + 1, 1, 1),
                         near(paint::kProgressColour)));
    const auto& bar1 = engine.Bars(0)[0];
    EXPECT_FALSE(anyPixel(image, QRect((bar1.startX + bar1.endX) / 2, kProgressY + 1, 1, 1),
                          near(paint::kProgressColour)));
}
