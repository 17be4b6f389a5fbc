// The main window's sound side.
#include "MainSound.h"

#include "sound/Microphone.h"
#include "sound/SoundSystem.h"

#include <QMessageBox>

namespace kalvintor::ui {

namespace {

sound::ShowMessage messageBox() {
    return [](const std::string& text) {
        QMessageBox::warning(nullptr, QStringLiteral("Kalvintor"), QString::fromStdString(text));
    };
}

}  // namespace

MainSound::MainSound(QObject* receiver, settings::Settings& settings, const language::Language& language,
                     const std::filesystem::path& mediaDir, std::unique_ptr<sound::MidiSystem> system)
    : settings_(settings), system_(std::move(system)), notifications_(receiver), midiInput_(receiver) {
    if (!system_) {
        auto own = std::make_unique<sound::SoundSystem>(sound::SoundSystemOptions{});
        soundSystem_ = own.get();
        system_ = std::move(own);
    }
    sequencer.SetNotificationSink(&notifications_);
    midiIn_ = std::make_unique<sound::TMidiIn>(*system_, midiInput_, language, messageBox());
    midiIn_->AddNoneEntry();
    midiOut_ = std::make_unique<sound::TMidiOut>(*system_, sequencer, settings_, language, messageBox());
    router_ = std::make_unique<sound::MidiInputRouter>(*midiIn_, settings_);
    services_ =
        std::make_unique<sound::SoundServices>(soundSystem_ ? soundSystem_->Synth() : nullptr, mediaDir);
    microphone_ = std::make_unique<sound::Microphone>(sound::PostMicEvents(receiver));
    micSession_ = std::make_unique<sound::MicSession>(*microphone_);
}

MainSound::~MainSound() {
    // The microphone first (its thread posts to the window), then the devices, whose ports refer
    // to the synthesizer and the sequencer.
    micSession_.reset();
    microphone_->MicClose();
    microphone_.reset();
    services_.reset();
    router_.reset();
    midiOut_.reset();
    midiIn_.reset();
    sequencer.SetNotificationSink(nullptr);
}

void MainSound::ApplySettings() {
    midiOut_->SelectDeviceByName(settings_.midiOutputDevice);
    midiOut_->SetVolume(settings_.midiVolume);
    services_->SetWaveVolume(settings_.waveVolume);
    sequencer.SeqSetSyncDelay(static_cast<std::uint16_t>(std::clamp(settings_.syncDelay, 0, 600)));
    sequencer.SeqSetMetronomeSound(settings_.metronomeClick, settings_.firstBeatClick);
}

sound::BuiltinSynth* MainSound::synth() {
    return soundSystem_ != nullptr ? soundSystem_->Synth() : nullptr;
}

bool MainSound::MicReady(const settings::Settings& settings) {
    if (!microphone_->Open() && microphone_->MicOpen() <= 0) return false;
    micSession_->MicSetup(settings);
    return true;
}

sound::MicComponent& MainSound::microphone() {
    return *microphone_;
}

bool MainSound::MicCurrent(std::uint64_t generation) const {
    return microphone_->IsCurrent(generation);
}

std::uint64_t MainSound::MicGeneration() const {
    return microphone_->Generation();
}

}  // namespace kalvintor::ui
