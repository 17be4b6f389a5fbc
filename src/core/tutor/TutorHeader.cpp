// Reading and writing the tutor header, and resolving stored tutor names.
#include "tutor/TutorHeader.h"

#include <algorithm>
#include <fstream>

namespace kalvintor::tutor {

namespace r = records;
using namespace header_offsets;

int TutorHeader::stepsOf(int exercise) const {
    if (exercise < 1 || exercise >= kStepStartCount) return 0;
    return stepStart[static_cast<std::size_t>(exercise)] - stepStart[static_cast<std::size_t>(exercise - 1)];
}

std::optional<TutorHeader> decodeTutorHeader(r::Bytes b) {
    if (b.size() < kTutorHeaderSize) return std::nullopt;
    TutorHeader h;
    h.tutorName = r::getShortString(b, kTutorName, kTutorNameRoom);
    h.description = r::getShortString(b, kDescription, kDescriptionRoom);
    h.author = r::getShortString(b, kAuthor, kAuthorRoom);
    for (std::size_t i = 0; i < h.stepStart.size(); ++i) h.stepStart[i] = r::getI16(b, kStepStart + 2 * i);
    h.tutorVersion = r::getU16(b, kVersion);
    std::copy_n(b.begin() + kUnused, kUnusedSize, h.unused.begin());
    return h;
}

TutorHeaderBytes encodeTutorHeader(const TutorHeader& h) {
    TutorHeaderBytes bytes{};
    r::MutableBytes b(bytes);
    r::putShortString(b, kTutorName, kTutorNameRoom, h.tutorName);
    r::putShortString(b, kDescription, kDescriptionRoom, h.description);
    r::putShortString(b, kAuthor, kAuthorRoom, h.author);
    for (std::size_t i = 0; i < h.stepStart.size(); ++i) r::putI16(b, kStepStart + 2 * i, h.stepStart[i]);
    r::putU16(b, kVersion, h.tutorVersion);
    std::copy(h.unused.begin(), h.unused.end(), bytes.begin() + kUnused);
    return bytes;
}

std::optional<TutorHeader> ReadTutorHeader(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    TutorHeaderBytes bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
    return decodeTutorHeader(bytes);
}

bool isNoTutor(std::string_view name) {
    return name.empty() || name == "\\";
}

std::filesystem::path ResolveTutorPath(std::string_view name, const std::filesystem::path& commonDirectory) {
    if (name.find_first_of("/\\") != std::string_view::npos) return std::filesystem::path(std::string(name));
    return commonDirectory / std::string(name);
}

std::string storedFileName(std::string_view name) {
    const auto at = name.find_last_of("/\\");
    return std::string(at == std::string_view::npos ? name : name.substr(at + 1));
}

}  // namespace kalvintor::tutor
