// Moving a user's record, results, tutor and setup between home and school through a folder.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kalvintor::data {
class DataStore;
}

namespace kalvintor::ui {

class TKalvintorMain;

class TExportImport final : public QDialog {
    Q_OBJECT
public:
    TExportImport(TKalvintorMain& main, data::DataStore& store, QWidget* parent = nullptr);

    // The Export and Import buttons; true when the transfer was done.
    bool Export();
    bool Import();

    QTabWidget* PageControl1;
    QComboBox* ComboBox1;  // the user
    QLineEdit* Edit1;      // the folder
    QPushButton* BrowseButton;
    QPushButton* ImportButton;
    QPushButton* ExportButton;
    QPushButton* CloseButton;
    QLabel* ImportingLabel;
    QLabel* ExportingLabel;

protected:
    void reject() override;

private:
    void PrepareTransfer();
    void setBusy(bool busy);

    TKalvintorMain& main_;
    data::DataStore& store_;
    bool busy_ = false;
};

}  // namespace kalvintor::ui
