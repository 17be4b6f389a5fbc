// Writing generated files.
#include "GeneratedFiles.h"

#include "files/Files.h"

#include <filesystem>
#include <iostream>

namespace kalvintor::generated {

int WriteGeneratedFiles(int argc, char** argv, const char* usage, const std::vector<GeneratedFile>& files) {
    if (argc != 2) {
        std::cerr << "usage: " << usage << '\n';
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
    for (const GeneratedFile& file : files) {
        if (files::writeFileAtomically(dir / file.name, file.bytes) != files::WriteError::None) {
            std::cerr << "cannot write " << (dir / file.name) << '\n';
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

}  // namespace kalvintor::generated
