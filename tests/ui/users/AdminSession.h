// An administrator's session for the tests of the user windows: ADA (administrator), SAM
// (student) and a teacher TOM, with Ada logged in, and reading the user overview's grid.
#pragma once

#include "StartupFixture.h"
#include "data/DataStore.h"
#include "records/DateTime.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QTableWidget>

#include <memory>
#include <string>

namespace kalvintor::ui::testing {

struct AdminSession {
    School school;
    std::unique_ptr<Workstation> ws;
    ModalScript script;

    AdminSession() {
        school.establish();
        data::DataStore store(toPath(school.data + "/"));
        store.LoadCommon();
        School::add(store, "TOM", "t", data::kTeacher);
        ws = std::make_unique<Workstation>();
        script.then(logIn("ADA", "a")).then(rejectIt());
        ws->main->show();
    }
    data::DataStore& store() { return *ws->main->Store; }
    data::TUserInfo* user(const std::string& login) {
        for (const auto& u : store().UserList())
            if (u->record.loginName == login) return u.get();
        return nullptr;
    }
    void result(std::int16_t userId, records::DateTime start, int correct, int questions) {
        data::DataStore writer(toPath(school.data + "/"));
        data::ResultRecord r;
        r.userId = userId;
        r.exercise = 3;
        r.sessionStart = start;
        r.duration = 0.01;
        r.answerTime = 0.001;
        r.setupName = "Intervals";
        r.correct = static_cast<std::uint16_t>(correct);
        r.questions = static_cast<std::uint16_t>(questions);
        ASSERT_TRUE(writer.AppendResult(r));
    }
};

inline QString cell(QTableWidget* grid, int row, const QString& title) {
    for (int c = 0; c < grid->columnCount(); ++c)
        if (grid->horizontalHeaderItem(c)->text() == title) return grid->item(row, c)->text();
    return QStringLiteral("<no column %1>").arg(title);
}

inline int rowOf(QTableWidget* grid, const QString& name) {
    for (int r = 0; r < grid->rowCount(); ++r)
        if (cell(grid, r, "Name").startsWith(name)) return r;
    return -1;
}

}  // namespace kalvintor::ui::testing
