// The main window's sound side.
#include "MainSound.h"

#include "sound/DeferredBuiltinPort.h"
#include "sound/DeviceTexts.h"
#include "sound/Microphone.h"
#include "sound/SoundSystem.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace kalvintor::ui {

namespace {

// The sequencer's sounds on the millisecond clock, handed to the microphone's detector.
class OwnSoundsToMicrophone final : public sound::ProgramSoundSink {
public:
    explicit OwnSoundsToMicrophone(sound::Microphone& microphone) : microphone_(microphone) {}
    void Sounding(const std::vector<sound::ProgramSound>& sounds, double startClockMs) override {
        for (const sound::ProgramSound& s : sounds) {
            const auto kind = s.kind == sound::ProgramSound::Kind::Click ? sound::OwnSound::Kind::Click
                                                                         : sound::OwnSound::Kind::Note;
            microphone_.ProgramSound({kind, s.note, startClockMs + s.fromMs, startClockMs + s.toMs});
        }
    }

private:
    sound::Microphone& microphone_;
};

sound::ShowMessage messageBox() {
    return [](const std::string& text) {
        QMessageBox::warning(nullptr, QStringLiteral("Kalvintor"), QString::fromStdString(text));
    };
}

}  // namespace

MainSound::MainSound(QObject* receiver, settings::Settings& settings, const language::Language& language,
                     const std::filesystem::path& mediaDir, std::unique_ptr<sound::MidiSystem> system,
                     bool holdSynth)
    : receiver_(receiver),
      settings_(settings),
      language_(language),
      system_(std::move(system)),
      notifications_(receiver),
      midiInput_(receiver),
      settled_(system_ != nullptr) {
    if (!system_) {
        // The synthesizer is set up while the windows are made; until it is ready its output keeps
        // what it is asked to play (SynthSettled hands it over).
        sound::SoundSystemOptions options;
        options.synthInBackground = true;
        options.holdSynth = holdSynth;
        auto own = std::make_unique<sound::SoundSystem>(std::move(options));
        soundSystem_ = own.get();
        system_ = std::move(own);
    }
    sequencer.SetNotificationSink(&notifications_);
    services_ = std::make_unique<sound::SoundServices>(nullptr, mediaDir);
    if (soundSystem_ != nullptr) {
        services_->WaitForSynth();
        // Runs on the thread setting the synthesizer up: the rest is done on the window's thread,
        // unless this side has gone by then.
        soundSystem_->WhenSynthSettled([receiver, alive = std::weak_ptr<MainSound*>(alive_)] {
            QMetaObject::invokeMethod(
                receiver,
                [alive] {
                    if (const auto self = alive.lock()) (*self)->SynthSettled();
                },
                Qt::QueuedConnection);
        });
    }
}

MainSound::~MainSound() {
    alive_.reset();
    // The microphone first (its thread posts to the window), then the devices, whose ports refer
    // to the synthesizer and the sequencer.
    sequencer.SetProgramSoundSink(nullptr);
    ownSounds_.reset();
    micSession_.reset();
    if (microphone_) microphone_->MicClose();
    microphone_.reset();
    services_.reset();
    router_.reset();
    midiOut_.reset();
    midiIn_.reset();
    sequencer.SetNotificationSink(nullptr);
}

void MainSound::MakeDevices() {
    if (midiOut_) return;
    midiIn_ = std::make_unique<sound::TMidiIn>(*system_, midiInput_, language_, messageBox());
    midiIn_->AddNoneEntry();
    midiOut_ = std::make_unique<sound::TMidiOut>(*system_, sequencer, settings_, language_, messageBox());
    router_ = std::make_unique<sound::MidiInputRouter>(*midiIn_, settings_);
}

void MainSound::MakeMicrophone() {
    if (microphone_) return;
    microphone_ = std::make_unique<sound::Microphone>(sound::PostMicEvents(receiver_));
    micSession_ = std::make_unique<sound::MicSession>(*microphone_);
    // Only what is played from now on can be heard: nothing before it was listening.
    ownSounds_ = std::make_unique<OwnSoundsToMicrophone>(*microphone_);
    sequencer.SetProgramSoundSink(ownSounds_.get());
}

void MainSound::ApplySettings() {
    MakeDevices();
    midiOut_->SelectDeviceByName(settings_.midiOutputDevice);
    midiOut_->SetVolume(settings_.midiVolume);
    services_->SetWaveVolume(settings_.waveVolume);
    sequencer.SeqSetSyncDelay(static_cast<std::uint16_t>(std::clamp(settings_.syncDelay, 0, 600)));
    sequencer.SeqSetMetronomeSound(settings_.metronomeClick, settings_.firstBeatClick);
}

sound::BuiltinSynth* MainSound::synth() {
    return soundSystem_ != nullptr ? soundSystem_->Synth() : nullptr;
}

bool MainSound::SynthReady() const {
    return settled_;
}

void MainSound::WhenSynthReady(std::function<void()> ready) {
    if (settled_) {
        ready();
    } else {
        whenReady_.push_back(std::move(ready));
    }
}

void MainSound::StartSynth() {
    if (soundSystem_ != nullptr) soundSystem_->ReleaseSynth();
}

void MainSound::SynthSettled() {
    sound::BuiltinSynth* synth = soundSystem_->Synth();
    settled_ = true;
    if (auto* port = midiOut_ ? dynamic_cast<sound::DeferredBuiltinPort*>(midiOut_->Port()) : nullptr) {
        if (synth != nullptr) {
            port->Bind(*synth);
        } else {
            // Reported as the output failing to open, as it would have been without the wait.
            midiOut_->Close();
            messageBox()(sound::OpenErrorMessage(
                language_.text(sound::kTextMidiOutOpenError, sound::kMidiOutOpenErrorEnglish),
                sound::kBuiltinSynthName, {1, "The synthesizer could not be set up."}));
        }
    }
    services_->SynthReady(synth);
    std::vector<std::function<void()>> ready;
    ready.swap(whenReady_);
    for (const auto& f : ready) f();
}

sound::MicSession& MainSound::mic() {
    MakeMicrophone();
    return *micSession_;
}

sound::Microphone& MainSound::micDevice() {
    MakeMicrophone();
    return *microphone_;
}

void MainSound::MicEnd() {
    if (micSession_) micSession_->MicEnd([] { QCoreApplication::processEvents(); });
}

bool MainSound::MicReady(const settings::Settings& settings) {
    MakeMicrophone();
    if (!microphone_->Open() && microphone_->MicOpen() <= 0) return false;
    micSession_->MicSetup(settings);
    return true;
}

bool MainSound::MicStart(const settings::Settings& settings, int exercise,
                         std::optional<pitch::SungRange> range) {
    if (!MicReady(settings)) return false;
    if (range) {
        microphone_->SetPitchRange(range->low, range->high);
    } else {
        microphone_->SetPitchRange(1, 0);
    }
    micSession_->MicBegin(static_cast<std::uint8_t>(exercise));
    return true;
}

sound::MicComponent& MainSound::microphone() {
    return micDevice();
}

bool MainSound::MicCurrent(std::uint64_t generation) const {
    return microphone_ && microphone_->IsCurrent(generation);
}

std::uint64_t MainSound::MicGeneration() const {
    return microphone_ ? microphone_->Generation() : 0;
}

void MainSound::SetMicPitchRange(int low, int high) {
    micDevice().SetPitchRange(low, high);
}

sound::MicReading MainSound::MicLevel() const {
    return microphone_ ? microphone_->Reading() : sound::MicReading{};
}

}  // namespace kalvintor::ui
