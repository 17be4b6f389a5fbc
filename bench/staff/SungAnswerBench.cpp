// A sung interval answered through the microphone detector, the main window's message handling
// and the pitch exercise window: sung_answer_ms from the end of the second note's first steady
// 50 ms to the judged answer painted on screen, fed at the pace of real singing.
#include "Signals.h"
#include "app/Random.h"
#include "pitch/TAkkord.h"
#include "sound/MicSession.h"
#include "sound/Microphone.h"
#include "sound/SoundEvents.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace kalvintor;
namespace sig = kalvintor::sound::testsignals;

namespace {

constexpr std::size_t kChunk = 512;
constexpr double kSteadyMs = 50;

// Hands the detector's notes to the window as the main window does.
class MicReceiver final : public QObject {
public:
    MicReceiver(sound::MicSession*& session, ui::TAkkord*& window) : session_(session), window_(window) {}

protected:
    void customEvent(QEvent* event) override {
        if (event->type() != sound::SoundEventType(sound::kMicNoteMessage)) return;
        const auto& mic = *static_cast<sound::MicEvent*>(event);
        if (const auto note = session_->OnMicNote(mic.wParam)) window_->MicPitch(note->note);
    }

private:
    sound::MicSession*& session_;
    ui::TAkkord*& window_;
};

void feed(sound::Microphone& mic, const std::vector<float>& x, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; i += kChunk) {
        mic.Feed(x.data() + i, std::min(kChunk, to - i), 0);
        QCoreApplication::processEvents();
    }
}

void BM_SungAnswer(benchmark::State& state) {
    ui::testing::RecordingHost host;
    auto block = host.setup.pitchBlock(2);
    block.entryEnabled.fill(0);
    block.entryEnabled[4] = 1;  // major third
    block.entryEnabled[7] = 1;  // perfect fifth
    block.playTogether = 1;
    block.arpeggioUp = 0;
    block.arpeggioDown = 0;
    block.tonic = 0;
    block.autoAnswer = 1;
    block.lowerLimit = 60;
    block.upperLimit = 61;
    host.setup.setPitchBlock(2, block);
    std::string device;
    host.out.SelectDeviceByName(device);

    ui::TAkkord* window = nullptr;
    sound::MicSession* session = nullptr;
    MicReceiver receiver(session, window);
    sound::Microphone mic(sound::PostMicEvents(&receiver));
    sound::MicSession micSession(mic);
    session = &micSession;
    ui::TAkkord akkord(2, host);
    window = &akkord;
    akkord.resize(1100, 700);
    akkord.show();
    micSession.MicSetup(host.current);
    micSession.MicBegin(2);
    akkord.MicrophoneAnswering(true);

    std::vector<double> latencies;
    for (auto _ : state) {
        akkord.NewQuestion();
        akkord.SeqNotify(55);
        const auto notes = akkord.state().notes;
        feed(mic, sig::Tone(sig::Voice::Sine, notes[0].pitch, 100, 300), 0, sig::Samples(400));
        mic.Drain();
        QCoreApplication::processEvents();
        const auto second = sig::Tone(sig::Voice::Sine, notes[1].pitch, 100, 400);
        const std::size_t steady = sig::Samples(100 + kSteadyMs);
        // Up to the end of the first steady 50 ms as fast as the detector takes it, then in real
        // time until the judged answer is painted.
        feed(mic, second, 0, steady);
        const auto start = std::chrono::steady_clock::now();
        std::size_t at = steady;
        while (!akkord.Answered && at < second.size()) {
            const auto chunkEnd = start + std::chrono::microseconds(static_cast<long>(
                                              1e6 * static_cast<double>(at + kChunk - steady) / sig::kRate));
            feed(mic, second, at, std::min(at + kChunk, second.size()));
            at += kChunk;
            while (!akkord.Answered && std::chrono::steady_clock::now() < chunkEnd) {
                QCoreApplication::processEvents();
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        for (int i = 0; i < 20 && !akkord.Answered; ++i) {
            mic.Drain();
            QCoreApplication::processEvents();
        }
        akkord.repaint();
        latencies.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!akkord.Answered) state.SkipWithError("the sung answer was not judged");
        // A breath before the next question.
        feed(mic, std::vector<float>(sig::Samples(200), 0.0f), 0, sig::Samples(200));
        mic.Drain();
        QCoreApplication::processEvents();
    }
    micSession.MicEnd([] { QCoreApplication::processEvents(); });
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) state.counters["sung_answer_ms"] = latencies[latencies.size() / 2];
    state.counters["right"] = akkord.CorrectCount;
    state.counters["asked"] = akkord.QuestionCount;
}
BENCHMARK(BM_SungAnswer)->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace
