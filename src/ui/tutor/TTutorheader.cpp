// The tutor properties dialog.
#include "TTutorheader.h"

#include "app/Program.h"
#include "app/THelpWindow.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

TTutorheader::TTutorheader(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tutorheader"));
    setWindowTitle(text(8170, "Tutor properties"));
    const auto edit = [this](const char* name, int length) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(length);
        e->setMinimumWidth(360);
        return e;
    };
    Edit1 = edit("Edit1", 50);
    Edit2 = edit("Edit2", 255);
    Edit3 = edit("Edit3", 39);
    auto* form = new QFormLayout;
    const std::pair<QLineEdit*, QString> rows[] = {{Edit1, text(8171, "Tutorname:")},
                                                   {Edit2, text(8103, "Description:")},
                                                   {Edit3, text(8104, "Author:")}};
    for (const auto& [field, caption] : rows) {
        field->setAccessibleName(QString(caption).remove(':'));
        form->addRow(caption, field);
    }
    BitBtn1 = new QPushButton(text(90, "OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(text(93, "Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn3 = new QPushButton(text(80, "Help"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, [] {
        if (TKalvintorMain* main = program().mainWindow) main->helpWindow()->showTopic(230);
    });
}

}  // namespace kalvintor::ui
