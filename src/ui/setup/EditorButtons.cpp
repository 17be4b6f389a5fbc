// The editors' button row.
#include "EditorButtons.h"

#include "app/Texts.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

namespace kalvintor::ui {

EditorButtons addEditorButtons(QDialog* dialog, QBoxLayout* layout) {
    EditorButtons b;
    b.play = new QPushButton(text(137, "Play"), dialog);
    b.play->setObjectName(QStringLiteral("SpeedButton1"));
    b.ok = new QPushButton(text(90, "OK"), dialog);
    b.ok->setObjectName(QStringLiteral("OkButton"));
    b.ok->setDefault(true);
    b.cancel = new QPushButton(text(93, "Cancel"), dialog);
    b.cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(b.play);
    row->addStretch(1);
    row->addWidget(b.ok);
    row->addWidget(b.cancel);
    layout->addLayout(row);
    return b;
}

}  // namespace kalvintor::ui
