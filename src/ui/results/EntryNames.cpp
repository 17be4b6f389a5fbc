// Entry names by exercise.
#include "EntryNames.h"

#include "app/ExerciseNames.h"
#include "app/Texts.h"
#include "data/UserRecord.h"
#include "theory/ChordCatalogue.h"
#include "theory/Naming.h"

namespace kalvintor::ui {

QString userName(const std::string& fullName) {
    return QString::fromStdString(data::DisplayName(fullName));
}

QString ExerciseCaption(int exercise) {
    return text(app::ExerciseNameText(exercise), std::string(app::ExerciseEnglishName(exercise)).c_str());
}

QString EntryName(const theory::ChordCatalogue& catalogue, int exercise, int entry) {
    using theory::TableKind;
    if (entry < 1 || entry > theory::kCatalogueEntries) return {};
    TableKind kind = TableKind::ChordTypes;
    switch (exercise) {
        case 2:
        case 3:
            kind = TableKind::Intervals;
            break;
        case 7:
            kind = TableKind::ChordInversions;
            break;
        case 8:
            kind = TableKind::Scales;
            break;
        case 10:
            return QString::fromStdString(theory::ProgressionName(catalogue.progressions().entry(entry)));
        default:
            break;
    }
    const QString name = QString::fromStdString(catalogue.table(kind).entry(entry).name);
    return name.isEmpty() ? QString::number(entry) : name;
}

}  // namespace kalvintor::ui
