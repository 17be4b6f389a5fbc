// One running program per user: a second start asks the first to come to the front and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace kalvintor::ui {

// The server name: derived from the main window's class name "TKalvintorMain" and the user.
QString singleInstanceName();

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = singleInstanceName(), QObject* parent = nullptr);

    // True when another instance answered and was asked to come to the front: this one must end.
    // Otherwise this instance starts listening and becomes the one others find.
    bool activateRunningInstance();

signals:
    // Another start asked this instance to come to the front.
    void activationRequested();

private:
    QString name_;
    QLocalServer server_;
};

}  // namespace kalvintor::ui
