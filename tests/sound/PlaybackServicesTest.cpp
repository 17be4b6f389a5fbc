// Answer sounds, the wave volume, the MIDI-file player's end notice, and SoundFonts that are
// missing or broken.
#include "AudioAnalysis.h"

#include "sound/BuiltinOutPort.h"
#include "sound/MidiFile.h"
#include "sound/MidiMessage.h"
#include "sound/SoundServices.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

using namespace kalvintor::sound;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        static int n = 0;
        path_ = fs::temp_directory_path() /
                ("kalvintor-sound-" + std::to_string(getpid()) + "-" + std::to_string(++n));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    fs::path path_;
};

float Peak(const std::vector<float>& x) {
    float p = 0;
    for (float v : x) p = std::max(p, std::fabs(v));
    return p;
}

// Renders the synthesizer's output for `ms`.
std::vector<float> Render(BuiltinSynth& synth, double ms) {
    BuiltinOutPort port(synth);
    std::vector<float> left, right;
    port.RenderOffline(left, right, static_cast<std::size_t>(ms * kSynthSampleRate / 1000.0));
    return left;
}

// The program directory the build lays out: named by the environment, or beside the test
// programs' own directory.
fs::path ProgramMedia() {
    if (const char* dir = std::getenv("KALVINTOR_PROGRAM_DIR")) return fs::path(dir) / "Media";
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "Media";
}

}  // namespace

TEST(AnswerSounds, MediaFilesPlayMixedAtTheWaveVolume) {
    for (const char* name : {"Correct", "Wrong", "Bell", "Chime", "Buzz"}) {
        BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
        SoundServices services(created.synth.get(), ProgramMedia());
        services.SetWaveVolume(255);
        EXPECT_EQ(services.PlayWave(name), WaveError::None) << name;
        const float loud = Peak(Render(*created.synth, 1500));  // to its end
        EXPECT_GT(loud, 0.3f) << name;

        services.SetWaveVolume(51);
        std::uint8_t level = 0;
        ASSERT_TRUE(services.GetWaveVolume(level));
        EXPECT_EQ(level, 51);
        EXPECT_EQ(services.PlayWave(name), WaveError::None);
        EXPECT_NEAR(Peak(Render(*created.synth, 300)), loud * 0.2f, loud * 0.02f) << name;
    }
}

TEST(AnswerSounds, MissingForeignOrStrangeNamesPlaySilence) {
    TempDir dir;
    dir.Write("Text.wav", "This is not audio, whatever its name says.");
    dir.Write("Empty.wav", "");
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
    SoundServices services(created.synth.get(), dir.Path());
    EXPECT_EQ(services.PlayWave("Nothing"), WaveError::Missing);
    EXPECT_EQ(services.PlayWave("Text"), WaveError::NotAudio);
    EXPECT_EQ(services.PlayWave("Empty"), WaveError::NotAudio);
    EXPECT_EQ(services.PlayWave("../Correct"), WaveError::Missing);
    EXPECT_EQ(services.PlayWave(""), WaveError::Missing);
    EXPECT_LT(Peak(Render(*created.synth, 200)), 1e-4f);

    SoundServices without(nullptr, ProgramMedia());
    EXPECT_EQ(without.PlayWave("Correct"), WaveError::None) << "no synthesizer: silence, not a failure";
}

TEST(MidiFilePlayer, TuneEndsWithANoticeAndBrokenFilesAreRefused) {
    TempDir dir;
    const std::vector<std::uint8_t> tune =
        WriteMidiFile(480, {{0, {0x90, 60, 100}}, {96, {0x80, 60, 0}}});  // a tenth of a second
    dir.Write("short.mid", std::string(tune.begin(), tune.end()));
    dir.Write("broken.mid", "MThd but nothing else of a MIDI file");

    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{true, kDefaultSoundFont, {}});
    ASSERT_NE(created.synth, nullptr);
    EXPECT_EQ(created.synth->Output(), AudioOutput::SilentClock)
        << "no drivers tried: a silent clock keeps time";
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    ASSERT_EQ(created.synth->PlayMidiFile(dir.Path() / "short.mid",
                                          [&] {
                                              std::lock_guard lock(mutex);
                                              done = true;
                                              ended.notify_all();
                                          }),
              MidiFilePlay::Playing);
    {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(ended.wait_for(lock, std::chrono::seconds(10), [&] { return done; }));
    }
    EXPECT_EQ(created.synth->PlayMidiFile(dir.Path() / "broken.mid", {}), MidiFilePlay::NotMidi);
    EXPECT_EQ(created.synth->PlayMidiFile(dir.Path() / "absent.mid", {}), MidiFilePlay::Missing);
    EXPECT_EQ(created.synth->PlayMidiFile(ProgramMedia() / "intro.mid", {}), MidiFilePlay::Playing);
    created.synth->StopMidiFile();
}

TEST(SoundFonts, MissingOrBrokenSoundFontLeavesAWorkingSilentSynthesizer) {
    TempDir dir;
    dir.Write("broken.sf2", "RIFF....sfbk not really");
    struct Case {
        fs::path file;
        SynthError error;
    };
    for (const Case& c : {Case{dir.Path() / "absent.sf2", SynthError::SoundFontMissing},
                          Case{dir.Path() / "broken.sf2", SynthError::SoundFontBroken}}) {
        BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false, c.file});
        ASSERT_NE(created.synth, nullptr);
        EXPECT_EQ(created.error, c.error) << c.file;
        created.synth->Send(NoteOnMessage(0, 60, 100));
        EXPECT_LT(Peak(Render(*created.synth, 100)), 1e-4f);
    }
}

TEST(SoundFonts, LoadingAnotherOffTheCallingThreadKeepsTheOldOneOnFailure) {
    TempDir dir;
    dir.Write("broken.sf2", "garbage");
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
    std::mutex mutex;
    std::condition_variable loaded;
    std::vector<SynthError> results;
    auto done = [&](SynthError e) {
        std::lock_guard lock(mutex);
        results.push_back(e);
        loaded.notify_all();
    };
    created.synth->LoadSoundFontAsync(dir.Path() / "broken.sf2", done);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(loaded.wait_for(lock, std::chrono::seconds(20), [&] { return results.size() == 1; }));
    }
    EXPECT_EQ(results[0], SynthError::SoundFontBroken);
    created.synth->Send(NoteOnMessage(0, 60, 100));
    EXPECT_GT(Peak(Render(*created.synth, 200)), 0.01f) << "the previous SoundFont still sounds";

    created.synth->LoadSoundFontAsync("/usr/share/sounds/sf2/default-GM.sf2", done);
    std::unique_lock lock(mutex);
    ASSERT_TRUE(loaded.wait_for(lock, std::chrono::seconds(60), [&] { return results.size() == 2; }));
    EXPECT_EQ(results[1], fs::exists("/usr/share/sounds/sf2/default-GM.sf2") ? SynthError::None
                                                                             : SynthError::SoundFontMissing);
}
