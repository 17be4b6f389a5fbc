// The program's own sound side as the main window makes it: the synthesizer is set up in the
// background, the output the settings name is opened meanwhile and handed over, and the sound side
// can go before the synthesizer is ready.
#include "app/MainSound.h"
#include "language/Language.h"
#include "settings/SettingRecord.h"
#include "sound/BuiltinOutPort.h"
#include "sound/DeferredBuiltinPort.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <filesystem>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

std::filesystem::path media() {
    if (const char* dir = std::getenv("KALVINTOR_PROGRAM_DIR")) return std::filesystem::path(dir) / "Media";
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "Media";
}

}  // namespace

TEST(MainSoundStart, OutputOpenedBeforeTheSynthesizerIsReadyIsHandedOverToIt) {
    QObject receiver;
    settings::Settings settings = settings::defaultSettings();
    settings.midiOutputDevice.clear();  // none named: entry 1, the built-in synthesizer
    language::Language language;
    MainSound sound(&receiver, settings, language, media());
    int ready = 0;
    sound.WhenSynthReady([&] { ++ready; });
    sound.ApplySettings();
    EXPECT_TRUE(sound.midiOut().Opened());
    EXPECT_EQ(settings.midiOutputDevice, sound::kBuiltinSynthName);
    EXPECT_EQ(sound.services().PlayMidiFile(media() / "intro.mid", &receiver), sound::MidiFilePlay::Playing);

    QElapsedTimer waited;
    waited.start();
    while (!sound.SynthReady() && waited.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(sound.SynthReady());
    EXPECT_EQ(ready, 1);
    sound::MidiOutPort* port = sound.midiOut().Port();
    auto* deferred = dynamic_cast<sound::DeferredBuiltinPort*>(port);
    EXPECT_TRUE(dynamic_cast<sound::BuiltinOutPort*>(port) != nullptr || (deferred && deferred->Port()))
        << "the output plays on the synthesizer once it is ready";
    sound.WhenSynthReady([&] { ++ready; });
    EXPECT_EQ(ready, 2) << "asked once it is ready: at once";
    sound.services().StopMidiFile();
}

TEST(MainSoundStart, ClosingBeforeTheSynthesizerIsReadyNeitherHangsNorCrashes) {
    for (int i = 0; i < 3; ++i) {
        QObject receiver;
        settings::Settings settings = settings::defaultSettings();
        language::Language language;
        int ready = 0;
        {
            MainSound sound(&receiver, settings, language, media());
            sound.WhenSynthReady([&] { ++ready; });
            sound.ApplySettings();
            sound.services().PlayMidiFile(media() / "intro.mid", &receiver);
            sound.midiOut().NoteOn(settings.pianoVoice);
        }
        // A hand-over posted before the sound side went finds nothing to do.
        QCoreApplication::processEvents();
        EXPECT_EQ(ready, 0);
    }
}
