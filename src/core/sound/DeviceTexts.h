// The texts the MIDI device objects show, with their design-time English.
#pragma once

#include "language/Language.h"
#include "sound/MidiDevice.h"

#include <functional>
#include <string>

namespace kalvintor::sound {

inline constexpr int kTextNoDevice = 102;
inline constexpr int kTextMidiInOpenError = 5020;
inline constexpr int kTextMidiOutOpenError = 5021;

inline constexpr int kTextSoundFontMissing = 5180;
inline constexpr int kTextSoundFontBroken = 5181;
inline constexpr int kTextNoAudioOutput = 5182;

inline constexpr const char* kNoDeviceEnglish = "(none)";
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

}  // namespace kalvintor::sound
