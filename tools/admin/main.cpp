// kalvintor-admin: the command-line companion for the staff who look after the data directory.
#include "admin/Admin.h"
#include "admin/MachineIni.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    // The program directory is the tool's own, as the program takes its own; the override is
    // the one the program honours.
    const char* overridden = std::getenv("KALVINTOR_PROGRAM_DIR");
    std::error_code ec;
    fs::path programDir = overridden && *overridden ? fs::path(overridden)
                                                    : fs::read_symlink("/proc/self/exe", ec).parent_path();
    if (programDir.empty()) programDir = fs::absolute(fs::path(argv[0]), ec).parent_path();

    kalvintor::admin::Context context{{}, programDir, std::cout, std::cerr, {}, {}};
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = kalvintor::admin::run(
        args, context,
        kalvintor::admin::machineSettingsFile(programDir, std::getenv("KALVINTOR_MACHINE_SETTINGS")));
    std::cout.flush();
    return std::cout.good() ? code : kalvintor::admin::kExitFailed;
}
