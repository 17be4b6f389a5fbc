// Interval identification inside the main window: a chord played on a MIDI keyboard reaches the
// exercise through the input router, and a sung answer through the microphone detector fed with
// generated sound; noise and silence enter nothing.
#include "app/MainSound.h"
#include "app/Random.h"
#include "app/TControlButton.h"
#include "app/TKalvintorMain.h"
#include "pitch/MicMeter.h"
#include "pitch/TAkkord.h"
#include "sound/Microphone.h"
#include "sound/RecordingMidi.h"
#include "sound/Signals.h"
#include "sound/SoundEvents.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QToolButton>

#include <random>

using namespace kalvintor;
using namespace kalvintor::ui;
namespace sig = kalvintor::sound::testsignals;

namespace {

struct Shell {
    sound::RecordingMidiSystem* recording;
    std::unique_ptr<TKalvintorMain> main;
    TAkkord* window;

    Shell() {
        auto system = std::make_unique<sound::RecordingMidiSystem>();
        recording = system.get();
        main = std::make_unique<TKalvintorMain>(nullptr, std::move(system));
        window = new TAkkord(2, *main);
        main->SetExerciseWindow(2, window);
        main->CreateMenuDialog();
        main->show();
        // Major thirds and fifths on C, together, judged as soon as the answer is complete.
        auto block = main->Setup.current.pitchBlock(2);
        block.entryEnabled.fill(0);
        block.entryEnabled[4] = 1;
        block.entryEnabled[7] = 1;
        block.playTogether = 1;
        block.arpeggioUp = 0;
        block.arpeggioDown = 0;
        block.tonic = 0;
        block.showFirstTone = 0;
        block.autoAnswer = 1;
        block.lowerLimit = 60;
        block.upperLimit = 61;
        main->Setup.current.setPitchBlock(2, block);
        main->ApplySetupAll(true);
        main->Speed1Click(2);
    }
    void key(int code) const {
        QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier);
        QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier);
        main->HandleKeyDown(&down);
        main->HandleKeyUp(&up);
    }
    // A new question, played to its end on the recording device.
    void ask() const {
        key(Qt::Key_F5);
        recording->Output()->Advance(recording->Output()->Now() + 20000);
        QCoreApplication::processEvents();
    }
    void midi(std::uint32_t message) const {
        sound::MidiDataEvent event(message);
        QCoreApplication::sendEvent(main.get(), &event);
    }
    void sing(const std::vector<float>& x) const {
        auto& mic = dynamic_cast<sound::Microphone&>(main->sound().microphone());
        for (std::size_t i = 0; i < x.size(); i += 512) {
            mic.Feed(x.data() + i, std::min<std::size_t>(512, x.size() - i), 0);
            mic.Drain();
            QCoreApplication::processEvents();
        }
    }
};

}  // namespace

TEST(ShellAkkord, AChordFromTheMidiKeyboardAnswersThroughTheRouter) {
    Shell s;
    ASSERT_EQ(s.main->views()->currentWidget(), s.window);
    s.main->MIDIin->click();
    EXPECT_TRUE(s.main->Settings.midiInputEnabled);
    s.ask();
    ASSERT_FALSE(s.window->Answered);
    const auto question = s.window->state().notes;
    // A key outside the keyboard's reach, and a clock message, do nothing.
    s.midi(sound::NoteOnMessage(0, 5, 90));
    s.midi(0xF8);
    EXPECT_TRUE(s.window->state().answer.notes.empty());
    for (const auto& n : question) s.midi(sound::NoteOnMessage(0, static_cast<std::uint8_t>(n.pitch), 90));
    for (const auto& n : question) s.midi(sound::NoteOffMessage(0, static_cast<std::uint8_t>(n.pitch)));
    EXPECT_TRUE(s.window->Answered);
    EXPECT_EQ(s.window->QuestionCount, 1);
    EXPECT_EQ(s.window->CorrectCount, 1);

    // Switched off, the keyboard no longer reaches the exercise.
    s.main->MIDIin->click();
    s.ask();
    s.midi(sound::NoteOnMessage(0, static_cast<std::uint8_t>(question.front().pitch), 90));
    EXPECT_TRUE(s.window->state().answer.notes.empty());
}

TEST(ShellAkkord, ASungIntervalIsTakenNoteByNoteAndJudged) {
    app::SetRandomizeClock([] { return std::uint64_t{7}; });
    Shell s;
    s.ask();
    const auto question = s.window->state().notes;
    ASSERT_EQ(question.size(), 2u);
    auto& session = s.main->sound().mic();
    session.MicSetup(s.main->Settings);
    // The detector hears only what the window can take.
    const auto range = s.window->MicrophoneRange();
    ASSERT_TRUE(range);
    s.main->sound().SetMicPitchRange(range->low, range->high);
    session.MicBegin(2);
    s.window->MicrophoneAnswering(true);
    MicMeter& meter = *s.window->micMeter();

    // Silence and a breath of noise are not notes; the strip shows the hiss's level.
    std::vector<float> noise(sig::Samples(400), 0.0f);
    std::mt19937 random(3);
    std::normal_distribution<float> hiss(0.0f, 0.02f);
    for (std::size_t i = sig::Samples(200); i < noise.size(); ++i) noise[i] = hiss(random);
    s.sing(noise);
    EXPECT_TRUE(s.window->state().answer.notes.empty());
    meter.readLevel();
    EXPECT_NEAR(meter.levelDb(), -34.0, 4.0);

    s.sing(sig::Tone(sig::Voice::Sine, question[0].pitch, 100, 400));
    ASSERT_EQ(s.window->state().answer.notes.size(), 1u);
    // The strip names the note heard, so the student sees why it was taken, at the level sung.
    const QString heard = meter.heardText();
    meter.readLevel();
    EXPECT_NEAR(meter.levelDb(), -9.0, 3.0);
    EXPECT_TRUE(heard.startsWith("Heard: ") && heard.endsWith("(taken)")) << heard.toStdString();
    EXPECT_EQ(s.window->state().answer.notes[0].pitch, question[0].pitch);
    EXPECT_FALSE(s.window->Answered);
    s.sing(sig::Tone(sig::Voice::Sine, question[1].pitch, 100, 400));
    EXPECT_TRUE(s.window->Answered);
    EXPECT_EQ(s.window->CorrectCount, 1);

    // Thirds and fifths in turn: every leap is taken, question after question.
    for (int k = 2; k <= 4; ++k) {
        s.ask();
        for (const auto& n : s.window->state().notes) s.sing(sig::Tone(sig::Voice::Sine, n.pitch, 150, 350));
        EXPECT_EQ(s.window->CorrectCount, k) << "question " << k;
    }
    session.MicEnd([] { QCoreApplication::processEvents(); });
    app::SetRandomizeClock(nullptr);
}
