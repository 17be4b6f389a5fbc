// Version texts.
#include "app/Version.h"

namespace kalvintor::app {

Version programVersion() {
    return {KALVINTOR_VERSION_MAJOR, KALVINTOR_VERSION_MINOR, KALVINTOR_VERSION_RELEASE,
            KALVINTOR_VERSION_BUILD};
}

std::string versionCaption(const Version& v) {
    std::string text = "Kalvintor School " + std::to_string(v.major) + "." + std::to_string(v.minor);
    if (v.release != 0) text += std::to_string(v.release);
    return text;
}

std::string buildLabel(const Version& v) { return "(build " + std::to_string(v.build) + ")"; }

}  // namespace kalvintor::app
