// Laying out and painting a 16-chord progression with accidentals and ledger lines at 2x, as a
// repaint of the notesheet does: staff_paint_ms per frame.
#include "notation/StaffPainter.h"
#include "notation/StaffPicture.h"

#include <benchmark/benchmark.h>
#include <QImage>
#include <QPainter>

#include <chrono>

namespace n = kalvintor::notation;

namespace {

// Four-note chords wandering through sharps, flats and naturals, high and low enough for ledger
// lines, each ending a bar.
n::StaffInputs progression() {
    n::StaffInputs in;
    in.width = 1240;
    in.geometry = n::StaffLayout(320, 88, true, 0);
    in.keySig = -3;
    in.showKeySignature = true;
    in.chordLike = true;
    for (int c = 0; c < 16; ++c) {
        const int base = 43 + (c * 5) % 14;
        const int pitches[] = {base, base + 16, base + 27, base + 38 + c % 3};
        for (int k = 0; k < 4; ++k) {
            kalvintor::pitch::QuestionNote note;
            note.pitch = pitches[k];
            note.spellOffset = (pitches[k] % 12 == 1 || pitches[k] % 12 == 6) ? -1 : 0;
            if (pitches[k] % 12 == 3 || pitches[k] % 12 == 8 || pitches[k] % 12 == 10) note.spellOffset = 1;
            note.endMark = k == 3 ? (c == 15 ? 2 : 1) : 0;
            in.notes.push_back({note, c < 8 ? n::Ink::Wrong : n::Ink::Question});
        }
    }
    return in;
}

void BM_StaffPaint(benchmark::State& state) {
    const n::StaffInputs in = progression();
    constexpr qreal kRatio = 2.0;
    QImage image(QSize(in.width, 320) * kRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kRatio);
    double totalMs = 0;
    std::size_t heads = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const n::StaffPicture picture = n::LayoutStaff(in);
        image.fill(Qt::white);
        QPainter painter(&image);
        kalvintor::ui::notation::PaintStaff(painter, picture, {});
        painter.end();
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        heads = picture.heads.size();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["staff_paint_ms"] = totalMs / static_cast<double>(state.iterations());
    state.counters["heads"] = static_cast<double>(heads);
}
BENCHMARK(BM_StaffPaint)->Unit(benchmark::kMillisecond);

}  // namespace
