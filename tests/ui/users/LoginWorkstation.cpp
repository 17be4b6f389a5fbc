// One workstation of a school, as a process of its own: logs a user in and saves sessions through
// the data store calls the main window makes. Arguments: data directory, login, password, count.
#include "app/ExerciseClocks.h"
#include "data/DataStore.h"
#include "data/SessionResult.h"
#include "records/DateTime.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    using namespace kalvintor;
    if (argc != 5) return 2;
    data::DataStore store{std::filesystem::path(argv[1])};
    store.LoadCommon();
    store.LoadClasses();
    store.LoadUsers();
    if (!store.CheckLogin(argv[2], argv[3])) return 3;
    const int count = std::stoi(argv[4]);
    for (int i = 0; i < count; ++i) {
        app::ExerciseClocks clocks;
        clocks.SessionStart = records::nowLocal();
        clocks.QuestionCount = 5 + i % 3;
        clocks.CorrectCount = i % 5;
        data::SessionSource source;
        source.userId = store.CurrentUser()->record.userId;
        source.exercise = 3;
        source.clocks = &clocks;
        source.setupName = "Workstation";
        if (!store.AppendResult(data::MakeSessionResult(source))) return 4;
    }
    return 0;
}
