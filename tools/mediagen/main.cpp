// Writes the answer sounds and the start-menu tune into the directory given on the command line.
#include "GeneratedFiles.h"
#include "IntroTune.h"
#include "Tones.h"

int main(int argc, char** argv) {
    using namespace kalvintor;
    std::vector<generated::GeneratedFile> files;
    for (const auto& sound : mediagen::AnswerSounds())
        files.push_back({sound.name + ".wav", mediagen::WaveFile(sound.samples)});
    files.push_back({"intro.mid", mediagen::IntroTune()});
    return generated::WriteGeneratedFiles(argc, argv, "kalvintor_mediagen MEDIA_DIRECTORY", files);
}
