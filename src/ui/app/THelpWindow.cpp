// The help window.
#include "THelpWindow.h"

#include "Program.h"
#include "Style.h"
#include "Texts.h"
#include "files/Files.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kalvintor::ui {
namespace {
constexpr int kTextHelp = 80;
constexpr int kTextContents = 83;
constexpr int kTextClose = 95;
}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    resize(640, 560);
    browser_->setObjectName(QStringLiteral("HelpText"));
    browser_->setOpenLinks(false);
    browser_->setFont(style::uiFont(10));
    browser_->document()->setDefaultStyleSheet(
        QStringLiteral("h1 { color: #1F3A5F; font-size: 16pt; } h2 { color: #1F3A5F; font-size: 12pt; }"
                       "a { color: #3B628F; } li { margin-bottom: 4px; }"));
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("topic")) showTopic(url.path().toInt());
    });

    auto* buttons = new QDialogButtonBox(this);
    auto* contents = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
    auto* close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    contents->setObjectName(QStringLiteral("ContentsButton"));
    close->setObjectName(QStringLiteral("CloseButton"));
    bindCaption(contents, kTextContents);
    bindCaption(close, kTextClose);
    contents->setText(text(kTextContents, "Contents"));
    close->setText(text(kTextClose, "Close"));
    connect(contents, &QPushButton::clicked, this, &THelpWindow::showContents);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin, style::kMargin, style::kMargin, style::kMargin);
    layout->setSpacing(style::kGap);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    bindWindowTitle(this, kTextHelp);
    setWindowTitle(text(kTextHelp, "Help").remove('&'));
}

void THelpWindow::loadHelpFile() {
    if (loadedFile_ == program().helpFile && !help_.empty()) return;
    loadedFile_ = program().helpFile;
    const auto bytes = loadedFile_.isEmpty() ? std::nullopt : files::readFile(toPath(loadedFile_));
    help_ = bytes ? language::parseHelpFile(*bytes) : language::HelpFile{};
}

void THelpWindow::showTopic(int number) {
    loadHelpFile();
    auto it = help_.find(number);
    if (it == help_.end()) it = help_.find(language::kHelpContentsTopic);
    QString html;
    if (it == help_.end()) {
        currentTopic_ = 0;
        html = QStringLiteral("<p>%1</p><p>%2</p>")
                   .arg(text(language::kTextFileDoesNotExist, "File does not exist:").toHtmlEscaped(),
                        (loadedFile_.isEmpty() ? toQString(program().paths.languageDir / "English.HLP")
                                               : loadedFile_)
                            .toHtmlEscaped());
    } else {
        currentTopic_ = it->first;
        html = QString::fromStdString(it->second.body);
        if (currentTopic_ == language::kHelpContentsTopic)
            html +=
                QString::fromStdString(language::helpContents(help_, text(kTextContents, "Contents")
                                                                         .remove('&')
                                                                         .remove(QRegularExpression("\\.+$"))
                                                                         .toStdString()));
        setWindowTitle(QString::fromStdString(it->second.title));
    }
    browser_->setHtml(html);
    // Asked from a modal dialog (a dialog's Help button), the help must not be blocked by it: it
    // comes up modal itself, over the dialog, until it is closed. Otherwise it stays beside the
    // main window without blocking anything.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality modality = modal && modal != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modality) {
        hide();
        setWindowModality(modality);
    }
    show();
    raise();
    activateWindow();
}

}  // namespace kalvintor::ui
