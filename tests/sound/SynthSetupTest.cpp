// The built-in synthesizer set up in the background: its output opened before it is ready keeps
// what it is asked to play and plays it once bound; the tune and answer sounds asked for meanwhile
// wait for it; the system can go while the setting up still runs.
#include "AudioAnalysis.h"
#include "JackServer.h"

#include "sound/DeferredBuiltinPort.h"
#include "sound/MidiMessage.h"
#include "sound/SoundServices.h"
#include "sound/SoundSystem.h"

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

using namespace kalvintor::sound;
namespace an = kalvintor::sound::analysis;
namespace fs = std::filesystem;

namespace {

constexpr std::uint8_t kImmediateNote = 69;  // sent at once
constexpr std::uint8_t kPlayedNote = 76;     // in the started playback
constexpr std::uint8_t kExtendedNote = 60;   // in the extension of it

class Inbox final : public NotificationSink {
public:
    void Notify(const Notification& n) override { received.push_back(n); }
    std::vector<Notification> received;
};

TimedEvent NoteAt(double ms, std::uint8_t note) {
    TimedEvent e;
    e.timeMs = ms;
    e.message = NoteOnMessage(0, note, 110);
    return e;
}

Timeline Played(bool extended) {
    Timeline t;
    t.events.push_back(NoteAt(0, kPlayedNote));
    TimedEvent notice;
    notice.timeMs = 100;
    notice.kind = SeqEventKind::Notify;
    notice.code = 7;
    notice.window = 3;
    t.events.push_back(notice);
    if (extended) t.events.push_back(NoteAt(150, kExtendedNote));
    t.endMs = 400;
    return t;
}

double Energy(const std::vector<float>& x, std::uint8_t note) {
    const auto from = static_cast<std::size_t>(0.2 * kSynthSampleRate);
    const auto count = static_cast<std::size_t>(0.3 * kSynthSampleRate);
    return an::EnergyAt(x, from, count, an::MidiFrequency(note), kSynthSampleRate);
}

fs::path ProgramMedia() {
    if (const char* dir = std::getenv("KALVINTOR_PROGRAM_DIR")) return fs::path(dir) / "Media";
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "Media";
}

bool Lists(const std::vector<std::string>& names, const std::string& part) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return n.find(part) != std::string::npos; });
}

float Peak(BuiltinSynth& synth, double ms) {
    BuiltinOutPort port(synth);
    std::vector<float> left, right;
    port.RenderOffline(left, right, static_cast<std::size_t>(ms * kSynthSampleRate / 1000.0));
    float p = 0;
    for (float v : left) p = std::max(p, std::fabs(v));
    return p;
}

}  // namespace

TEST(DeferredBuiltinPort, WhatItIsAskedBeforeTheSynthesizerIsReadyPlaysOnceBound) {
    struct Case {
        const char* what;
        bool clear;   // the playback stopped before the synthesizer is ready
        bool extend;  // the playback extended before the synthesizer is ready
    };
    for (const Case& c : {Case{"started", false, false}, Case{"started, then cleared", true, false},
                          Case{"started, then extended", false, true}}) {
        SCOPED_TRACE(c.what);
        BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
        ASSERT_NE(created.synth, nullptr);
        DeferredBuiltinPort port;
        Inbox inbox;
        constexpr std::uint32_t kVolume = 0x80008000;
        EXPECT_TRUE(port.SetVolume(kVolume));
        EXPECT_TRUE(port.Send(NoteOnMessage(0, kImmediateNote, 110)));
        port.Playback().Start(Played(false), 5, &inbox);
        if (c.extend) port.Playback().Extend(Played(true), 5, &inbox);
        if (c.clear) port.Playback().Clear();
        EXPECT_EQ(port.Port(), nullptr);
        EXPECT_EQ(port.Volume(), kVolume);

        port.Bind(*created.synth);
        ASSERT_NE(port.Port(), nullptr);
        EXPECT_EQ(port.Volume(), kVolume);
        std::vector<float> left, right;
        port.Port()->RenderOffline(left, right, static_cast<std::size_t>(0.6 * kSynthSampleRate));

        const double quiet = Energy(left, 90);  // no note near A6 is played
        EXPECT_GT(Energy(left, kImmediateNote), 50 * quiet)
            << "the note sent before the synthesizer was ready";
        EXPECT_EQ(Energy(left, kPlayedNote) > 50 * quiet, !c.clear);
        EXPECT_EQ(Energy(left, kExtendedNote) > 50 * quiet, c.extend);
        const std::vector<Notification> expected =
            c.clear ? std::vector<Notification>{} : std::vector<Notification>{{3, 7, 5}};
        EXPECT_EQ(inbox.received, expected);
    }
}

TEST(SoundSystem, SetUpInTheBackgroundItIsListedAtOnceAndOpensOnceReady) {
    std::atomic<int> settled{0};
    {
        SoundSystemOptions options{SynthOptions{false}, false};
        options.synthInBackground = true;
        SoundSystem system(std::move(options));
        EXPECT_EQ(system.MapperName(), std::string(kBuiltinSynthName)) << "listed while being set up";
        system.WhenSynthSettled([&] { ++settled; });
        ASSERT_NE(system.Synth(), nullptr);
        EXPECT_TRUE(system.SynthSettled());
        EXPECT_EQ(system.SynthStatus(), SynthError::None);
        OpenResult<MidiOutPort> opened = system.OpenOutput(kMapperId);
        EXPECT_NE(dynamic_cast<BuiltinOutPort*>(opened.port.get()), nullptr);
        // Asked once it is ready: at once, on the asking thread.
        const std::thread::id asking = std::this_thread::get_id();
        std::thread::id ran;
        system.WhenSynthSettled([&] { ran = std::this_thread::get_id(); });
        EXPECT_EQ(ran, asking);
    }
    EXPECT_EQ(settled.load(), 1);
}

TEST(SoundSystem, GoesWhileTheSynthesizerIsStillBeingSetUp) {
    // Closing the program at once: neither a hang nor a callback into what has gone.
    for (int i = 0; i < 3; ++i) {
        auto flag = std::make_unique<std::atomic<int>>(0);
        SoundSystemOptions options{SynthOptions{true}, false};
        options.synthInBackground = true;
        auto system = std::make_unique<SoundSystem>(std::move(options));
        system->WhenSynthSettled([f = flag.get()] { ++*f; });
        OpenResult<MidiOutPort> opened = system->OpenOutput(kMapperId);
        ASSERT_NE(opened.port, nullptr);
        opened.port->Send(NoteOnMessage(0, 60, 100));
        opened.port.reset();
        system.reset();
        EXPECT_LE(flag->load(), 1);
    }
}

TEST(SoundSystem, AHeldSynthesizerIsSetUpOnlyOnceReleasedOrNeeded) {
    enum class Then { Release, AskForIt, Go };
    for (Then then : {Then::Release, Then::AskForIt, Then::Go}) {
        SCOPED_TRACE(static_cast<int>(then));
        SoundSystemOptions options{SynthOptions{false}, false};
        options.synthInBackground = true;
        options.holdSynth = true;
        auto system = std::make_unique<SoundSystem>(std::move(options));
        // The ports are listed all the same (none asked for here): this waits for that listing.
        EXPECT_TRUE(system->OutputNames().empty());
        // Set up without the hold, it would be done long before this.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(system->SynthSettled());
        EXPECT_EQ(system->MapperName(), std::string(kBuiltinSynthName));
        EXPECT_NE(dynamic_cast<DeferredBuiltinPort*>(system->OpenOutput(kMapperId).port.get()), nullptr)
            << "its output waits for it";
        switch (then) {
            case Then::Release: {
                system->ReleaseSynth();
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (!system->SynthSettled() && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                EXPECT_TRUE(system->SynthSettled());
                EXPECT_NE(system->Synth(), nullptr);
                break;
            }
            case Then::AskForIt:
                EXPECT_NE(system->Synth(), nullptr) << "asking for it lets it be set up";
                break;
            case Then::Go:
                system.reset();  // neither a hang nor a synthesizer set up for nobody
                break;
        }
    }
}

TEST(SoundServices, TuneAndAnswerSoundsAskedForBeforeTheSynthesizerIsReadyWaitForIt) {
    struct Case {
        const char* what;
        bool tune;
        bool stopTune;
        bool wave;
        bool sounds;
    };
    for (const Case& c : {Case{"the tune", true, false, false, true},
                          Case{"the tune, stopped before", true, true, false, false},
                          Case{"an answer sound", false, false, true, true}}) {
        SCOPED_TRACE(c.what);
        SoundServices services(nullptr, ProgramMedia());
        services.WaitForSynth();
        services.SetWaveVolume(255);
        if (c.tune) {
            EXPECT_EQ(services.PlayMidiFile(ProgramMedia() / "intro.mid", nullptr), MidiFilePlay::Playing);
        }
        // A tune that cannot play is reported at once, not when the synthesizer is ready.
        EXPECT_EQ(services.PlayMidiFile(ProgramMedia() / "absent.mid", nullptr), MidiFilePlay::Missing);
        if (c.stopTune) services.StopMidiFile();
        if (c.wave) {
            EXPECT_EQ(services.PlayWave("Correct"), WaveError::None);
        }

        BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
        ASSERT_NE(created.synth, nullptr);
        services.SynthReady(created.synth.get());
        EXPECT_EQ(Peak(*created.synth, 1500) > 0.01f, c.sounds);
        services.StopMidiFile();
    }
}

TEST(SoundSystem, PortsListedInTheBackgroundFirstThenAfreshOnEveryLaterCall) {
    if (!kalvintor::sound::testing::JackServer::Installed())
        GTEST_SKIP() << "jackd is not installed: no ports to list here";
    kalvintor::sound::testing::JackServer server;
    ASSERT_TRUE(server.Running()) << server.Error();
    RtMidiIn early(RtMidi::UNIX_JACK, "early-synth");
    early.openVirtualPort("in");
    SoundSystemOptions options{SynthOptions{false}, true, "kalvintor-listing-test"};
    options.synthInBackground = true;
    SoundSystem system(std::move(options));
    EXPECT_TRUE(Lists(system.OutputNames(), "early-synth:in")) << "the background listing";

    RtMidiIn late(RtMidi::UNIX_JACK, "late-synth");
    late.openVirtualPort("in");
    RtMidiOut keys(RtMidi::UNIX_JACK, "late-keys");
    keys.openVirtualPort("keys");
    const std::vector<std::string> outputs = system.OutputNames();
    EXPECT_TRUE(Lists(outputs, "early-synth:in"));
    EXPECT_TRUE(Lists(outputs, "late-synth:in")) << "listed afresh";
    // The first call takes what was listed at the start, the next one lists afresh.
    EXPECT_FALSE(Lists(system.InputNames(), "late-keys:keys"));
    EXPECT_TRUE(Lists(system.InputNames(), "late-keys:keys"));
}
