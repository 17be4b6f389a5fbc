// Setting up, starting and ending microphone detection, and what messages 1281 and 1282 carry.
#include "sound/MicSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kalvintor;
using namespace kalvintor::sound;

namespace {

struct FakeMic final : MicComponent {
    int MicOpen() override { return 1; }
    void MicConfigure(std::int32_t r, std::uint8_t flag, double t) override { configured = {r, flag, t}; }
    void MicStartTone() override { calls.push_back("tone"); }
    void MicStartRhythm() override { calls.push_back("rhythm"); }
    void MicStop() override { calls.push_back("stop"); }
    void MicAcknowledge() override { calls.push_back("ack"); }
    std::uint8_t MicGetNote(std::uint8_t lowByte, std::uint8_t&) override { return lowByte; }
    void MicHandleMessage(std::uint32_t w) override { calls.push_back("handle " + std::to_string(w)); }
    void MicClose() override { calls.push_back("close"); }

    MicConfigureArguments configured;
    std::vector<std::string> calls;
};

}  // namespace

TEST(MicSession, SetupTurnsSensitivitiesIntoThresholds) {
    EXPECT_EQ(MicSetupArguments(0, 0, false), (MicConfigureArguments{3, 0, 196608.0}));
    EXPECT_EQ(MicSetupArguments(2, 3, true), (MicConfigureArguments{11, 1, 1572864.0}));
    EXPECT_EQ(MicSetupArguments(8, 8, false), (MicConfigureArguments{83, 0, 196608.0 * 256}));
    EXPECT_EQ(MicSetupArguments(200, 200, false), MicSetupArguments(8, 8, false)) << "a damaged record";

    FakeMic mic;
    MicSession session(mic);
    settings::Settings s = settings::defaultSettings();  // rhythm 2, tone 3, not precise
    session.MicSetup(s);
    EXPECT_EQ(mic.configured, (MicConfigureArguments{11, 0, 1572864.0}));
}

TEST(MicSession, BeginChoosesTheDetectorAndEndStopsOnlyWhatWasBegun) {
    FakeMic mic;
    MicSession session(mic);
    int pendingRuns = 0;
    session.MicEnd([&] { ++pendingRuns; });
    EXPECT_TRUE(mic.calls.empty());
    for (std::uint8_t ex : {4, 6, 1, 9}) session.MicBegin(ex);
    EXPECT_EQ(mic.calls, (std::vector<std::string>{"rhythm", "rhythm", "tone", "tone"}));
    EXPECT_EQ(session.MicMode(), 9);
    session.MicEnd([&] {
        ++pendingRuns;
        EXPECT_EQ(session.MicMode(), 0) << "messages handled while ending find the mode cleared";
    });
    EXPECT_EQ(pendingRuns, 1);
    EXPECT_EQ(mic.calls.back(), "stop");
}

TEST(MicSession, NotesReachPitchExercisesAndClapsRhythmExercises) {
    FakeMic mic;
    MicSession session(mic);
    EXPECT_FALSE(session.OnMicNote(60)) << "no detection running";
    EXPECT_TRUE(mic.calls.empty());

    session.MicBegin(8);
    const auto note = session.OnMicNote(0x1234);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->exercise, 8);
    EXPECT_EQ(note->note, 0x34) << "the note is in the low byte";
    EXPECT_EQ(mic.calls.back(), "ack");

    session.MicBegin(10);
    EXPECT_FALSE(session.OnMicNote(60)) << "progressions take no sung notes";
    EXPECT_EQ(mic.calls.back(), "ack");

    session.MicBegin(4);
    const auto clap = session.OnMicEvent(999, 123456);
    ASSERT_TRUE(clap);
    EXPECT_EQ(clap->exercise, 4);
    EXPECT_EQ(clap->timeMs, 123456);
    EXPECT_FALSE(session.OnMicEvent(1, 0));
    EXPECT_EQ(mic.calls.back(), "handle 1");

    session.MicBegin(6);
    EXPECT_FALSE(session.OnMicEvent(1000, 5)) << "rhythm correction records no claps";
    session.MicEnd({});
    EXPECT_FALSE(session.OnMicEvent(2, 0));
    EXPECT_EQ(mic.calls.back(), "stop") << "the component's own messages wait for a running detection";
}
