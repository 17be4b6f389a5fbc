// Listing setup files for the chooser and naming saved setups.
#include "setup/SetupList.h"

#include "files/Files.h"

#include <algorithm>
#include <system_error>

namespace kalvintor::setup {
namespace {

// Two directory names that reach the same directory (links, "..", a trailing separator).
bool sameDirectory(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error) && !error) return true;
    return a.lexically_normal() / "" == b.lexically_normal() / "";
}

void addSetups(SetupList& list, const std::filesystem::path& dir, bool personal) {
    std::error_code error;
    std::filesystem::directory_iterator it(dir, error);
    if (error) return;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) return;
        const auto& entry = *it;
        const std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (!isSetupFileName(name) || !entry.is_regular_file(typeError) || typeError) continue;
        std::string label = setupLabel(name);
        if (personal) label.insert(label.begin(), kPersonalMark);
        list.entries.push_back({std::move(label), entry.path(), personal});
        list.hasPersonal = list.hasPersonal || personal;
    }
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The order of a sorted list box: letters without regard to case, then the exact text.
bool labelBefore(const SetupListEntry& a, const SetupListEntry& b) {
    const auto& x = a.label;
    const auto& y = b.label;
    const bool before = std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                                     [](char p, char q) { return upper(p) < upper(q); });
    if (before || !files::equalsIgnoringCase(x, y)) return before;
    return x != y ? x < y : a.file < b.file;
}

}  // namespace

bool isSetupFileName(std::string_view fileName) {
    return fileName.size() > kSetupExtension.size() &&
           files::equalsIgnoringCase(fileName.substr(fileName.size() - kSetupExtension.size()),
                                     kSetupExtension);
}

std::string setupLabel(std::string_view fileName) {
    const auto dot = fileName.find('.');
    if (dot != 0) return std::string(fileName.substr(0, dot));
    const auto stem =
        fileName.substr(0, fileName.size() - (isSetupFileName(fileName) ? kSetupExtension.size() : 0));
    return std::string(stem);
}

SetupList listSetupFiles(const std::filesystem::path& programDir, const std::filesystem::path& setupDir) {
    SetupList list;
    addSetups(list, programDir, false);
    if (!setupDir.empty() && !sameDirectory(programDir, setupDir)) addSetups(list, setupDir, true);
    std::sort(list.entries.begin(), list.entries.end(), labelBefore);
    return list;
}

std::filesystem::path setupFileToSave(const std::filesystem::path& chosen) {
    if (chosen.empty() || isSetupFileName(chosen.filename().string())) return chosen;
    auto file = chosen;
    file += std::string(kSetupExtension);
    return file;
}

}  // namespace kalvintor::setup
