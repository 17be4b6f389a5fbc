// The --version and --help answers.
#include "app/InfoOptions.h"

#include "app/Version.h"

#include <string>

namespace kalvintor::app {

std::string programHelp(const std::filesystem::path& programDir,
                        const std::filesystem::path& machineSettings) {
    return "Usage: kalvintor [SETUP.lvs]\n"
           "Kalvintor School: ear training for music schools.\n"
           "\n"
           "  SETUP.lvs    start with this exercise setup (a file ending in .lvs)\n"
           "  --version    print the version and exit\n"
           "  --help       print this help and exit\n"
           "\n"
           "Program files:    " +
           programDir.string() +
           "\n"
           "Machine settings: " +
           machineSettings.string() +
           " (the data directory and MIDI devices;\n"
           "                  KALVINTOR_MACHINE_SETTINGS names another file)\n";
}

std::string versionLine(std::string_view program) {
    const Version v = programVersion();
    return std::string(program) + " " + std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.release) + " " + buildLabel(v);
}

std::optional<int> answerInfoOption(const std::vector<std::string_view>& args, std::string_view program,
                                    std::string_view help, std::ostream& out) {
    if (args.empty()) return std::nullopt;
    if (args.front() == "--version") {
        out << versionLine(program) << '\n';
        return 0;
    }
    if (args.front() == "--help") {
        out << help;
        return 0;
    }
    return std::nullopt;
}

}  // namespace kalvintor::app
