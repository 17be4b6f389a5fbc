// The machine-wide values: two keys with five values, and the rules the program start applies.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::app {

inline constexpr std::string_view kProgramKey = "4.0";   // "Firsttime", "Datapath"
inline constexpr std::string_view kMidiKey = "MIDI";     // "InputDevice", "OutputDevice", "Syncrodelay"
inline constexpr std::string_view kFirstTimeValue = "Firsttime";
inline constexpr std::string_view kDataPathValue = "Datapath";
inline constexpr std::string_view kInputDeviceValue = "InputDevice";
inline constexpr std::string_view kOutputDeviceValue = "OutputDevice";
inline constexpr std::string_view kSyncDelayValue = "Syncrodelay";
// The addresses of the Help menu's mail and web items, as the installation gives them.
inline constexpr std::string_view kHelpKey = "Help";
inline constexpr std::string_view kSupportMailValue = "SupportMail";
inline constexpr std::string_view kWebPageValue = "WebPage";

// Keys are opened, never created: a value is written only into a key that exists.
class MachineRegistry {
public:
    virtual ~MachineRegistry() = default;
    virtual bool keyExists(std::string_view key) const = 0;
    virtual std::optional<std::string> readValue(std::string_view key, std::string_view value) const = 0;
    // False when the key does not exist or the value cannot be written.
    virtual bool writeValue(std::string_view key, std::string_view value, std::string_view text) = 0;
};

struct StartupValues {
    bool firstRun = true;
    std::filesystem::path dataPath;
};

// Step 6 of the main window's creation: "Firsttime" decides FirstRun (and is set to "FALSE" when
// it was a first run and the key exists); "Datapath" replaces the default data directory when it
// is not empty, differs from the default and names an existing directory. The data path always
// ends with a separator.
StartupValues readStartupValues(MachineRegistry& registry, const std::filesystem::path& defaultDataPath,
                                const std::function<bool(const std::filesystem::path&)>& directoryExists);

// The MIDI values as they override the settings: only non-empty texts count.
struct MidiValues {
    std::optional<std::string> inputDevice;
    std::optional<std::string> outputDevice;
    std::optional<int> syncDelay;
};
MidiValues readMidiValues(const MachineRegistry& registry);
// Stores the three values when the MIDI key exists.
void writeMidiValues(MachineRegistry& registry, std::string_view inputDevice, std::string_view outputDevice,
                     int syncDelay);

// A decimal integer with optional blanks and sign; anything else gives 0.
int parseSyncDelay(std::string_view text);

// A directory path with a trailing separator.
std::filesystem::path withTrailingSeparator(const std::filesystem::path& dir);

}  // namespace kalvintor::app
