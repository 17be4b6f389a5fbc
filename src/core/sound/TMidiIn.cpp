// The MIDI input object.
#include "sound/TMidiIn.h"

#include <exception>

namespace kalvintor::sound {

TMidiIn::TMidiIn(MidiSystem& system, MidiInputSink& callback, const language::Language& language,
                 ShowMessage showMessage)
    : system_(system), callback_(callback), language_(language), showMessage_(std::move(showMessage)) {
    try {
        ListDevices();
    } catch (const std::exception&) {
        showMessage_(kListInError);
        Close();
    }
}

TMidiIn::~TMidiIn() {
    Close();
}

void TMidiIn::ListDevices() {
    devices_.clear();
    if (auto name = system_.DefaultInputName()) devices_.push_back({kDefaultInputId, *name, false});
    const std::vector<std::string> names = system_.InputNames();
    for (std::size_t id = 0; id < names.size() && devices_.size() < kMaxInputListed; ++id) {
        devices_.push_back({static_cast<std::int32_t>(id), names[id], false});
    }
}

void TMidiIn::AddNoneEntry() {
    devices_.push_back({0, "(" + language_.text(kTextNoDevice, kNoDeviceEnglish) + ")", true});
}

void TMidiIn::Close() {
    if (port_ != nullptr) port_->Reset();
    port_.reset();
    openedId_ = 0;
    started_ = false;
}

bool TMidiIn::SelectDevice(std::uint16_t index) {
    Close();
    if (index < 1 || index > devices_.size()) return false;
    const DeviceEntry& entry = devices_[index - 1];
    if (entry.placeholder) return true;
    try {
        port_ = OpenDeviceEntry<MidiInPort>(
            entry, [this](std::int32_t id) { return system_.OpenInput(id, callback_); },
            language_.text(kTextMidiInOpenError, kMidiInOpenErrorEnglish), showMessage_);
        if (port_ == nullptr) return false;
        openedId_ = entry.id;
    } catch (const std::exception&) {
        showMessage_(kChangeInException);
        Close();
    }
    return Opened();
}

bool TMidiIn::SelectDeviceByName(std::string& name) {
    return SelectEntryByName(devices_, name, [this](std::uint16_t index) { return SelectDevice(index); });
}

bool TMidiIn::Start() {
    if (port_ == nullptr) return false;
    started_ = port_->Start();
    return started_;
}

}  // namespace kalvintor::sound
