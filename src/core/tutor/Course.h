// Running a tutor: opening the user's tutor, applying his steps to the setup, judging the end of
// a step, and the tutor a user without one is given.
#pragma once

#include "setup/SetupRecord.h"
#include "tutor/TutorModel.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::tutor {

// A user's place in his tutor: TutorStep per exercise (index 0 = exercise 1).
using TutorSteps = std::array<std::int32_t, kExerciseCount>;

// Loads the user's tutor; true only when it loaded and every exercise with steps has a step
// number above 0 for the user.
bool OpenUserTutor(TutorModel& model, const std::string& tutorFile,
                   const std::filesystem::path& commonDirectory, const TutorSteps& steps);

// Copies the user's current step setup of one exercise (0 = all) into the setup record.
void ApplyTutorSteps(const TutorModel& model, const TutorSteps& steps, int exercise,
                     setup::SetupRecord& setup);

// The results of the end-of-step dialog.
enum StepResult : int { kEndTutor = 2, kPreviousStep = 9, kStay = 10, kNextStep = 11 };

enum class Recommendation { None, Next, Stay, Previous };

struct StepJudgement {
    bool nextEnabled = false;
    bool stayEnabled = true;
    bool previousEnabled = false;
    Recommendation recommended = Recommendation::None;
    int scoreShown = 0;  // 200 when the last step is passed: the tutor is finished
    std::string recommendation;
    std::string message;
};

// How the step just finished went: `score` 0..100 on step `step` of `stepCount`, against the
// step's upgrade and downgrade percentages.
StepJudgement JudgeStep(int score, int step, int stepCount, int upgradePercent, int downgradePercent,
                        const language::Language* language = nullptr);

// The step after the dialog's result: one up, the same or one down; unchanged for any other result.
std::int32_t stepAfter(int result, std::int32_t step);

// The score a finished step is judged by: the share of right answers in percent (halves up) for
// the pitch exercises and interval comparison; for the rhythm exercises (4, 5, 6), whose correct
// count adds up each answer's score, the average score. 0 without questions.
int StepScore(int exercise, std::int64_t correct, std::int64_t questions);

// The questions of the user's current step of an exercise; 25 when the step cannot be found.
inline constexpr int kQuestionsWithoutStep = 25;
int StepQuestions(const TutorModel& model, const TutorSteps& steps, int exercise);

// One row of the tutor chooser: an exercise that has steps, and how many.
struct ChooserRow {
    int exercise;
    int steps;
};
// The chooser's rows from top to bottom (exercises 3, 2, 1, 7, 10, 8, 5, 4, 6, 9), without the
// exercises that have no steps.
std::vector<ChooserRow> TutorChooserRows(const TutorHeader& header);

// One entry of the tutor list: the file's header, the title shown and the name to store.
struct TAddInf {
    TutorHeader header;
    std::string title;       // the trimmed tutor name, or the file name when it has none
    std::string storedName;  // the bare name in the common directory, else the full path
};
// Every tutor file of `directory` whose header can be read, in file-name order.
std::vector<TAddInf> ListTutors(const std::filesystem::path& directory,
                                const std::filesystem::path& commonDirectory);

// The tutor given to a user without one: the stored name (bare for the common directory, a full
// path otherwise), or nothing when neither directory holds a tutor. Tutors found only in the
// language directory are copied into the common directory (never over an existing file).
std::optional<std::string> ChooseDefaultTutor(const std::filesystem::path& commonDirectory,
                                              const std::filesystem::path& languageDirectory,
                                              const std::string& languageName);

}  // namespace kalvintor::tutor
