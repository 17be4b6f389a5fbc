// Formatting of the device messages.
#include "sound/DeviceTexts.h"

namespace kalvintor::sound {

std::string FormatTwo(const std::string& format, const std::string& first, const std::string& second) {
    std::string out;
    int used = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (used < 2 && format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            out += used == 0 ? first : second;
            ++used;
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string OpenErrorMessage(const std::string& format, const std::string& deviceName,
                             const DeviceError& error) {
    return FormatTwo(format, "\"" + deviceName + "\".\r\n", "\r\r\n" + error.text);
}

std::string CutDeviceName(const std::string& name) {
    if (name.size() <= kMaxDeviceNameLength) return name;
    std::size_t end = kMaxDeviceNameLength;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

}  // namespace kalvintor::sound
