// kalvintor-admin: the command-line companion for the staff who look after the data directory.
#include "admin/Admin.h"
#include "app/InfoOptions.h"
#include "app/Installation.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    // The program directory and the machine settings are the program's: beside the tool, or in
    // the installation's folders, with the overrides the program honours.
    const kalvintor::app::Installation installation = kalvintor::app::locateInstallation(
        kalvintor::app::executableDirectory(argv[0]), std::getenv("KALVINTOR_PROGRAM_DIR"),
        std::getenv("KALVINTOR_MACHINE_SETTINGS"));

    kalvintor::admin::Context context{{}, installation.programDir, std::cout, std::cerr, {}, {}};
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args.front() == "--version") {
        std::cout << kalvintor::app::versionLine("kalvintor-admin") << '\n';
        return 0;
    }
    const int code = kalvintor::admin::run(args, context, installation.machineSettings);
    std::cout.flush();
    return std::cout.good() ? code : kalvintor::admin::kExitFailed;
}
