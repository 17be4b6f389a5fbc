// Rules of the machine-wide values.
#include "app/MachineSettings.h"

#include "language/LanguageFile.h"

namespace kalvintor::app {

std::filesystem::path withTrailingSeparator(const std::filesystem::path& dir) {
    std::string text = dir.string();
    if (text.empty() || text.back() != std::filesystem::path::preferred_separator)
        text += std::filesystem::path::preferred_separator;
    return text;
}

StartupValues readStartupValues(MachineRegistry& registry, const std::filesystem::path& defaultDataPath,
                                const std::function<bool(const std::filesystem::path&)>& directoryExists) {
    StartupValues values;
    values.dataPath = defaultDataPath;
    if (registry.keyExists(kProgramKey)) {
        if (auto first = registry.readValue(kProgramKey, kFirstTimeValue)) values.firstRun = (*first == "TRUE");
        if (values.firstRun) registry.writeValue(kProgramKey, kFirstTimeValue, "FALSE");
        if (auto dataPath = registry.readValue(kProgramKey, kDataPathValue)) {
            if (!dataPath->empty() && *dataPath != defaultDataPath.string() && directoryExists(*dataPath))
                values.dataPath = *dataPath;
        }
    }
    values.dataPath = withTrailingSeparator(values.dataPath);
    return values;
}

int parseSyncDelay(std::string_view text) {
    int value = 0;
    return language::parseIntegerField(text, value) ? value : 0;
}

MidiValues readMidiValues(const MachineRegistry& registry) {
    MidiValues values;
    if (!registry.keyExists(kMidiKey)) return values;
    auto nonEmpty = [&](std::string_view name) -> std::optional<std::string> {
        auto text = registry.readValue(kMidiKey, name);
        if (text && !text->empty()) return text;
        return std::nullopt;
    };
    values.inputDevice = nonEmpty(kInputDeviceValue);
    values.outputDevice = nonEmpty(kOutputDeviceValue);
    if (auto delay = nonEmpty(kSyncDelayValue)) values.syncDelay = parseSyncDelay(*delay);
    return values;
}

void writeMidiValues(MachineRegistry& registry, std::string_view inputDevice, std::string_view outputDevice,
                     int syncDelay) {
    if (!registry.keyExists(kMidiKey)) return;
    registry.writeValue(kMidiKey, kInputDeviceValue, inputDevice);
    registry.writeValue(kMidiKey, kOutputDeviceValue, outputDevice);
    registry.writeValue(kMidiKey, kSyncDelayValue, std::to_string(syncDelay));
}

}  // namespace kalvintor::app
