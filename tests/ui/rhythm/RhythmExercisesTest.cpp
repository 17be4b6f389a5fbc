// The rhythm exercise windows through whole questions on the virtual clock: taps from the space
// bar, MIDI keys and the microphone, judged against the notes the sequencer played.
#include "RhythmRig.h"

#include "Signals.h"
#include "app/TControlButton.h"
#include "app/TTipform.h"
#include "exercises/rhythm/Correction.h"
#include "rhythm/ProgressStrip.h"
#include "rhythm/RhythmPaintBox.h"
#include "rhythm/TRytmeImit.h"
#include "rhythm/TRytmeKorr.h"
#include "rhythm/TRytmeLaes.h"
#include "rhythm/TTapCalibration.h"
#include "sound/Microphone.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kalvintor;
using namespace kalvintor::ui::rhythm;
using namespace kalvintor::ui::rhythm::testing;
using kalvintor::rhythm::Mark;
using kalvintor::rhythm::Strictness;
using kalvintor::rhythm::TapSource;

namespace {

std::vector<Mark> marksOf(const kalvintor::rhythm::TRytme& engine) {
    std::vector<Mark> marks;
    for (const auto& n : engine.voice(0)) marks.push_back(n.mark);
    return marks;
}

void spaceBar(QWidget* w) {
    QTest::keyPress(w, Qt::Key_Space);
    QTest::keyRelease(w, Qt::Key_Space);
}

}  // namespace

TEST(RytmeImit, AQuestionIsPlayedThenTheTapsOfTheTurnBarAreJudged) {
    Rig<TRytmeImit> rig(4, quarters(4, Strictness::Normal));
    auto& w = *rig.window;
    rig.press(0);
    // Count-in, the rhythm, then the student's turn.
    rig.run(2 * kBarMs);
    EXPECT_EQ(rig.timeOf(11), kBarMs);
    EXPECT_EQ(rig.timeOf(12), 2 * kBarMs);
    EXPECT_EQ(w.message(), "Now tap the rhythm");
    const auto onsets = rig.rhythmOnsets();
    ASSERT_EQ(onsets, (std::vector<double>{kBarMs, kBarMs + 672, kBarMs + 1344, kBarMs + 2016}));

    // GIVEN the turn bar: on time, 20 ms late (inside the exact zone), an extra tap 250 ms early
    // before a tap 200 ms late, and nothing for the last note; the space bar is held on one tap.
    const double turn = 2 * kBarMs;
    QTest::keyPress(&w, Qt::Key_Space);
    std::multimap<double, std::function<void()>> taps{
        {turn + 0, [&] { QTest::keyRelease(&w, Qt::Key_Space); }},
        {turn + 692, [&] { spaceBar(&w); }},
        {turn + 1094, [&] { spaceBar(&w); }},
        {turn + 1544, [&] { spaceBar(&w); }},
        {turn + 1600, [&] { QTest::keyPress(&w, Qt::Key_Space, Qt::NoModifier, -1); }},
    };
    // The first tap: the space bar goes down exactly at the turn's start.
    rig.run(turn - 1);
    rig.run(turn, {{turn, [&] { spaceBar(&w); }}});
    rig.run(turn + kBarMs, std::move(taps));

    // THEN the turn bar's end judged them.
    EXPECT_EQ(w.QuestionCount, 1);
    EXPECT_EQ(marksOf(w.engine()), (std::vector<Mark>{Mark::Exact, Mark::Exact, Mark::Late, Mark::Missed}));
    EXPECT_EQ(w.engine().LastEvaluation().extraTaps, 1);
    // (5000 + (200 - 41) × 10000 / 330 + 10000) / 4 = 4954 → 50 %.
    EXPECT_EQ(w.LastScore, 50);
    EXPECT_EQ(w.message(), "You hit 3 of 4 notes.");
    EXPECT_EQ(rig.host.gauge, 50);
    EXPECT_FALSE(w.Listening);
    EXPECT_TRUE(w.ControlButton->ButtonEnabled[0]);
    EXPECT_TRUE(w.ControlButton->ButtonEnabled[2]) << "the taps can be played back";
}

TEST(RytmeImit, SilentTurnBarsOfferTheRhythmAgainAndTapsDuringTheModelAreNoAnswer) {
    Rig<TRytmeImit> rig(4, quarters(4, Strictness::Normal));
    auto& w = *rig.window;
    rig.press(0);
    // Taps while the rhythm plays are dropped when the turn begins.
    rig.run(2 * kBarMs, {{kBarMs + 10, [&] { w.Tap(TapSource::Keyboard); }}});
    EXPECT_FALSE(w.engine().Tapped());
    // Four silent turn bars: after the third the rhythm comes again with its progress strip reset.
    rig.run(2 * kBarMs + 3 * kBarMs + 2016);
    EXPECT_EQ(w.QuestionCount, 0);
    EXPECT_EQ(w.message(), "Listen to the rhythm");
    EXPECT_EQ(w.progress()->segment(), 1);
    // Then taps come and are judged: never stuck waiting.
    rig.run(2 * kBarMs + 5 * kBarMs);
    const double turn = rig.timeOf(12);  // the replayed bar ends, the turn begins
    EXPECT_EQ(turn, 7 * kBarMs);
    rig.run(turn + 2 * kBarMs, {{turn + 0, [&] { w.Tap(TapSource::MidiKey); }}});
    EXPECT_EQ(w.QuestionCount, 1);
}

TEST(RytmeImit, AStuckKeyAndTapsLongAfterTheLastNoteNeitherCrashNorHang) {
    Rig<TRytmeImit> rig(4, quarters(4, Strictness::Normal, 2));
    auto& w = *rig.window;
    rig.press(0);
    rig.run(3 * kBarMs);
    const double turn = 3 * kBarMs;
    std::multimap<double, std::function<void()>> taps;
    // A key repeating every 2 ms for a second: the gate lets one tap in 25 ms through.
    for (int i = 0; i < 500; ++i)
        taps.emplace(turn + i * 2, [&w] { w.MidiInput(sound::NoteOnMessage(0, 60, 90)); });
    rig.run(turn + 3 * kBarMs, std::move(taps));
    EXPECT_EQ(w.QuestionCount, 1);
    EXPECT_LE(w.engine().TapCount(), 41) << "one tap in 25 ms over a second";
    EXPECT_LT(w.LastScore, 50);
    // Taps after judging are not recorded.
    const int taps_after = w.engine().TapCount();
    w.Tap(TapSource::Keyboard);
    EXPECT_EQ(w.engine().TapCount(), taps_after);
}

// A played rhythm tapped back exactly and 30 ms late, with and without a keyboard offset of 30 ms.
struct LatencyCase {
    int lateMs;
    int offsetMs;
    int score;
};

class RytmeImitLatency : public ::testing::TestWithParam<LatencyCase> {};

TEST_P(RytmeImitLatency, TheCalibratedOffsetIsTakenOffEveryTap) {
    const auto c = GetParam();
    auto block = quarters(4, Strictness::Severe, 2);
    block.noteValues = {0, 1, 1, 1, 0, 0};  // halves, quarters and eighths
    Rig<TRytmeImit> rig(4, block);
    StoreTapLatency(TapSource::Keyboard, c.offsetMs);
    auto& w = *rig.window;
    rig.press(0);
    rig.run(3 * kBarMs);
    const double countInEnd = rig.timeOf(11);
    const double turn = rig.timeOf(12);
    std::multimap<double, std::function<void()>> taps;
    for (double onset : rig.rhythmOnsets())
        taps.emplace(turn + (onset - countInEnd) + c.lateMs, [&w] { spaceBar(&w); });
    rig.run(turn + 3 * kBarMs, std::move(taps));
    ASSERT_EQ(w.QuestionCount, 1);
    // Severe: a window of 100 ms, exact within 12; 30 ms off costs (30 - 12) × 100 = 1800 a note.
    EXPECT_EQ(w.LastScore, c.score) << "late " << c.lateMs << ", offset " << c.offsetMs;
    EXPECT_EQ(w.engine().LastEvaluation().extraTaps, 0);
}

INSTANTIATE_TEST_SUITE_P(Taps, RytmeImitLatency,
                         ::testing::Values(LatencyCase{0, 0, 100}, LatencyCase{30, 0, 82},
                                           LatencyCase{30, 30, 100}, LatencyCase{0, 30, 82}));

// A user-interface thread that handles every event 30 ms late: the sequencer's notices keep the
// time they fell due and the taps the moment they were made, so exact taps stay exact.
constexpr double kBusyMs = 30;

TEST(RytmeImit, SpaceBarPressesHandledLateAreJudgedAtTheTimeTheirEventsCarry) {
    Rig<TRytmeImit> rig(4, quarters(4, Strictness::Severe));
    auto& w = *rig.window;
    // The windowing system stamps key events on a clock of its own.
    const auto press = [&w](double at) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
        down.setTimestamp(static_cast<quint64>(kClockBase + at) - 5'000'000);
        QApplication::sendEvent(&w, &down);
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        QApplication::sendEvent(&w, &up);
    };
    // A press before the question, handled at once, is no answer.
    rig.run(100, {{100, [&] { press(100); }}});
    rig.handlingDelayMs = kBusyMs;
    rig.press(0);
    const double begin = rig.now();
    rig.run(begin + 2 * kBarMs + kBusyMs);
    const double turn = rig.timeOf(12);
    ASSERT_EQ(turn, begin + 2 * kBarMs);
    std::multimap<double, std::function<void()>> taps;
    for (int i = 0; i < 4; ++i) {
        const double at = turn + i * kQuarterMs;
        taps.emplace(at + kBusyMs, [&press, at] { press(at); });
    }
    rig.run(turn + kBarMs + 2 * kBusyMs, std::move(taps));
    ASSERT_EQ(w.QuestionCount, 1);
    EXPECT_EQ(marksOf(w.engine()), (std::vector<Mark>(4, Mark::Exact)));
    EXPECT_EQ(w.LastScore, 100);
}

TEST(RytmeLaes, MidiKeysHandledLateAreJudgedAtTheirArrival) {
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Severe));
    rig.handlingDelayMs = kBusyMs;
    auto& w = *rig.window;
    rig.press(1);
    rig.run(kBarMs - 1);
    // Keys struck on the notes of the bar after the count-in; the main window hands each on inside
    // a scope with the time it arrived.
    const double start = kBarMs;
    std::multimap<double, std::function<void()>> taps;
    for (int i = 0; i < 4; ++i) {
        const auto arrived = kClockBase + static_cast<std::int64_t>(start + i * kQuarterMs);
        taps.emplace(start + i * kQuarterMs + kBusyMs, [&w, arrived] {
            const app::EventTimeScope scope(arrived);
            w.MidiInput(sound::NoteOnMessage(0, 60, 100));
        });
    }
    rig.run(start + kBarMs + 2 * kBusyMs, std::move(taps));
    ASSERT_EQ(w.QuestionCount, 1);
    EXPECT_EQ(marksOf(w.engine()), (std::vector<Mark>(4, Mark::Exact)));
    EXPECT_EQ(w.LastScore, 100);
}

TEST(TapLatency, IsKeptInTheLocalConfigurationPerKindOfTap) {
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    ReloadTapLatency();
    StoreTapLatency(TapSource::Clap, 42);
    StoreTapLatency(TapSource::MidiKey, 9999);  // beyond any machine: kept within bounds
    ReloadTapLatency();
    EXPECT_EQ(TapLatency().of(TapSource::Clap), 42);
    EXPECT_EQ(TapLatency().of(TapSource::Keyboard), 0);
    EXPECT_EQ(TapLatency().of(TapSource::MidiKey), 250) << "a quarter of a second at most";
    EXPECT_TRUE(QFile::exists(dir.path() + "/Kalvintor/workstation.ini"));
}

TEST(RytmeLaes, TheFirstTappedBarIsTheRhythmsFirstAndMidiKeysAreJudgedAtItsEnd) {
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Normal));
    auto& w = *rig.window;
    rig.press(1);
    EXPECT_TRUE(w.Listening);
    // The student lets the count-in and one more bar pass, then taps from the page.
    rig.run(2 * kBarMs);
    EXPECT_EQ(w.message(), "Now tap the rhythm");
    const double start = 2 * kBarMs;
    const auto key = [&w] { w.MidiInput(sound::NoteOnMessage(0, 60, 100)); };
    std::multimap<double, std::function<void()>> taps{
        {start + 0, key}, {start + 672 + 300, key}, {start + 2016 - 10, key}};
    rig.run(start + kBarMs + 5, std::move(taps));
    EXPECT_EQ(w.QuestionCount, 1);
    // Inside the 330 ms window and beyond the 41 ms exact zone: late; nothing for the third note.
    EXPECT_EQ(marksOf(w.engine()), (std::vector<Mark>{Mark::Exact, Mark::Late, Mark::Missed, Mark::Exact}));
    EXPECT_EQ(w.LastScore, (10000 - ((300 - 41) * 10000 / 330 + 10000) / 4) / 100);
    EXPECT_TRUE(w.notation()->showMarks());
    EXPECT_FALSE(w.ControlButton->ButtonEnabled[4]);
}

TEST(RytmeLaes, ATapBeforeTheCountInEndsStartsTheClappingAsAnEarlyFirstNote) {
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Normal));
    auto& w = *rig.window;
    rig.press(1);
    const double start = kBarMs;  // the count-in bar ends, the rhythm's bar begins
    const auto key = [&w] { w.MidiInput(sound::NoteOnMessage(0, 60, 100)); };
    std::multimap<double, std::function<void()>> taps{
        {start - 60, key}, {start + 672, key}, {start + 1344, key}, {start + 2016, key}};
    rig.run(start + kBarMs + 5, std::move(taps));
    ASSERT_EQ(w.QuestionCount, 1) << "judged at the end of the rhythm's bar, not waiting for more";
    EXPECT_EQ(marksOf(w.engine()), (std::vector<Mark>{Mark::Early, Mark::Exact, Mark::Exact, Mark::Exact}));
}

TEST(RytmeLaes, ClapsFromAGeneratedMicrophoneStreamAreTaps) {
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Normal));
    auto& w = *rig.window;
    rig.press(1);
    rig.run(kBarMs - 1);
    // The detector hears claps on the notes of the bar after the count-in, and noise.
    const double start = kBarMs;
    std::vector<std::int64_t> posted;
    {
        sound::Microphone mic([&](int, std::uint32_t wParam, std::int64_t lParam, std::uint64_t) {
            if (wParam >= sound::kMicClapParam) posted.push_back(lParam);
        });
        mic.MicConfigure(11, 0, 1572864.0);
        mic.MicStartRhythm();
        auto x = sound::testsignals::Claps({100, 772, 1444, 2116}, 2400, 5);
        for (std::size_t i = 0; i < x.size(); i += 512) {
            mic.Feed(x.data() + i, std::min<std::size_t>(512, x.size() - i),
                     static_cast<double>(kClockBase) + start - 100 + static_cast<double>(i) / 44.1);
            mic.Drain();
        }
        mic.MicStop();
    }
    ASSERT_EQ(posted.size(), 4u);
    std::multimap<double, std::function<void()>> claps;
    for (std::int64_t at : posted)
        claps.emplace(static_cast<double>(at - kClockBase), [&w, at] { w.MicClap(at); });
    rig.run(start + kBarMs + 5, std::move(claps));
    ASSERT_EQ(w.QuestionCount, 1);
    EXPECT_EQ(w.LastScore, 100);
}

TEST(RytmeKorr, MarkingTheChangedNotesScoresAndFalseMarksCost) {
    auto block = kalvintor::rhythm::defaultRhythmSetup(kalvintor::rhythm::RhythmExercise::Correction);
    block.bars = 2;
    block.errors = 1;
    Rig<TRytmeKorr> rig(6, block);
    auto& w = *rig.window;
    ASSERT_FALSE(w.engine().Errors().empty());
    rig.press(1);  // the question the setup made: its changed rhythm plays
    rig.run(3 * kBarMs + 5);
    EXPECT_EQ(rig.timeOf(31), kBarMs);
    EXPECT_TRUE(w.ControlButton->ButtonEnabled[3]);
    EXPECT_FALSE(w.changedShown());

    // Mark every involved note by pressing on its head, and one more that is not.
    const auto involved = kalvintor::rhythm::InvolvedNotes(w.engine().Errors());
    const auto& notes = w.engine().voice(0);
    for (int n : involved) {
        const auto& note = notes[static_cast<std::size_t>(n)];
        QTest::mouseClick(w.written(), Qt::LeftButton, {}, QPoint(note.x + 2, 64 * note.row + 30));
    }
    EXPECT_EQ(w.Marks(), involved);
    int other = 0;
    while (involved.count(other)) ++other;
    const auto& extra = notes[static_cast<std::size_t>(other)];
    QTest::mouseClick(w.written(), Qt::LeftButton, {}, QPoint(extra.x + 2, 64 * extra.row + 30));
    rig.press(3);
    const int expected = static_cast<int>(involved.size());
    EXPECT_FALSE(w.LastAnswerCorrect);
    EXPECT_FALSE(w.tickShown());
    EXPECT_EQ(w.LastScore, (100 * expected - 50) / expected);
    EXPECT_TRUE(w.changedShown());
    EXPECT_EQ(w.QuestionCount, 1);

    // The next question, marked exactly.
    rig.press(0);
    rig.run(rig.now() + 4 * kBarMs);
    for (int n : kalvintor::rhythm::InvolvedNotes(w.engine().Errors())) {
        const auto& note = w.engine().voice(0)[static_cast<std::size_t>(n)];
        w.PressOnWritten(QPoint(note.x, 64 * note.row + 30));
    }
    rig.press(3);
    EXPECT_TRUE(w.LastAnswerCorrect);
    EXPECT_EQ(w.LastScore, 100);
    EXPECT_EQ(w.message(), "Correct!");
    EXPECT_TRUE(w.tickShown()) << "the picture beside the message after a correct answer";
    rig.press(0);
    EXPECT_FALSE(w.tickShown());
}

TEST(TapCalibration, TapsAlongWithTheClicksSetTheOffsetThatTheTestThenTakesOff) {
    Rig<TRytmeImit> rig(4, quarters(4, Strictness::Normal));
    auto& w = *rig.window;
    QTest::mouseClick(w.findChild<QPushButton*>("Calibrate"), Qt::LeftButton);
    TTapCalibration* dialog = w.calibration();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    dialog->setSource(TapSource::MidiKey);

    // Four lead-in clicks, then eight taps from a MIDI key through the window, 40 ms late ± 6.
    dialog->StartMeasuring();
    const double beat = kQuarterMs * 90.0 / rig.host.sequencer.Tempo();
    std::multimap<double, std::function<void()>> taps;
    for (int i = kalvintor::rhythm::kLeadInClicks; i < 12; ++i)
        taps.emplace(i * beat + 40 + (i % 2 ? 6 : -6),
                     [&w] { w.MidiInput(sound::NoteOnMessage(0, 60, 90)); });
    rig.run(12 * beat, std::move(taps));
    dialog->FinishMeasuring();
    EXPECT_TRUE(dialog->measurement().valid);
    EXPECT_NEAR(dialog->measurement().meanMs, 40, 1);
    EXPECT_NEAR(dialog->measurement().spreadMs, 6, 1);
    EXPECT_EQ(w.engine().TapCount(), 0) << "the calibration's taps are no answer";
    dialog->SaveOffset();
    EXPECT_NEAR(TapLatency().of(TapSource::MidiKey), 40, 1);
    EXPECT_EQ(TapLatency().of(TapSource::Keyboard), 0);
    EXPECT_TRUE(dialog->resultText().contains("late on average"));

    // The test rhythm tapped 40 ms late is judged on time; its notices, handled late, are the
    // calibration's and leave the window's own question alone.
    const QString message = w.message();
    rig.handlingDelayMs = 30;
    dialog->StartTest();
    const double start = rig.now();
    const double barMs = 4 * beat;
    std::multimap<double, std::function<void()>> onTime;
    double at = start + barMs;
    for (const auto& n : dialog->testEngine().voice(0)) {
        if (!n.rest) onTime.emplace(at + 40, [&w] { w.MidiInput(sound::NoteOnMessage(0, 60, 90)); });
        at += static_cast<double>(n.duration) * 90.0 / rig.host.sequencer.Tempo();
    }
    rig.run(start + 3 * barMs, std::move(onTime));
    dialog->FinishTest();
    EXPECT_EQ(dialog->testEngine().LastEvaluation().score, 100);
    EXPECT_EQ(w.message(), message);
    EXPECT_EQ(w.QuestionCount, 0);
}

// Tip 6 behind the tip buttons of rhythm imitation and reading.
struct TipCase {
    std::uint32_t mask;
    bool hide;
    std::uint32_t maskAfter;
    bool buttonStays;
};

class RhythmTip : public ::testing::TestWithParam<TipCase> {};

TEST_P(RhythmTip, TheTipButtonShowsTipSixAndHidingItClearsItsBit) {
    const auto c = GetParam();
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Normal));
    rig.host.current.tipsToShow = c.mask;
    auto* button = rig.window->findChild<QToolButton*>("SpeedButton10");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* tip = qobject_cast<ui::TTipform*>(QApplication::activeModalWidget());
        ASSERT_NE(tip, nullptr);
        shown = tip->Label1->text();
        tip->CheckBox1->setChecked(c.hide);
        tip->Button1->click();
    });
    button->click();
    EXPECT_TRUE(shown.startsWith("Tap the rhythm"));
    EXPECT_EQ(rig.host.current.tipsToShow, c.maskAfter);
    EXPECT_EQ(button->isVisible(), c.buttonStays);
}

INSTANTIATE_TEST_SUITE_P(Tips, RhythmTip,
                         ::testing::Values(TipCase{0xFF, false, 0xFF, true}, TipCase{0xFF, true, 0xDF, false},
                                           // Already hidden elsewhere: the mask stays, the button goes.
                                           TipCase{0x1F, true, 0x1F, false}));

TEST(RhythmWindows, TheRhythmWithMetronomeBoxAndTheMenuChoiceAreOneSetting) {
    Rig<TRytmeLaes> rig(5, quarters(5, Strictness::Normal));
    auto& w = *rig.window;
    auto* box = w.findChild<QCheckBox*>("RhythmWithMetronome");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(rig.host.current.rhythmWithMetronome);
    // The model rhythm now clicks along in its bar, after the count-in.
    const auto clicksAfter = [&](double from) {
        int n = 0;
        for (const auto& m : rig.host.system.Output()->Sent()) {
            const auto key = static_cast<int>((m.message >> 8) & 0x7F);
            const bool click =
                key == rig.host.current.metronomeClick.key || key == rig.host.current.firstBeatClick.key;
            if ((m.message & 0xF0) == 0x90 && click && ((m.message >> 16) & 0x7F) > 0 && m.timeMs >= from)
                ++n;
        }
        return n;
    };
    w.ButtonAction3();
    rig.run(2 * kBarMs + 5);
    EXPECT_EQ(clicksAfter(kBarMs), 4);
    // The menu item switches it off: the window's box follows.
    rig.host.current.rhythmWithMetronome = false;
    w.SettingsChanged();
    EXPECT_FALSE(box->isChecked());
    const double again = rig.now();
    w.ButtonAction3();
    rig.run(again + 2 * kBarMs + 5);
    EXPECT_EQ(clicksAfter(again + kBarMs), 0);
}

TEST(RhythmWindows, EveryControlHasAnAccessibleNameOrVisibleText) {
    const auto check = [](QWidget& w) {
        for (QWidget* c : w.findChildren<QWidget*>()) {
            const auto* button = qobject_cast<QAbstractButton*>(c);
            if (!button && !qobject_cast<QAbstractScrollArea*>(c) && !qobject_cast<QComboBox*>(c)) continue;
            EXPECT_FALSE(c->accessibleName().isEmpty() && (button == nullptr || button->text().isEmpty()))
                << w.objectName().toStdString() << ": " << c->objectName().toStdString();
        }
    };
    Rig<TRytmeImit> imitation(4, quarters(4, Strictness::Normal));
    check(*imitation.window);
    imitation.window->OpenCalibration();
    check(*imitation.window->calibration());
    Rig<TRytmeLaes> reading(5, quarters(5, Strictness::Normal));
    check(*reading.window);
    Rig<TRytmeKorr> correction(
        6, kalvintor::rhythm::defaultRhythmSetup(kalvintor::rhythm::RhythmExercise::Correction));
    check(*correction.window);
}
