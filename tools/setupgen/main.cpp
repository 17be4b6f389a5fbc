// Writes the shipped exercise setups into the program directory given on the command line.
#include "GeneratedFiles.h"
#include "Levels.h"

int main(int argc, char** argv) {
    using namespace kalvintor;
    std::vector<generated::GeneratedFile> files;
    for (const auto& shipped : setupgen::ShippedSetups())
        files.push_back({shipped.fileName, {shipped.record.bytes.begin(), shipped.record.bytes.end()}});
    return generated::WriteGeneratedFiles(argc, argv, "kalvintor_setupgen PROGRAM_DIRECTORY", files);
}
