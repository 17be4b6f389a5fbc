// Tap lateness, the tap gate and the calibration measurement.
#include "exercises/rhythm/TapInput.h"

#include <gtest/gtest.h>

using namespace kalvintor::rhythm;

TEST(TapInput, TheGateLetsOneTapThroughPerShortestGap) {
    TapGate gate;
    int accepted = 0;
    // A stuck key repeating every 2 ms for a second.
    for (int t = 0; t < 1000; t += 2) accepted += gate.Accept(10000 + t) ? 1 : 0;
    // Taps 2 ms apart: one every 26 ms passes.
    EXPECT_EQ(accepted, 39);
    gate.Reset();
    EXPECT_TRUE(gate.Accept(10000));
    EXPECT_TRUE(gate.Accept(10025)) << "25 ms after the last tap";
    EXPECT_TRUE(gate.Accept(5000)) << "a clap reported for an earlier moment than the last key";
}

TEST(TapInput, CalibrationMeasuresMeanAndSpreadOfTheTapsNearTheMeasuredClicks) {
    const auto clicks = CalibrationClickTimes(1000, kCalibrationTempo);
    ASSERT_EQ(clicks.size(), 12u) << "four clicks to find the beat, eight to tap along with";
    EXPECT_EQ(clicks[1] - clicks[0], 672);
    // Taps 30 ms late, alternating ±10 around that; one on a lead-in click is not counted, a stray
    // tap half a beat off is not paired.
    std::vector<std::int64_t> taps{clicks[0] + 200};
    for (int i = kLeadInClicks; i < kLeadInClicks + kCalibrationClicks; ++i)
        taps.push_back(clicks[static_cast<std::size_t>(i)] + 30 + (i % 2 ? 10 : -10));
    taps.push_back(clicks[6] + 336);
    const LatencyMeasurement m = MeasureLatency(clicks, taps, kCalibrationTempo);
    EXPECT_TRUE(m.valid);
    EXPECT_EQ(m.matched, kCalibrationClicks);
    EXPECT_EQ(m.meanMs, 30);
    EXPECT_EQ(m.spreadMs, 10);
    // Too few taps measure nothing usable.
    const std::vector<std::int64_t> few(taps.begin() + 1, taps.begin() + 4);
    EXPECT_FALSE(MeasureLatency(clicks, few, kCalibrationTempo).valid);
    EXPECT_FALSE(MeasureLatency(clicks, {}, kCalibrationTempo).valid);
}

TEST(TapInput, TheOffsetOfTheTapsKindIsTakenOff) {
    LatencyOffsets offsets;
    offsets.set(TapSource::Clap, 45);
    EXPECT_EQ(CorrectedTapTime(1000, TapSource::Clap, offsets), 955);
    EXPECT_EQ(CorrectedTapTime(1000, TapSource::Keyboard, offsets), 1000);
}

TEST(TapInput, KeyStampsKeepTheMomentOfThePressWhenTheEventIsHandledLate) {
    // The windowing system's clock runs 7,000,000 ms behind ours; events reach the window 1 ms
    // after they happen, except one that waits 40 ms behind a repaint.
    constexpr std::int64_t behind = 7'000'000;
    EventStampMapper mapper;
    const auto handled = [&](std::int64_t pressedAt, std::int64_t waited) {
        return mapper.ToClock(static_cast<std::uint64_t>(pressedAt - behind), pressedAt + waited);
    };
    EXPECT_EQ(handled(10'000, 1), 10'001) << "the first stamp can only say: now";
    EXPECT_EQ(handled(10'500, 1), 10'501);
    EXPECT_EQ(handled(11'000, 40), 11'001) << "the repaint's delay is not the student's";
    EXPECT_EQ(handled(11'500, 0), 11'500) << "a quicker event tells the clocks' offset better";
    EXPECT_EQ(handled(12'000, 40), 12'000);

    // No stamp: now. A stamp from elsewhere (far off the offset): the clocks are put in step.
    EXPECT_EQ(mapper.ToClock(0, 13'000), 13'000);
    EXPECT_EQ(mapper.ToClock(5, 14'000), 14'000);
    EXPECT_EQ(mapper.ToClock(505, 14'530), 14'500);
}
