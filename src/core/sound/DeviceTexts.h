// The texts the MIDI device objects show, with their design-time English.
#pragma once

#include "language/Language.h"
#include "sound/MidiDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvintor::sound {

inline constexpr int kTextNoDevice = 102;
inline constexpr int kTextMidiInOpenError = 5020;
inline constexpr int kTextMidiOutOpenError = 5021;

inline constexpr int kTextSoundFontMissing = 5180;
inline constexpr int kTextSoundFontBroken = 5181;
inline constexpr int kTextNoAudioOutput = 5182;

inline constexpr const char* kNoDeviceEnglish = "none";
inline constexpr const char* kMidiInOpenErrorEnglish = "Could not open the MIDI input device %s%s";
inline constexpr const char* kMidiOutOpenErrorEnglish = "Could not open the MIDI output device %s%s";
inline constexpr const char* kSoundFontMissingEnglish =
    "The SoundFont %s does not exist. The built-in synthesizer keeps the sounds it has.";
inline constexpr const char* kSoundFontBrokenEnglish =
    "The file %s is not a SoundFont the built-in synthesizer can use. It keeps the sounds it has.";
inline constexpr const char* kNoAudioOutputEnglish =
    "No audio output was found: the built-in synthesizer plays silently.";

inline constexpr const char* kChangeOutException = "ChangeDevice exception: Error opening MIDI out";
inline constexpr const char* kChangeInException = "ChangeDevice exception: Error opening MIDI in";
inline constexpr const char* kListOutError = "Error listing MIDI-out devices";
inline constexpr const char* kListInError = "Error listing MIDI-in devices";

// Shows a message to the user (a message box in the program).
using ShowMessage = std::function<void(const std::string&)>;

// The message after a failed open: the format names the device in quotes and the system's text.
std::string OpenErrorMessage(const std::string& format, const std::string& deviceName,
                             const DeviceError& error);

// Cuts a device name to the 47 characters a stored name holds, never inside a UTF-8 character.
std::string CutDeviceName(const std::string& name);

// SelectDeviceByName of both device objects: `select` (a 1-based table position) opens the entry
// of that name; an empty name opens the first entry and takes its (cut) name.
template <class Select>
bool SelectEntryByName(const std::vector<DeviceEntry>& devices, std::string& name, Select select) {
    if (name.empty()) {
        const bool ok = select(std::uint16_t{1});
        if (ok && !devices.empty()) name = CutDeviceName(devices.front().name);
        return ok;
    }
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (devices[i].name == name) return select(static_cast<std::uint16_t>(i + 1));
    return false;
}

// Opens the port of a table entry through `open`; a refusal is shown with the message of
// `errorFormat` unless the system gave no reason. Null when the port did not open.
template <class Port, class Open>
std::unique_ptr<Port> OpenDeviceEntry(const DeviceEntry& entry, Open open, const std::string& errorFormat,
                                      const ShowMessage& showMessage) {
    OpenResult<Port> opened = open(entry.id);
    if (opened.port == nullptr && !opened.error.text.empty())
        showMessage(OpenErrorMessage(errorFormat, entry.name, opened.error));
    return std::move(opened.port);
}

}  // namespace kalvintor::sound
