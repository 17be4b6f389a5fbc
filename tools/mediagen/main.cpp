// Writes the answer sounds and the start-menu tune into the directory given on the command line.
#include "IntroTune.h"
#include "Tones.h"

#include "files/Files.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kalvintor_mediagen MEDIA_DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::cerr << "cannot create " << dir << ": " << ec.message() << '\n';
        return 1;
    }
    auto write = [&dir](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        if (kalvintor::files::writeFileAtomically(dir / name, bytes) != kalvintor::files::WriteError::None) {
            std::cerr << "cannot write " << (dir / name) << '\n';
            return false;
        }
        return true;
    };
    bool ok = true;
    for (const auto& sound : kalvintor::mediagen::AnswerSounds()) {
        ok = write(sound.name + ".wav", kalvintor::mediagen::WaveFile(sound.samples)) && ok;
    }
    ok = write("intro.mid", kalvintor::mediagen::IntroTune()) && ok;
    return ok ? 0 : 1;
}
