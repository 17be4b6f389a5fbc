// The MIDI input object: its device table, opening a keyboard and starting input.
#pragma once

#include "language/Language.h"
#include "sound/DeviceTexts.h"
#include "sound/MidiDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kalvintor::sound {

class TMidiIn {
public:
    // Received messages go to the callback (the main window's MIDI data handler).
    TMidiIn(MidiSystem& system, MidiInputSink& callback, const language::Language& language,
            ShowMessage showMessage);
    ~TMidiIn();
    TMidiIn(const TMidiIn&) = delete;
    TMidiIn& operator=(const TMidiIn&) = delete;

    void ListDevices();
    // Appends the bracketed "none" entry (once, at start-up), so the table always offers it.
    void AddNoneEntry();
    const std::vector<DeviceEntry>& Devices() const { return devices_; }
    // Choosing the "none" entry closes input and succeeds.
    bool SelectDevice(std::uint16_t index);
    bool SelectDeviceByName(std::string& name);
    bool Start();
    void Close();

    bool Opened() const { return port_ != nullptr; }
    bool Started() const { return started_; }
    std::int32_t OpenedId() const { return openedId_; }

private:
    MidiSystem& system_;
    MidiInputSink& callback_;
    const language::Language& language_;
    ShowMessage showMessage_;
    std::vector<DeviceEntry> devices_;
    std::unique_ptr<MidiInPort> port_;
    std::int32_t openedId_ = 0;
    bool started_ = false;
};

}  // namespace kalvintor::sound
