// The help window: the pages of the chosen help file by topic number, and the contents.
#pragma once

#include "language/HelpFile.h"

#include <QDialog>

class QTextBrowser;

namespace kalvintor::ui {

class THelpWindow final : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows topic `number` of the program's help file; the contents when the file has no such
    // topic. Re-reads the file when another language chose another help file.
    void showTopic(int number);
    void showContents() { showTopic(language::kHelpContentsTopic); }

    int currentTopic() const { return currentTopic_; }
    QTextBrowser* browser() const { return browser_; }

private:
    void loadHelpFile();

    QTextBrowser* browser_;
    QString loadedFile_;
    language::HelpFile help_;
    int currentTopic_ = 0;
};

}  // namespace kalvintor::ui
