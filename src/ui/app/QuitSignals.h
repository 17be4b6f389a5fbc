// The requests to stop that come from outside the windows: SIGTERM, SIGHUP and SIGINT (a system
// shutting down, a terminal closed, Ctrl+C) and the end of the desktop session. Each is handed to
// the main window, which keeps the session before the program ends.
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace kalvintor::ui {

class TKalvintorMain;

class QuitSignals : public QObject {
public:
    // One at a time: the signal handlers are the process's.
    explicit QuitSignals(TKalvintorMain& main);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // False when the handlers could not be installed (the program then ends as it would without).
    bool watching() const { return notifier_ != nullptr; }

private:
    void signalArrived();

    TKalvintorMain& main_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kalvintor::ui
