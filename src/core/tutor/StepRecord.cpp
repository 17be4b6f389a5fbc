// Reading and writing step records, and splitting hints.
#include "tutor/StepRecord.h"

#include "records/Cp1252.h"

#include <algorithm>

namespace kalvintor::tutor {

namespace r = records;
using namespace step_offsets;

std::optional<StepRecord> decodeStepRecord(r::Bytes b) {
    if (b.size() < kStepRecordSize) return std::nullopt;
    StepRecord s;
    s.stepName = r::getShortString(b, kStepName, kStepNameRoom);
    s.hint = r::getShortString(b, kHint, kHintRoom);
    s.upgradePercent = r::getU8(b, kUpgradePercent);
    s.downgradePercent = r::getU8(b, kDowngradePercent);
    s.stepQuestions = r::getI16(b, kStepQuestions);
    std::copy_n(b.begin() + kUnused312, s.unused312.size(), s.unused312.begin());
    std::copy_n(b.begin() + kStepSetup, s.stepSetup.size(), s.stepSetup.begin());
    std::copy_n(b.begin() + kUnused416, s.unused416.size(), s.unused416.begin());
    s.hintRestLength = r::getU16(b, kHintRestLength);
    return s;
}

StepBytes encodeStepRecord(const StepRecord& s) {
    StepBytes bytes{};
    r::MutableBytes b(bytes);
    r::putShortString(b, kStepName, kStepNameRoom, s.stepName);
    r::putShortString(b, kHint, kHintRoom, s.hint);
    r::putU8(b, kUpgradePercent, s.upgradePercent);
    r::putU8(b, kDowngradePercent, s.downgradePercent);
    r::putI16(b, kStepQuestions, s.stepQuestions);
    std::ranges::copy(s.unused312, bytes.begin() + kUnused312);
    std::ranges::copy(s.stepSetup, bytes.begin() + kStepSetup);
    std::ranges::copy(s.unused416, bytes.begin() + kUnused416);
    r::putU16(b, kHintRestLength, s.hintRestLength);
    return bytes;
}

void TTutorObject::setHint(const std::string& utf8) {
    const std::string text = r::utf8ToCp1252(utf8);
    const std::size_t head = std::min(text.size(), kHintRoom);
    record.hint = r::cp1252ToUtf8(text.substr(0, head));
    // Loading keeps no more than this of a remainder; saving more would not survive a round trip.
    const std::string rest = text.substr(head, kMaxHintRest);
    hintRest = r::cp1252ToUtf8(rest);
    record.hintRestLength = static_cast<std::uint16_t>(rest.size());
}

std::string TTutorObject::hintRestBytes() const {
    return r::utf8ToCp1252(hintRest);
}

}  // namespace kalvintor::tutor
