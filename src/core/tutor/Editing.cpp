// The tutor editor's rules.
#include "tutor/Editing.h"

#include "records/Cp1252.h"

#include <algorithm>
#include <cctype>

namespace kalvintor::tutor {

namespace {

constexpr std::size_t kNameCharacters = 8;
constexpr int kAsterisks = 31;

// Characters (code page 1252) a file name made from a title leaves out.
bool leftOut(unsigned char c) {
    constexpr std::string_view kLeftOut = " \"'*+,-./:;<>?^`|\xB4";
    return c < 32 || kLeftOut.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string upperCase(std::string_view utf8) {
    std::string bytes = records::utf8ToCp1252(utf8);
    for (char& c : bytes) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return records::cp1252ToUtf8(bytes);
}

}  // namespace

std::string DefaultTutorFileName(std::string_view title, std::string_view tutorLabel, int& counter) {
    std::string kept;
    for (const char c : records::utf8ToCp1252(title)) {
        if (kept.size() == kNameCharacters) break;
        if (!leftOut(static_cast<unsigned char>(c))) kept += c;
    }
    std::string name = records::cp1252ToUtf8(kept);
    if (name.empty()) {
        std::string_view label = tutorLabel;
        if (!label.empty()) label.remove_suffix(1);
        name = std::string(label) + "_" + std::to_string(counter++);
    }
    return name + ".tut";
}

std::string TutorLines(const TutorModel& model, const std::array<std::string, kExerciseCount>& captions) {
    const std::string stars(kAsterisks, '*');
    std::string out;
    for (int e = 1; e <= kExerciseCount; ++e) {
        out += stars + "\n" + upperCase(captions[static_cast<std::size_t>(e - 1)]) + "\n" + stars + "\n";
        for (int s = 1; s <= model.StepCount(e); ++s) {
            const TTutorObject& step = *model.StepOf(e, s);
            out += std::to_string(s) + "| " + step.record.stepName + " |\n";
            if (const std::string hint = step.fullHint(); !hint.empty()) out += hint + "\n";
            out += "\n";
        }
    }
    return out;
}

StepLevels PushLevels(StepLevels levels, bool upgradeChanged) {
    levels.upgrade = std::clamp(levels.upgrade, 2, 100);
    levels.downgrade = std::clamp(levels.downgrade, 1, 99);
    if (levels.downgrade < levels.upgrade) return levels;
    if (upgradeChanged)
        levels.downgrade = levels.upgrade - 1;
    else
        levels.upgrade = levels.downgrade + 1;
    return levels;
}

}  // namespace kalvintor::tutor
