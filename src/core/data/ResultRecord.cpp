// Reading and writing result records, and their keys.
#include "data/ResultRecord.h"

#include <cmath>

namespace kalvintor::data {

namespace r = records;
using namespace result_offsets;

std::optional<ResultRecord> decodeResultRecord(r::Bytes b) {
    if (b.size() < kResultRecordSize) return std::nullopt;
    ResultRecord x;
    x.userId = r::getI16(b, kUserId);
    x.exercise = r::getU16(b, kExercise);
    x.sessionStart = r::getF64(b, kSessionStart);
    x.duration = r::getF64(b, kDuration);
    x.answerTime = r::getF64(b, kAnswerTime);
    x.tutorName = r::getShortString(b, kTutorName, kResultNameRoom);
    x.setupName = r::getShortString(b, kSetupName, kResultNameRoom);
    x.tutorStep = r::getU16(b, kTutorStep);
    x.correct = r::getU16(b, kCorrect);
    x.questions = r::getU16(b, kQuestions);
    for (std::size_t i = 0; i < kItemCount; ++i) {
        x.itemStats[i].correct = r::getU16(b, kItemStats + 4 * i);
        x.itemStats[i].asked = r::getU16(b, kItemStats + 4 * i + 2);
    }
    return x;
}

ResultBytes encodeResultRecord(const ResultRecord& x) {
    ResultBytes bytes{};
    r::MutableBytes b(bytes);
    r::putI16(b, kUserId, x.userId);
    r::putU16(b, kExercise, x.exercise);
    r::putF64(b, kSessionStart, x.sessionStart);
    r::putF64(b, kDuration, x.duration);
    r::putF64(b, kAnswerTime, x.answerTime);
    r::putShortString(b, kTutorName, kResultNameRoom, x.tutorName);
    r::putShortString(b, kSetupName, kResultNameRoom, x.setupName);
    r::putU16(b, kTutorStep, x.tutorStep);
    r::putU16(b, kCorrect, x.correct);
    r::putU16(b, kQuestions, x.questions);
    for (std::size_t i = 0; i < kItemCount; ++i) {
        r::putU16(b, kItemStats + 4 * i, x.itemStats[i].correct);
        r::putU16(b, kItemStats + 4 * i + 2, x.itemStats[i].asked);
    }
    return bytes;
}

std::string ResultKey(const ResultRecord& record) {
    constexpr double kWrap = 4294967296.0;  // 2^32
    double whole = std::trunc(record.sessionStart * 100000.0);
    // Dates from damaged files may be anything; they still get a key.
    if (!std::isfinite(whole)) whole = 0;
    double reduced = std::fmod(whole, kWrap);
    if (reduced < 0) reduced += kWrap;
    return std::to_string(static_cast<std::uint32_t>(reduced)) + std::to_string(record.exercise);
}

}  // namespace kalvintor::data
