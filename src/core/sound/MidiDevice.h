// The device interface behind TMidiOut and TMidiIn: what a MIDI system lists and opens.
#pragma once

#include "sound/PlaybackBackend.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvintor::sound {

// An opened output: immediate messages, its volume, and the playback of queued sound.
class MidiOutPort {
public:
    virtual ~MidiOutPort() = default;
    virtual bool Send(std::uint32_t message) = 0;
    // The system's text for the latest failed Send.
    virtual std::string LastErrorText() const = 0;
    // The volume word: left level in bits 8..15, right level in bits 24..31.
    virtual bool SetVolume(std::uint32_t word) = 0;
    virtual std::optional<std::uint32_t> Volume() const = 0;
    virtual PlaybackBackend& Playback() = 0;
};

// Where an open input delivers each received short message (on any thread).
class MidiInputSink {
public:
    virtual ~MidiInputSink() = default;
    virtual void MidiData(std::uint32_t message) = 0;
};

class MidiInPort {
public:
    virtual ~MidiInPort() = default;
    virtual bool Start() = 0;
    // Stops input and drops what has not been delivered.
    virtual void Reset() = 0;
};

struct DeviceError {
    int code = 0;
    std::string text;  // the system's error text; empty when it has none
};

template <typename Port>
struct OpenResult {
    std::unique_ptr<Port> port;  // null on failure
    DeviceError error;
};

// Device ids of the entries a system may describe before its numbered devices.
inline constexpr std::int32_t kMapperId = -1;
inline constexpr std::int32_t kDefaultInputId = 0xFFFF;

// A MIDI system. Listing and opening may throw; the device objects catch and report it.
class MidiSystem {
public:
    virtual ~MidiSystem() = default;
    // The output that stands in the mapper's place (the built-in synthesizer), if any.
    virtual std::optional<std::string> MapperName() = 0;
    virtual std::vector<std::string> OutputNames() = 0;
    virtual OpenResult<MidiOutPort> OpenOutput(std::int32_t id) = 0;
    virtual std::optional<std::string> DefaultInputName() = 0;
    virtual std::vector<std::string> InputNames() = 0;
    virtual OpenResult<MidiInPort> OpenInput(std::int32_t id, MidiInputSink& sink) = 0;
};

inline constexpr int kMaxDeviceEntries = 20;
inline constexpr int kMaxInputListed = 19;
inline constexpr std::size_t kMaxDeviceNameLength = 47;

struct DeviceEntry {
    std::int32_t id = 0;
    std::string name;
    bool placeholder = false;

    friend bool operator==(const DeviceEntry&, const DeviceEntry&) = default;
};

}  // namespace kalvintor::sound
