// A data directory with a class of students and their results, for the results tests.
#pragma once

#include "../data/DataFixture.h"
#include "data/DataStore.h"

namespace kalvintor::results::testing_support {

using namespace kalvintor::data;
using namespace kalvintor::data::testing_support;

// Today at 12:00 on the records' clock.
inline constexpr double kToday = 46000.5;

// Class 1 "3b" with students 2 (Ada Lind) and 3 (Bo Strand); user 4 (Cy Teach) is a teacher
// without a class.
inline void MakeSchool(DataStore& store) {
    ClassRecord c;
    c.className = "3b";
    c.classId = 1;
    ASSERT_TRUE(store.SaveClass(c));
    UserRecord ada = user(2, "ada", "Ada", "Lind");
    ada.classId = 1;
    UserRecord bo = user(3, "bo", "Bo", "Strand");
    bo.classId = 1;
    UserRecord cy = user(4, "cy", "Cy", "Teach");
    cy.accessLevel = kTeacher;
    for (const UserRecord& u : {ada, bo, cy}) ASSERT_TRUE(store.SaveUser(u));
    store.LoadClasses();
    store.LoadUsers();
}

// A pitch result whose per-entry counts ask `entry` `asked` times with `correct` right.
inline ResultRecord withEntry(ResultRecord r, int entry, std::uint16_t correct, std::uint16_t asked) {
    r.itemStats[static_cast<std::size_t>(entry - 1)] = {correct, asked};
    return r;
}

}  // namespace kalvintor::results::testing_support
