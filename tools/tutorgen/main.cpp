// Writes the shipped tutor courses into the language folder of the program directory given on the
// command line, where a user without a tutor is given the one of his language.
#include "Courses.h"

#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    using namespace kalvintor;
    if (argc != 2) {
        std::cerr << "usage: kalvintor_tutorgen PROGRAM_DIRECTORY\n";
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "Language";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    for (const auto& course : tutorgen::ShippedCourses()) {
        theory::ChordCatalogue working = theory::BuiltInCatalogue();
        tutor::CatalogueBackup backup;
        tutor::TutorModel model(working, backup);
        model.header = course.header;
        for (const auto& [exercise, step] : course.steps) model.addStep(exercise, step);
        if (!model.SaveTutorFile(folder / course.fileName)) {
            std::cerr << "kalvintor_tutorgen: cannot write " << (folder / course.fileName).string() << '\n';
            return 1;
        }
    }
    return 0;
}
