// The records a test workstation writes: every field derived from two numbers, so that a record
// mixing two writes of different values is recognised.
#pragma once

#include "data/ResultRecord.h"
#include "data/UserRecord.h"

#include <string>

namespace kalvintor::data::workstation {

inline ResultRecord resultOf(int tag, int index, std::int16_t userId) {
    ResultRecord r;
    r.userId = userId;
    r.exercise = static_cast<std::uint16_t>(1 + index % 10);
    r.sessionStart = 40000.0 + tag * 1000 + index;
    r.setupName = "W" + std::to_string(tag) + "-" + std::to_string(index);
    r.tutorStep = static_cast<std::uint16_t>(index);
    r.correct = static_cast<std::uint16_t>(tag);
    r.questions = static_cast<std::uint16_t>(index);
    for (auto& item : r.itemStats)
        item = {static_cast<std::uint16_t>(index), static_cast<std::uint16_t>(tag)};
    return r;
}

inline bool isWhole(const ResultRecord& r) {
    const int tag = r.correct;
    const int index = r.tutorStep;
    ResultRecord expected = resultOf(tag, index, r.userId);
    return r == expected;
}

inline void stamp(UserRecord& u, int value) {
    u.fullName = joinFullName("Round", std::to_string(value));
    u.tutorStep.fill(value);
    u.classId = static_cast<std::int16_t>(value);
    u.setupFile = std::string(100, static_cast<char>('a' + value % 26));
}

inline bool isWhole(const UserRecord& u) {
    UserRecord expected = u;
    stamp(expected, u.classId);
    return u == expected;
}

}  // namespace kalvintor::data::workstation
