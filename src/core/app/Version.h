// The version of this build as the welcome window shows it.
#pragma once

#include <string>

namespace kalvintor::app {

struct Version {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;
};

// The version of the running build (from the build system).
Version programVersion();

// "Kalvintor School " + major + "." + minor, followed directly by the release when it is not 0:
// version 4.0 release 1 reads "Kalvintor School 4.01".
std::string versionCaption(const Version& version);
// "(build N)", the welcome window's normally hidden label.
std::string buildLabel(const Version& version);

}  // namespace kalvintor::app
