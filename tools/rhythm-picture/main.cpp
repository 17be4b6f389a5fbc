// Renders sample rhythms in the program's one-line notation into one PNG, off screen.
//
//     rhythm-picture OUTPUT.png [MUSIC-FONT.otf]
#include "RhythmText.h"
#include "app/Random.h"
#include "exercises/rhythm/Rytme.h"
#include "rhythm/RhythmPainter.h"
#include "settings/SettingRecord.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace kalvintor;

constexpr int kWidth = 900;
constexpr qreal kPixelRatio = 2.0;
constexpr int kCaptionHeight = 24;
constexpr int kMargin = 12;

struct Sample {
    const char* caption;
    int meter;
    const char* rhythm;  // empty: a rhythm made by the engine
};

const Sample kSamples[] = {
    {"4/4 with eighths and sixteenths", 4, "e e s s s s e. s q | s e s e s s s s e rq"},
    {"6/8 with dotted notes and ties", 6, "q. e e e | q.~ q. | e. s e q e~ | h."},
    {"7/8 in groups of four and three eighths", 9, "e e e e e e e | q e e q e | e e q q."},
    {"5/4 with triplets and rests", 12, "3e q rq 3q | e e re e 3s e q rq"},
    {"3/2 long values and every rest", 7,
     "w h | rh h~ h | rq q re e rs s s s rt t s q re | rw rh | h. q~ h | 3h"},
    {"A rhythm of eight bars made by the engine, wrapping into rows", 4, ""},
};

struct Rendered {
    const char* caption;
    QPixmap notation;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: rhythm-picture OUTPUT.png [MUSIC-FONT.otf]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString family = ui::rhythm::LoadMusicFont(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    if (family.isEmpty()) {
        std::fprintf(stderr, "rhythm-picture: the music font could not be loaded\n");
        return 1;
    }

    settings::Settings settings = settings::defaultSettings();
    settings.rhythmSpacing = 1;
    rhythm::TRytme engine(rhythm::TRytme::Services{nullptr, &settings, nullptr, {}});
    std::vector<Rendered> rendered;
    for (const auto& sample : kSamples) {
        if (*sample.rhythm != '\0') {
            engine.SetMeter(sample.meter);
            auto voice = tools::ParseRhythm(sample.rhythm, engine.CurrentMeter());
            if (!voice) {
                std::fprintf(stderr, "rhythm-picture: cannot read \"%s\"\n", sample.rhythm);
                return 1;
            }
            engine.voice(0) = *voice;
        } else {
            rhythm::RhythmSetup setup;
            setup.meters[static_cast<std::size_t>(sample.meter - 1)] = 1;
            for (int v : {rhythm::kQuarter, rhythm::kEighth, rhythm::kSixteenth})
                setup.noteValues[static_cast<std::size_t>(v - 1)] = 1;
            setup.triplets = rhythm::tripletBit(rhythm::kEighth);
            setup.dotted = setup.rests = setup.ties = 1;
            setup.bars = 8;
            engine.Setup(setup);
            app::SetRandomizeClock([] { return 2026; });
            app::SeedRandom(7);
            engine.Generate();
        }
        rendered.push_back(
            {sample.caption, ui::rhythm::DrawToPixmap(engine, 0, kWidth - 2 * kMargin, kPixelRatio, family)});
    }

    int height = kMargin;
    for (const auto& r : rendered)
        height += kCaptionHeight + static_cast<int>(r.notation.height() / kPixelRatio) + kMargin;
    QImage image(static_cast<int>(kWidth * kPixelRatio), static_cast<int>(height * kPixelRatio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(kPixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont captionFont("DejaVu Sans");
    captionFont.setPixelSize(14);
    painter.setFont(captionFont);
    painter.setPen(QColor(0x30, 0x30, 0x30));
    int y = kMargin;
    for (const auto& r : rendered) {
        painter.drawText(QRectF(kMargin, y, kWidth - 2 * kMargin, kCaptionHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(r.caption));
        y += kCaptionHeight;
        painter.drawPixmap(QPointF(kMargin, y), r.notation);
        y += static_cast<int>(r.notation.height() / kPixelRatio) + kMargin;
    }
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "rhythm-picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
