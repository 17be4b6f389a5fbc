// A signal handler may only write to a file descriptor: it writes one byte to a socket pair, whose
// other end the event loop watches.
#include "app/QuitSignals.h"

#include "app/TKalvintorMain.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <csignal>

namespace kalvintor::ui {

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
std::array<int, 2> wakeFds{-1, -1};  // [0] written by the handler, [1] read by the event loop

extern "C" void onQuitSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[0], &byte, 1);
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(TKalvintorMain& main) : main_(main) {
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &main_, &TKalvintorMain::CommitSession,
                     Qt::DirectConnection);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds.data()) != 0) {
        wakeFds = {-1, -1};
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakeFds[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::signalArrived);
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) ::sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int s : kSignals) ::sigaction(s, &action, nullptr);
    notifier_.reset();
    for (int& fd : wakeFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void QuitSignals::signalArrived() {
    char bytes[16];
    while (::read(wakeFds[1], bytes, sizeof bytes) > 0) {
    }
    main_.EndUnattended();
}

}  // namespace kalvintor::ui
