// The course rules of a running tutor.
#include "tutor/Course.h"

#include "files/Files.h"
#include "language/Language.h"

#include <algorithm>
#include <vector>

namespace kalvintor::tutor {

namespace fs = std::filesystem;

namespace {

constexpr int kPassingForNext = 50;  // below the upgrade mark, "Next step" needs more than this
constexpr int kFinishedScore = 200;

constexpr int kTextFinished = 4312;
constexpr int kTextGoNext = 4314;
constexpr int kTextGoBack = 4316;
constexpr int kTextStay = 4318;
constexpr int kTextPerfect = 4320;
constexpr int kTextTutorDone = 4322;
constexpr int kTextStepDone = 4324;

std::string textOf(const language::Language* language, int id, std::string_view english) {
    return language ? language->text(id, english) : std::string(english);
}

// Fills the two placeholders of an end-of-step format: the score with "%", then the step.
std::string formatMessage(std::string pattern, const std::string& score, const std::string& step) {
    std::size_t from = 0;
    for (const std::string* value : {&score, &step}) {
        const auto at = pattern.find('%', from);
        if (at == std::string::npos || at + 1 >= pattern.size()) break;
        pattern.replace(at, 2, *value);
        from = at + value->size();
    }
    return pattern;
}

// The tutor files of a directory in name order.
std::vector<fs::path> tutorsIn(const fs::path& dir) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && files::equalsIgnoringCase(name.substr(name.size() - 4), ".tut") &&
            entry.is_regular_file(ec))
            found.push_back(entry.path());
    }
    std::ranges::sort(found);
    return found;
}

std::optional<fs::path> firstTutorIn(const fs::path& dir) {
    const auto found = tutorsIn(dir);
    if (found.empty()) return std::nullopt;
    return found.front();
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A tutor of the language directory, copied into the common directory when it is not there yet.
std::string copiedIntoCommon(const fs::path& source, const fs::path& commonDirectory) {
    std::error_code ec;
    const fs::path target = commonDirectory / source.filename();
    if (!commonDirectory.empty() && fs::is_directory(commonDirectory, ec) && !fs::exists(target, ec)) {
        const auto bytes = files::readFile(source);
        if (bytes && files::writeFileAtomically(target, *bytes) == files::WriteError::None)
            return target.string();
    }
    return source.string();
}

}  // namespace

bool OpenUserTutor(TutorModel& model, const std::string& tutorFile, const fs::path& commonDirectory,
                   const TutorSteps& steps) {
    std::error_code ec;
    if (!fs::is_regular_file(ResolveTutorPath(tutorFile, commonDirectory), ec)) return false;
    if (!model.LoadTutor(tutorFile, commonDirectory)) return false;
    for (int e = 1; e <= kExerciseCount; ++e)
        if (steps[static_cast<std::size_t>(e - 1)] <= 0 && model.StepCount(e) > 0) return false;
    return true;
}

void ApplyTutorSteps(const TutorModel& model, const TutorSteps& steps, int exercise,
                     setup::SetupRecord& record) {
    for (int e = 1; e <= kExerciseCount; ++e) {
        if (exercise != 0 && e != exercise) continue;
        const TTutorObject* step = model.StepOf(e, steps[static_cast<std::size_t>(e - 1)]);
        if (!step) continue;
        auto block = record.block(e);
        std::copy_n(step->record.stepSetup.begin(), block.size(), block.begin());
    }
}

StepJudgement JudgeStep(int score, int step, int stepCount, int upgrade, int downgrade,
                        const language::Language* language) {
    StepJudgement j;
    const bool last = step >= stepCount;
    const bool first = step < 2;
    j.nextEnabled = !(last || (score < upgrade && score <= kPassingForNext));
    j.previousEnabled = !first;
    j.scoreShown = score;
    if (score < upgrade && (score > downgrade || first)) {
        j.recommended = Recommendation::Stay;
        j.recommendation =
            textOf(language, kTextStay, "You should stay on this step and practise it once more.");
    } else if (score < upgrade) {
        j.recommended = Recommendation::Previous;
        j.recommendation = textOf(language, kTextGoBack, "You should go back to the previous step.");
    } else if (last) {
        j.recommended = Recommendation::None;
        j.recommendation = textOf(language, kTextFinished, "You have passed the last step of this tutor.");
        j.scoreShown = kFinishedScore;
    } else {
        j.recommended = Recommendation::Next;
        j.recommendation = textOf(language, kTextGoNext, "You are ready for the next step.");
    }
    const std::string shown = std::to_string(j.scoreShown) + "%";
    if (j.scoreShown == 100) {
        j.message = formatMessage(textOf(language, kTextPerfect, "Perfect! You scored %s in step %d."), shown,
                                  std::to_string(step));
    } else if (j.scoreShown == kFinishedScore) {
        j.message = formatMessage(textOf(language, kTextTutorDone, "Tutor finished: %s (step %d)."), shown,
                                  std::to_string(step));
    } else {
        j.message = formatMessage(textOf(language, kTextStepDone, "You scored %s in step %d."), shown,
                                  std::to_string(step));
    }
    return j;
}

std::int32_t stepAfter(int result, std::int32_t step) {
    if (result == kPreviousStep || result == kStay || result == kNextStep) return step + (result - kStay);
    return step;
}

int StepScore(int exercise, std::int64_t correct, std::int64_t questions) {
    if (questions <= 0) return 0;
    if (exercise >= 4 && exercise <= 6) return static_cast<int>(correct / questions);
    return static_cast<int>((correct * 200 + questions) / (2 * questions));
}

int StepQuestions(const TutorModel& model, const TutorSteps& steps, int exercise) {
    if (exercise < 1 || exercise > kExerciseCount) return kQuestionsWithoutStep;
    const TTutorObject* step = model.StepOf(exercise, steps[static_cast<std::size_t>(exercise - 1)]);
    return step ? step->record.stepQuestions : kQuestionsWithoutStep;
}

std::vector<ChooserRow> TutorChooserRows(const TutorHeader& header) {
    std::vector<ChooserRow> rows;
    for (int exercise : {3, 2, 1, 7, 10, 8, 5, 4, 6, 9})
        if (const int steps = header.stepsOf(exercise); steps > 0) rows.push_back({exercise, steps});
    return rows;
}

std::vector<TAddInf> ListTutors(const fs::path& directory, const fs::path& commonDirectory) {
    const bool common = !commonDirectory.empty() &&
                        files::equalsIgnoringCase((directory / "").string(), (commonDirectory / "").string());
    std::vector<TAddInf> list;
    for (const auto& file : tutorsIn(directory)) {
        auto header = ReadTutorHeader(file);
        if (!header) continue;
        TAddInf entry{*header, trimmed(header->tutorName), common ? file.filename().string() : file.string()};
        if (entry.title.empty()) entry.title = file.filename().string();
        list.push_back(std::move(entry));
    }
    return list;
}

std::optional<std::string> ChooseDefaultTutor(const fs::path& commonDirectory,
                                              const fs::path& languageDirectory,
                                              const std::string& languageName) {
    const auto firstCommon = commonDirectory.empty() ? std::nullopt : firstTutorIn(commonDirectory);
    const auto firstLanguage = firstTutorIn(languageDirectory);
    if (!firstCommon && !firstLanguage) return std::nullopt;
    const std::string own = languageName + ".tut";
    if (!commonDirectory.empty())
        if (const auto found = files::findCaseInsensitive(commonDirectory, own))
            return found->filename().string();
    if (const auto found = files::findCaseInsensitive(languageDirectory, own))
        return copiedIntoCommon(*found, commonDirectory);
    if (firstCommon) return firstCommon->filename().string();
    if (const auto found = files::findCaseInsensitive(languageDirectory, "English.tut"))
        return copiedIntoCommon(*found, commonDirectory);
    return copiedIntoCommon(*firstLanguage, commonDirectory);
}

}  // namespace kalvintor::tutor
