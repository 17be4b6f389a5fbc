// Checking an answer against the question in the three identification modes, and judging it.
#include "exercises/pitch/Answer.h"

#include "language/Language.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <limits>

namespace kalvintor::pitch {

using theory::floorMod;

namespace {

void countUp(std::uint16_t& counter) {
    if (counter < std::numeric_limits<std::uint16_t>::max()) ++counter;
}

// The note that names the answer: the root of a chord or scale, the chord root of an inversion.
const QuestionNote* rootNote(const PitchExerciseState& state, const AnswerRow& row,
                             const std::vector<QuestionNote>& notes) {
    if (notes.empty()) return nullptr;
    if (state.mode == ExerciseMode::Inversion && row.count > 1 && row.extra[0] != 255) {
        const auto index = static_cast<std::size_t>(floorMod(row.count - row.extra[1], row.count));
        return index < notes.size() ? &notes[index] : nullptr;
    }
    return state.reversed ? &notes.back() : &notes.front();
}

std::string answerText(const PitchExerciseState& state, int entry, const std::vector<QuestionNote>& notes) {
    if (entry < 1 || entry > theory::kCatalogueEntries) return "?";
    const auto& row = state.row(entry);
    const auto mode = state.mode;
    if (mode == ExerciseMode::Chord || mode == ExerciseMode::Scale || mode == ExerciseMode::Inversion) {
        if (const auto* root = rootNote(state, row, notes))
            return theory::NoteName(root->pitch, root->spellOffset) + " " + row.name;
    }
    return row.name;
}

std::vector<QuestionNote> displayOf(std::vector<QuestionNote> answer,
                                    const std::vector<QuestionNote>& question) {
    if (!answer.empty()) answer.back().endMark = kEndOfQuestion;
    const auto from = answer.size();
    answer.insert(answer.end(), question.begin(), question.end());
    if (answer.size() > from) answer.back().endMark = kEndOfQuestion;
    return answer;
}

}  // namespace

std::optional<Judgement> CheckAnswer(PitchExerciseState& state, const JudgeContext& context,
                                     const language::Language& language) {
    if (state.answered) return std::nullopt;
    if (state.mode == ExerciseMode::Progression) {
        int matched = 0;
        const auto& answer = state.answer.chords;
        for (std::size_t k = 0; k < std::min(answer.size(), state.chords.size()); ++k) {
            if (answer[k].pitch != 0 && floorMod(answer[k].pitch - state.chords[k].pitch, 12) == 0 &&
                answer[k].extra == state.chords[k].extra)
                ++matched;
        }
        const bool all = matched == static_cast<int>(state.chords.size());
        return JudgeAnswer(state, all ? state.entry : 0, matched, context, language);
    }
    const auto& answer = state.answer.notes;
    const auto& question = state.notes;
    auto mode = context.identification;
    if (question.size() == 1) mode = IdentificationMode::ExactOctave;
    const std::size_t n = std::min(answer.size(), question.size());
    std::vector<bool> match(n, false);
    for (std::size_t k = 0; k < n; ++k) {
        switch (mode) {
            case IdentificationMode::ExactOctave:
                match[k] = answer[k].pitch == question[k].pitch;
                break;
            case IdentificationMode::AnyOctave:
                match[k] = floorMod(answer[k].pitch - question[k].pitch, 12) == 0;
                break;
            case IdentificationMode::Relative:
                match[k] =
                    k >= 1 && answer[k].pitch - answer[0].pitch == question[k].pitch - question[0].pitch;
                break;
        }
    }
    if (mode == IdentificationMode::Relative && n > 0 &&
        std::find(match.begin(), match.end(), true) != match.end())
        match[0] = true;
    const bool rhythm = state.mode == ExerciseMode::Melody && state.options.rhythm;
    int matched = 0;
    for (std::size_t k = 0; k < n; ++k)
        if (match[k] && (!rhythm || answer[k].noteValue == question[k].noteValue)) ++matched;
    const bool all = answer.size() == question.size() && matched == static_cast<int>(question.size());
    if (all || state.mode == ExerciseMode::Melody)
        return JudgeAnswer(state, state.entry, matched, context, language);
    return JudgeAnswer(state, FindFormedEntry(state), matched, context, language);
}

std::optional<Judgement> JudgeAnswer(PitchExerciseState& state, int entry, int matched,
                                     const JudgeContext& context, const language::Language& language) {
    if (state.answered) return std::nullopt;
    state.answered = true;
    Judgement j;
    const std::string correct = language.text(judge_texts::kCorrect, "Correct");

    if (state.mode == ExerciseMode::Melody) {
        const int shown = state.firstTonePitch != 0 ? 1 : 0;
        const int notes = state.noteCount - shown;
        const int right = std::max(0, matched - shown);
        state.questionCount += notes;
        state.correctCount += right;
        j.right = matched >= state.noteCount;
        j.tick = j.right;
        j.label = j.right ? correct
                          : FormatNumbers(language.text(judge_texts::kMelodyScore, "%d of %d notes right"),
                                          {right, notes});
        j.display = displayOf(state.answer.notes, state.notes);
        return j;
    }

    ++state.questionCount;
    const bool valid = state.entry >= 1 && state.entry <= theory::kCatalogueEntries;
    if (valid) countUp(state.row(state.entry).asked);
    j.right = (matched == -1 && entry == state.entry) || matched == state.noteCount;
    j.greenEntry = state.entry;
    if (j.right) {
        if (valid) countUp(state.row(state.entry).right);
        ++state.correctCount;
        j.tick = true;
        j.label = correct + ": " + answerText(state, state.entry, state.notes);
        const bool spellingCounts = context.notesheetShown && state.mode != ExerciseMode::Progression &&
                                    context.identification != IdentificationMode::Relative;
        if (spellingCounts) {
            const auto& answer = state.answer.notes;
            bool spelled = true;
            for (std::size_t k = 0; k < std::min(answer.size(), state.notes.size()); ++k)
                spelled = spelled && answer[k].spellOffset == state.notes[k].spellOffset;
            if (!spelled) j.label += " (" + language.text(judge_texts::kSpelling, "mind the spelling") + ")";
        }
    } else if (entry == state.entry || entry == 0) {
        j.label = language.text(judge_texts::kWrong, "Wrong");
    } else {
        j.label = language.text(judge_texts::kWrongNamed, "Wrong, you answered") + " " +
                  answerText(state, entry, state.answer.notes);
        j.redEntry = entry;
    }
    j.display = state.mode == ExerciseMode::Progression ? displayOf(state.answer.voiced, state.voiced)
                                                        : displayOf(state.answer.notes, state.notes);
    return j;
}

}  // namespace kalvintor::pitch
