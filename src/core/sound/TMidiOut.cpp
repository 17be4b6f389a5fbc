// The MIDI output object.
#include "sound/TMidiOut.h"

#include "sound/MidiMessage.h"
#include "sound/Ticks.h"

#include <algorithm>
#include <exception>

namespace kalvintor::sound {

namespace {

constexpr std::uint32_t kVolumeLevelMask = 0xFF;

std::uint8_t ClampData(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, kMaxDataValue));
}

}  // namespace

TMidiOut::TMidiOut(MidiSystem& system, TSequencer& sequencer, const settings::Settings& settings,
                   const language::Language& language, ShowMessage showMessage)
    : system_(system),
      sequencer_(sequencer),
      settings_(settings),
      language_(language),
      showMessage_(std::move(showMessage)) {
    try {
        ListDevices();
    } catch (const std::exception&) {
        showMessage_(kListOutError);
    }
}

TMidiOut::~TMidiOut() {
    Close();
}

void TMidiOut::ListDevices() {
    devices_.clear();
    if (auto mapper = system_.MapperName()) devices_.push_back({kMapperId, *mapper, false});
    const std::vector<std::string> names = system_.OutputNames();
    for (std::size_t id = 0; id < names.size() && devices_.size() < kMaxDeviceEntries; ++id) {
        devices_.push_back({static_cast<std::int32_t>(id), names[id], false});
    }
    if (devices_.empty()) devices_.push_back({0, language_.text(kTextNoDevice, kNoDeviceEnglish), true});
}

void TMidiOut::Close() {
    if (port_ == nullptr) return;
    sequencer_.SeqSetOutput(nullptr);
    port_.reset();
    openedId_ = 0;
}

bool TMidiOut::SelectDevice(std::uint16_t index) {
    Close();
    if (index < 1 || index > devices_.size()) return false;
    const DeviceEntry& entry = devices_[index - 1];
    if (entry.placeholder) return true;
    try {
        port_ = OpenDeviceEntry<MidiOutPort>(
            entry, [this](std::int32_t id) { return system_.OpenOutput(id); },
            language_.text(kTextMidiOutOpenError, kMidiOutOpenErrorEnglish), showMessage_);
        if (port_ == nullptr) return false;
        openedId_ = entry.id;
        sequencer_.SeqSetOutput(port_.get());
    } catch (const std::exception&) {
        showMessage_(kChangeOutException);
        Close();
    }
    return Opened();
}

bool TMidiOut::SelectDeviceByName(std::string& name) {
    return SelectEntryByName(devices_, name, [this](std::uint16_t index) { return SelectDevice(index); });
}

void TMidiOut::SetVolume(std::uint8_t level) {
    if (port_ == nullptr) return;
    port_->SetVolume(std::uint32_t{level} << 8 | std::uint32_t{level} << 24);
}

bool TMidiOut::GetVolume(std::uint8_t& level) const {
    if (port_ == nullptr) return false;
    const std::optional<std::uint32_t> word = port_->Volume();
    if (!word) return false;
    level = static_cast<std::uint8_t>((*word >> 8) & kVolumeLevelMask);
    return true;
}

void TMidiOut::Delay(std::int32_t ticks) {
    sequencer_.SeqAddEvent(kQuestionTrack, ticks, SeqEventKind::Delay);
}

void TMidiOut::Message(std::uint8_t track, std::uint32_t message) {
    sequencer_.SeqAddEvent(track, static_cast<std::int32_t>(message), SeqEventKind::Message);
}

void TMidiOut::QueueNotes(std::span<const QueuedNote> notes, std::uint8_t count, NoteMode mode,
                          bool guitarVoice) {
    if (port_ == nullptr) return;
    const settings::TSoundRec& voice = guitarVoice ? settings_.guitarVoice : settings_.pianoVoice;
    const int transposition = guitarVoice && !settings_.lightGuitar ? kGuitarTransposition : 0;
    const int base = std::clamp<int>(voice.velocity, kMinQueuedVelocity, kMaxDataValue);
    const auto channel = static_cast<std::uint8_t>(voice.channel);
    const std::size_t n = std::min<std::size_t>(count, notes.size());

    // A key that transposition pushes out of the MIDI range is left out rather than wrapped
    // round to some other pitch.
    auto key = [&](std::size_t i) { return notes[i].note + transposition; };
    auto playable = [&](std::size_t i) { return key(i) >= 0 && key(i) <= kMaxDataValue; };
    auto on = [&](std::size_t i) {
        if (!playable(i)) return;
        const int accent = std::min<int>(notes[i].accent, 2);
        Message(kQuestionTrack, NoteOnMessage(channel, static_cast<std::uint8_t>(key(i)),
                                              ClampData(base - kAccentVelocityStep * (2 - accent))));
    };
    auto off = [&](std::size_t i) {
        if (playable(i)) Message(kQuestionTrack, NoteOffMessage(channel, static_cast<std::uint8_t>(key(i))));
    };
    auto allOff = [&] {
        for (std::size_t i = 0; i < n; ++i) off(i);
    };

    switch (mode) {
        case NoteMode::Together:
            for (std::size_t i = 0; i < n; ++i) on(i);
            Delay(kChordTicks);
            allOff();
            break;
        case NoteMode::Upward:
        case NoteMode::Downward:
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t i = mode == NoteMode::Upward ? k : n - 1 - k;
                on(i);
                Delay(kStepTicks);
                off(i);
                Delay(kGapTicks);
            }
            break;
        case NoteMode::Melody:
            for (std::size_t i = 0; i < n; ++i) {
                // An index outside the table (a damaged setup) plays as a quarter note.
                const std::uint8_t d = notes[i].duration;
                const std::int32_t ticks = d >= 1 && d <= 6 ? NoteDurations[d] : NoteDurations[3];
                on(i);
                Delay(ticks - kGapTicks);
                off(i);
                Delay(kGapTicks);
            }
            break;
        case NoteMode::ArpeggioUpHeld:
        case NoteMode::ArpeggioDownHeld:
            for (std::size_t k = 0; k < n; ++k) {
                on(mode == NoteMode::ArpeggioUpHeld ? k : n - 1 - k);
                Delay(kStepTicks);
            }
            Delay(kStepTicks);
            allOff();
            break;
        case NoteMode::Silent:
            break;
    }
}

void TMidiOut::QueueSound(std::uint16_t duration, std::uint8_t velocityStep, std::uint16_t preCode,
                          std::uint16_t postCode, const settings::TSoundRec& sound, bool silent) {
    if (port_ == nullptr) return;
    if (preCode > 0) QueueNotify(static_cast<std::uint16_t>(preCode + kMainWindowCodeOffset));
    if (silent) {
        sequencer_.SeqAddEvent(kClickTrack, duration, SeqEventKind::Delay);
    } else {
        const auto channel = static_cast<std::uint8_t>(sound.channel);
        const auto key = ClampData(sound.key);
        Message(kClickTrack,
                NoteOnMessage(channel, key, ClampData(sound.velocity - kSoundVelocityStep * velocityStep)));
        sequencer_.SeqAddEvent(kClickTrack, duration, SeqEventKind::Delay);
        Message(kClickTrack, NoteOffMessage(channel, key));
    }
    QueueNotify(postCode);
}

void TMidiOut::QueueNotify(std::uint16_t code) {
    if (port_ == nullptr || code == 0) return;
    if (auto route = RouteNotification(code, notifyContext_)) {
        sequencer_.SeqAddEvent(route->track, NotifyValue(route->code, route->window), SeqEventKind::Notify);
    }
}

void TMidiOut::QueueProgramChange(std::uint8_t program, std::uint8_t channel) {
    if (port_ == nullptr) return;
    Message(kQuestionTrack, ProgramChangeMessage(channel, program));
}

void TMidiOut::Play() {
    if (port_ != nullptr) sequencer_.SeqStart();
}

void TMidiOut::Stop() {
    if (port_ == nullptr) return;
    sequencer_.SeqClear();
    AllNotesOff();
}

void TMidiOut::NoteOn(const settings::TSoundRec& sound) {
    if (port_ == nullptr) return;
    lastChannel_ = static_cast<std::uint8_t>(sound.channel & 0x0F);
    port_->Send(NoteOnMessage(lastChannel_, ClampData(sound.key), ClampData(sound.velocity)));
}

void TMidiOut::NoteOff(std::uint8_t key) {
    if (port_ != nullptr) port_->Send(NoteOffMessage(lastChannel_, key));
}

void TMidiOut::AllNotesOff() {
    if (port_ == nullptr) return;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        port_->Send(ControllerMessage(static_cast<std::uint8_t>(channel), kAllNotesOff));
    }
}

void TMidiOut::ResetControllers() {
    if (port_ == nullptr) return;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (!port_->Send(ControllerMessage(static_cast<std::uint8_t>(channel), kResetAllControllers))) {
            showMessage_(port_->LastErrorText());
            return;
        }
    }
}

void TMidiOut::ProgramChange(std::uint8_t program, std::uint8_t channel) {
    if (port_ != nullptr) port_->Send(ProgramChangeMessage(channel, program));
}

}  // namespace kalvintor::sound
