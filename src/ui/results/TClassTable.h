// The class table: for one class and exercise, each catalogue entry's share of right answers over
// a period, weakest first — which chords or intervals the class confuses.
#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;
class QTableWidget;

namespace kalvintor::data {
class DataStore;
}
namespace kalvintor::theory {
struct ChordCatalogue;
}

namespace kalvintor::ui {

class TClassTable final : public QDialog {
    Q_OBJECT
public:
    TClassTable(data::DataStore& store, const theory::ChordCatalogue& catalogue, int exercise,
                QWidget* parent = nullptr);

    void Refresh();

    QComboBox* ClassBox;
    QComboBox* ExerciseBox;
    QSpinBox* DaysBox;
    QTableWidget* Table;

private:
    data::DataStore& store_;
    const theory::ChordCatalogue& catalogue_;
};

}  // namespace kalvintor::ui
