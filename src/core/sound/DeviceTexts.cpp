// Formatting of the device messages.
#include "sound/DeviceTexts.h"

#include "language/Format.h"

namespace kalvintor::sound {

std::string OpenErrorMessage(const std::string& format, const std::string& deviceName,
                             const DeviceError& error) {
    return language::FormatText(format, {"\"" + deviceName + "\".\r\n", "\r\r\n" + error.text});
}

std::string CutDeviceName(const std::string& name) {
    if (name.size() <= kMaxDeviceNameLength) return name;
    std::size_t end = kMaxDeviceNameLength;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

}  // namespace kalvintor::sound
