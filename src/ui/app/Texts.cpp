// Qt side of the language texts.
#include "Texts.h"

#include "Program.h"
#include "files/Files.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QObject>
#include <QWidget>

namespace kalvintor::ui {

QString text(int id, const char* designTime) {
    return QString::fromStdString(program().language.text(id, designTime));
}

void bindText(QObject* owner, int id, std::function<void(const QString&)> setter,
              language::Decoration decoration, language::TextGroup group) {
    auto& lang = program().language;
    const auto binding = lang.bind(id, group, decoration, [setter = std::move(setter)](const std::string& t) {
        setter(QString::fromStdString(t));
    });
    QObject::connect(owner, &QObject::destroyed, [binding] { program().language.unbind(binding); });
}

void observeLanguage(QObject* owner, std::function<void()> before, std::function<void()> after) {
    auto& lang = program().language;
    std::vector<language::Language::ObserverId> ids;
    if (before) ids.push_back(lang.addBeforeFullLoad(std::move(before)));
    if (after) ids.push_back(lang.addAfterLoad(std::move(after)));
    QObject::connect(owner, &QObject::destroyed, [ids] {
        for (auto id : ids) program().language.removeObserver(id);
    });
}

void bindWindowTitle(QWidget* window, int id, language::TextGroup group) {
    bindText(window, id, [window](const QString& t) { window->setWindowTitle(t); },
             language::Decoration::None, group);
}

void bindToolTip(QWidget* widget, int id, language::TextGroup group) {
    bindText(widget, id, [widget](const QString& t) { widget->setToolTip(t); }, language::Decoration::None,
             group);
}

QString languageFileName(const QString& language) {
    const auto dir = program().paths.languageDir;
    const std::string name = language.toStdString() + ".LAN";
    if (auto found = files::findCaseInsensitive(dir, name)) return toQString(*found);
    return toQString(dir / name);
}

bool LoadLanguage(const QString& fileName, unsigned mode, QWidget* parent) {
    auto& lang = program().language;
    const auto file = toPath(fileName);
    if (!lang.loadFile(file, mode)) {
        QMessageBox::critical(parent, text(language::kTextErrorCaption, "Error"),
                              QString::fromStdString(lang.missingFileMessage(file)));
        return false;
    }
    const auto name = file.stem().string();
    const auto help = language::chooseHelpFile(program().paths.languageDir, name);
    program().helpFile = help ? toQString(*help) : QString();
    return true;
}

}  // namespace kalvintor::ui
