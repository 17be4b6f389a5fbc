// Writes the shipped exercise setups into the program directory given on the command line.
#include "Levels.h"

#include "files/Files.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kalvintor_setupgen PROGRAM_DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::cerr << "cannot create " << dir << ": " << ec.message() << '\n';
        return 1;
    }
    bool ok = true;
    for (const auto& shipped : kalvintor::setupgen::ShippedSetups()) {
        if (kalvintor::files::writeFileAtomically(dir / shipped.fileName, shipped.record.bytes) !=
            kalvintor::files::WriteError::None) {
            std::cerr << "cannot write " << (dir / shipped.fileName) << '\n';
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
