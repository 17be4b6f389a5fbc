// The interval comparison window driven through whole questions on the recording MIDI device.
#include "app/Random.h"
#include "app/TControlButton.h"
#include "exercises/pitch/PlayQuestion.h"
#include "pitch/TIntervalSam.h"
#include "pitch/TickIcon.h"
#include "sound/MidiMessage.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <algorithm>

using namespace kalvintor;
using namespace kalvintor::ui;
using kalvintor::pitch::ComparisonChoice;
using Shade = AnswerPanel::Shade;

namespace {

constexpr int kThird = 5;  // catalogue entry of the major third (4 semitones), named "3"
constexpr int kFifth = 8;  // the perfect fifth (7 semitones), named "5"

// The window on a recording host whose setup offers `entries`, together only, on one fixed root.
struct Fixture {
    ui::testing::RecordingHost host;
    std::unique_ptr<TIntervalSam> window;

    explicit Fixture(std::initializer_list<int> entries = {kThird, kFifth}) {
        auto block = host.setup.pitchBlock(3);
        block.entryEnabled.fill(0);
        for (int e : entries) block.entryEnabled[static_cast<std::size_t>(e - 1)] = 1;
        block.playTogether = 1;
        block.arpeggioUp = 0;
        block.arpeggioDown = 0;
        block.lowerLimit = 60;
        block.upperLimit = 60;
        host.setup.setPitchBlock(3, block);
        std::string device;
        host.out.SelectDeviceByName(device);
        host.out.SetNotifyContext({false, 3});
        app::SetRandomizeClock([] { return std::uint64_t{7}; });
        window = std::make_unique<TIntervalSam>(host);
        window->resize(1000, 620);
        window->show();
    }
    ~Fixture() { app::SetRandomizeClock(nullptr); }

    TControlButton& strip() const { return *window->ControlButton; }
    std::vector<bool> enabled() const {
        return std::vector<bool>(strip().ButtonEnabled.begin(), strip().ButtonEnabled.end());
    }
    std::size_t starts() const { return host.system.Output()->Starts().size(); }
    const sound::Timeline& lastTimeline() const { return host.system.Output()->Starts().back().timeline; }
    Shade shade(ComparisonChoice which) const { return window->panel(which)->shade(); }
    QPushButton* bigButton(ComparisonChoice which) const { return window->panel(which)->button(); }
    void press(int button) const {
        strip().PressButton(button);
        window->ControlButtonUpAction();
    }
    // Plays the question to its end as the sequencer would report it.
    void playThrough() const {
        for (std::uint16_t code : {41, 42, 45}) window->SeqNotify(code);
    }
    ComparisonChoice wrong() const {
        return window->state().rightAnswer == ComparisonChoice::A ? ComparisonChoice::B : ComparisonChoice::A;
    }
};

struct Note {
    std::int64_t tick;
    int key;
    bool on;
};
// The notes and the notification codes of a timeline, in order.
std::vector<Note> notesOf(const sound::Timeline& timeline) {
    std::vector<Note> notes;
    for (const auto& e : timeline.events) {
        if (e.kind != sound::SeqEventKind::Message) continue;
        const int status = static_cast<int>(e.message & 0xF0);
        const int key = static_cast<int>((e.message >> 8) & 0x7F);
        const int velocity = static_cast<int>((e.message >> 16) & 0x7F);
        if (status == 0x90 || status == 0x80) notes.push_back({e.tick, key, status == 0x90 && velocity > 0});
    }
    return notes;
}
std::vector<std::pair<std::int64_t, int>> noticesOf(const sound::Timeline& timeline) {
    std::vector<std::pair<std::int64_t, int>> notices;
    for (const auto& e : timeline.events)
        if (e.kind == sound::SeqEventKind::Notify) notices.emplace_back(e.tick, e.code);
    return notices;
}

}  // namespace

TEST(IntervalSam, ANewQuestionPlaysAThenBWithItsPauseAndNotices) {
    Fixture f;
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, false, false}));
    f.press(0);
    ASSERT_EQ(f.starts(), 1u);
    const auto& s = f.window->state();
    EXPECT_NE(s.itemA, s.itemB);
    EXPECT_EQ(s.notesA.front(), 60);
    EXPECT_EQ(s.notesB.front(), 60) << "one root: the limits are equal";

    const auto notes = notesOf(f.lastTimeline());
    ASSERT_EQ(notes.size(), 8u);
    const std::int64_t length = notes[2].tick;  // A's notes end together
    EXPECT_GT(length, 0);
    for (int k : {0, 1}) EXPECT_EQ(notes[static_cast<std::size_t>(k)].tick, 0) << "A sounds together";
    EXPECT_EQ(notes[0].key, s.notesA[0]);
    EXPECT_EQ(notes[1].key, s.notesA[1]);
    const std::int64_t bStart = length + pitch::kComparisonPause;
    EXPECT_EQ(notes[4].tick, bStart);
    EXPECT_EQ(notes[5].key, s.notesB[1]);
    EXPECT_EQ(notes[7].tick, bStart + length);
    const std::vector<std::pair<std::int64_t, int>> notices{
        {bStart, 41}, {bStart + length, 42}, {bStart + length, 45}};
    EXPECT_EQ(noticesOf(f.lastTimeline()), notices);

    // While it plays: A lights, only Stop can be pressed, the prompt shows.
    EXPECT_EQ(f.shade(ComparisonChoice::A), Shade::Sounding);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Normal);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(f.window->questionLabel()->text(), "Which interval is the larger one, A or B?");
    EXPECT_FALSE(f.window->tick()->isVisible());
    EXPECT_GT(f.window->QuestionStart, 0.0);

    f.window->SeqNotify(41);
    EXPECT_EQ(f.shade(ComparisonChoice::A), Shade::Normal);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Sounding);
    f.window->SeqNotify(42);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Normal);
    EXPECT_TRUE(f.strip().ButtonEnabled[1]);
    f.window->SeqNotify(45);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, true, true, true, false}));
    EXPECT_TRUE(f.bigButton(ComparisonChoice::A)->isEnabled());
    EXPECT_EQ(f.strip().FocusIndex, 1);

    f.press(1);  // repeat: the longer pause between A and B
    ASSERT_EQ(f.starts(), 2u);
    EXPECT_EQ(noticesOf(f.lastTimeline()).front().first, length + pitch::kComparisonRepeatPause);
    EXPECT_FALSE(f.strip().ButtonEnabled[1]) << "no repeat while the repeat plays";
}

TEST(IntervalSam, JudgesARightAndAWrongChoice) {
    struct Case {
        bool right;
        bool byBigButton;
    };
    for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}, Case{false, false}}) {
        SCOPED_TRACE(::testing::Message() << "right " << c.right << ", big button " << c.byBigButton);
        Fixture f;
        f.press(0);
        f.playThrough();
        const ComparisonChoice right = f.window->state().rightAnswer;
        const ComparisonChoice choice = c.right ? right : f.wrong();
        if (c.byBigButton)
            QTest::mouseClick(f.bigButton(choice), Qt::LeftButton);
        else
            f.press(choice == ComparisonChoice::A ? 2 : 3);

        EXPECT_EQ(f.window->QuestionCount, 1);
        EXPECT_EQ(f.window->CorrectCount, c.right ? 1 : 0);
        EXPECT_TRUE(f.window->Answered);
        EXPECT_EQ(f.host.gauge, c.right ? 100 : 0);
        EXPECT_EQ(f.host.scoreLabel, c.right ? "Score: 1 of 1" : "Score: 0 of 1");
        EXPECT_EQ(f.window->questionLabel()->text(),
                  c.right ? "Correct" : "Wrong, the other interval is the larger one");
        EXPECT_EQ(f.window->tick()->isVisible(), c.right);
        EXPECT_EQ(f.shade(right), Shade::Right);
        EXPECT_EQ(f.shade(f.wrong()), c.right ? Shade::Normal : Shade::Wrong);
        EXPECT_TRUE(f.host.calls.contains("blink:200"));
        const QString sound = c.right ? "Correct.wav" : "Wrong.wav";
        EXPECT_TRUE(std::any_of(f.host.calls.begin(), f.host.calls.end(), [&sound](const QString& call) {
            return call.startsWith("wave:") && call.endsWith(sound);
        }));
        EXPECT_EQ(f.window->QuestionStart, 0.0) << "the answer time is booked";
        EXPECT_TRUE(f.strip().ButtonEnabled[0]);
        EXPECT_EQ(f.strip().FocusIndex, 0);
        // The buttons now name their intervals.
        const bool aIsThird = f.window->state().notesA[1] - f.window->state().notesA[0] == 4;
        EXPECT_EQ(f.bigButton(ComparisonChoice::A)->text(), aIsThird ? "3" : "5");
        EXPECT_EQ(f.bigButton(ComparisonChoice::B)->text(), aIsThird ? "5" : "3");
    }
}

TEST(IntervalSam, TheRightPanelBlinksFourTimesAndStaysGreen) {
    Fixture f;
    f.press(0);
    f.playThrough();
    const ComparisonChoice right = f.window->state().rightAnswer;
    f.window->ButtonAction2();
    std::vector<Shade> seen;
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(f.host.calls.contains("stopBlink")) << "tick " << i;
        f.window->AnswerButtonBlink();
        seen.push_back(f.shade(right));
    }
    EXPECT_EQ(seen, (std::vector<Shade>{Shade::Normal, Shade::Right, Shade::Normal, Shade::Right}));
    EXPECT_TRUE(f.host.calls.contains("stopBlink"));
}

TEST(IntervalSam, AfterAnsweringTheButtonsReplayOneIntervalAndCountNothing) {
    Fixture f;
    f.press(0);
    f.playThrough();
    f.window->ButtonAction3();
    const auto& s = f.window->state();

    for (auto [button, which] : {std::pair{2, ComparisonChoice::A}, std::pair{3, ComparisonChoice::B}}) {
        const auto before = f.starts();
        f.press(button);
        ASSERT_EQ(f.starts(), before + 1);
        const auto notes = notesOf(f.lastTimeline());
        const auto& expected = which == ComparisonChoice::A ? s.notesA : s.notesB;
        ASSERT_EQ(notes.size(), 4u) << "one interval alone";
        EXPECT_EQ(notes[0].key, expected[0]);
        EXPECT_EQ(notes[1].key, expected[1]);
        EXPECT_EQ(noticesOf(f.lastTimeline()).size(), 1u);
        EXPECT_EQ(noticesOf(f.lastTimeline()).front().second, 45);
        EXPECT_TRUE(f.strip().ButtonEnabled[4]) << "the replay can be stopped";
        f.window->SeqNotify(45);
    }
    QTest::mouseClick(f.bigButton(ComparisonChoice::A), Qt::LeftButton);
    EXPECT_EQ(notesOf(f.lastTimeline())[0].key, s.notesA[0]);
    EXPECT_EQ(f.window->QuestionCount, 1);
    EXPECT_EQ(f.host.scoreLabel, f.window->CorrectCount == 1 ? "Score: 1 of 1" : "Score: 0 of 1");

    // Repeating the whole question after the answer lights the panels as judged when B ends.
    f.press(1);
    f.window->SeqNotify(41);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Sounding);
    f.window->SeqNotify(42);
    EXPECT_EQ(f.shade(s.rightAnswer), Shade::Right);
    EXPECT_EQ(f.window->QuestionCount, 1);
}

TEST(IntervalSam, FewerThanTwoIntervalsKeepNewQuestionDisabled) {
    for (auto entries : {std::initializer_list<int>{}, std::initializer_list<int>{kThird}}) {
        Fixture f(entries);
        EXPECT_EQ(f.enabled(), (std::vector<bool>(5, false)));
        EXPECT_FALSE(f.window->questionLabel()->text().isEmpty()) << "the user is told why";
        f.window->NewQuestion();
        f.window->AutoNewQuestTimerTimer();
        EXPECT_EQ(f.starts(), 0u);
        EXPECT_FALSE(f.strip().ButtonEnabled[0]);
        f.window->SeqNotify(45);
        EXPECT_FALSE(f.strip().ButtonEnabled[0]) << "the end of a stray playback enables nothing";
    }
}

TEST(IntervalSam, KeysAndClicksWithoutAQuestionReachNothing) {
    Fixture f;
    auto poke = [&f] {
        f.window->ButtonAction2();
        f.window->ButtonAction3();
        f.window->RepeatQuestion();
        QTest::mouseClick(f.bigButton(ComparisonChoice::A), Qt::LeftButton);
        for (int button : {1, 2, 3, 4}) f.press(button);
        f.playThrough();
    };
    // Before the first question.
    poke();
    EXPECT_EQ(f.starts(), 0u);
    EXPECT_EQ(f.window->QuestionCount, 0);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(f.shade(ComparisonChoice::A), Shade::Normal);

    // While the first question plays, A and B cannot be answered yet.
    f.press(0);
    f.press(2);
    f.press(3);
    QTest::mouseClick(f.bigButton(ComparisonChoice::B), Qt::LeftButton);
    EXPECT_EQ(f.window->QuestionCount, 0);
    EXPECT_EQ(f.starts(), 1u);

    // A new setup drops the question that is still playing: its notices light nothing.
    f.window->ApplySetup(true);
    f.window->SeqNotify(41);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Normal);
    const auto before = f.starts();
    poke();
    EXPECT_EQ(f.starts(), before);
    EXPECT_EQ(f.window->QuestionCount, 0);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(f.shade(ComparisonChoice::A), Shade::Normal);
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Normal);
}

TEST(IntervalSam, TheAutomaticQuestionFollowsTheSettingsAndTheTutor) {
    struct Case {
        bool autoNew;
        bool onlyIfCorrect;
        bool right;
        bool stepEnds;
        bool timer;
    };
    const Case cases[] = {
        {false, false, true, false, false}, {true, false, true, false, true},
        {true, false, false, false, true},  {true, true, false, false, false},
        {true, true, true, false, true},    {true, false, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "auto " << c.autoNew << " only if correct " << c.onlyIfCorrect
                                          << " right " << c.right << " step ends " << c.stepEnds);
        Fixture f;
        f.host.current.autoNewQuestion = c.autoNew;
        f.host.current.onlyIfCorrect = c.onlyIfCorrect;
        f.host.tutorStepEnds = c.stepEnds;
        f.press(0);
        f.playThrough();
        f.host.calls.clear();
        f.press(f.window->state().rightAnswer == (c.right ? ComparisonChoice::A : ComparisonChoice::B) ? 2
                                                                                                       : 3);
        EXPECT_EQ(f.host.calls.contains("startAutoTimer"), c.timer);
        // Entering the exercise again: the timer runs unless the step ended, or nothing is automatic
        // and a question exists.
        f.host.calls.clear();
        f.window->EnterExercise();
        EXPECT_EQ(f.host.calls.contains("startAutoTimer"), !c.stepEnds && c.autoNew);
    }
}

TEST(IntervalSam, EnteringWithoutAQuestionStartsTheTimerAndTheTimerAsks) {
    Fixture f;
    f.window->EnterExercise();
    EXPECT_TRUE(f.host.calls.contains("startAutoTimer"));
    EXPECT_EQ(f.host.scoreLabel, "Score: 0 of 0");
    EXPECT_EQ(f.host.gauge, 100);
    f.window->AutoNewQuestTimerTimer();
    EXPECT_EQ(f.starts(), 1u);
    EXPECT_TRUE(f.host.calls.contains("stopAutoTimer"));
}

TEST(IntervalSam, ResetClearsCountsLabelAndQuestion) {
    Fixture f;
    f.press(0);
    f.playThrough();
    f.window->ButtonAction2();
    f.window->ResetExercise();
    EXPECT_EQ(f.window->QuestionCount, 0);
    EXPECT_EQ(f.window->CorrectCount, 0);
    EXPECT_EQ(f.host.scoreLabel, "Score: 0 of 0");
    EXPECT_TRUE(f.window->questionLabel()->text().isEmpty());
    EXPECT_FALSE(f.window->tick()->isVisible());
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, false, false, false, false}));
    EXPECT_EQ(f.bigButton(ComparisonChoice::A)->text(), "&A");
    // Counting starts again from zero.
    f.press(0);
    f.playThrough();
    f.window->ButtonAction2();
    EXPECT_EQ(f.window->QuestionCount, 1);
}

TEST(IntervalSam, AnAnswerWhileTheQuestionPlaysIsSaidAtOnceAndColouredWhenBEnds) {
    Fixture f;
    f.press(0);
    f.playThrough();
    f.window->ButtonAction2();
    f.press(0);  // the next question; A and B can still be pressed while it plays
    ASSERT_TRUE(f.strip().ButtonEnabled[2]);
    const ComparisonChoice wrong = f.wrong();
    f.press(wrong == ComparisonChoice::A ? 2 : 3);
    EXPECT_EQ(f.window->questionLabel()->text(), "Wrong, the other interval is the larger one");
    f.window->SeqNotify(41);  // B sounds: its panel shows it
    EXPECT_EQ(f.shade(ComparisonChoice::B), Shade::Sounding);
    f.window->SeqNotify(42);  // B has ended: the judgement's colours
    EXPECT_EQ(f.shade(f.window->state().rightAnswer), Shade::Right);
    EXPECT_EQ(f.shade(wrong), Shade::Wrong);
    f.press(wrong == ComparisonChoice::A ? 2 : 3);  // a second press replays, the answer stands
    EXPECT_EQ(f.window->questionLabel()->text(), "Wrong, the other interval is the larger one");
    EXPECT_EQ(f.window->QuestionCount, 2);
}
