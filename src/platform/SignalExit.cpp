#include "SignalExit.h"

#include <QPointer>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr std::array<int, 3> stopSignals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler can reach nothing but globals: the write end of the pipe
// of the one live SignalExit, or -1.
volatile sig_atomic_t signalPipe = -1;

extern "C" void exitAtOnce(int signalNumber)
{
    ::_exit(SignalExit::ExitStatusFor(signalNumber));
}

extern "C" void writeToPipe(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Non-blocking: with the pipe full, the quit is already on its way.
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe, &byte, 1);
    errno = savedErrno;
}

// Sets `handler` for the three signals; the actions they had go to
// `previous` when given.
void handleStopSignals(void (*handler)(int), std::array<struct sigaction, 3> *previous = nullptr)
{
    struct sigaction action {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Slow system calls resume after the handler rather than fail with EINTR.
    action.sa_flags = SA_RESTART;
    sigset_t blocked;
    sigemptyset(&blocked);
    for (size_t i = 0; i < stopSignals.size(); ++i) {
        ::sigaction(stopSignals[i], &action, previous ? &(*previous)[i] : nullptr);
        sigaddset(&blocked, stopSignals[i]);
    }
    // A program started with them blocked (the mask is inherited) must still
    // hear them.
    ::pthread_sigmask(SIG_UNBLOCK, &blocked, nullptr);
}

} // namespace

void SignalExit::ExitAtOnce()
{
    handleStopSignals(exitAtOnce);
}

SignalExit::SignalExit(QObject *parent) : QObject(parent)
{
    Q_ASSERT(signalPipe == -1);
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        // Without a pipe the signals keep their default action.
        pipe_[0] = pipe_[1] = -1;
        return;
    }
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalExit::readPending);
    signalPipe = pipe_[1];
    handleStopSignals(writeToPipe, &previousActions_);
}

SignalExit::~SignalExit()
{
    if (pipe_[0] < 0)
        return;
    for (size_t i = 0; i < stopSignals.size(); ++i)
        ::sigaction(stopSignals[i], &previousActions_[i], nullptr);
    signalPipe = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void SignalExit::readPending()
{
    std::vector<unsigned char> numbers;
    unsigned char buffer[16];
    ssize_t got = 0;
    while ((got = ::read(pipe_[0], buffer, sizeof buffer)) > 0)
        numbers.insert(numbers.end(), buffer, buffer + got);
    // A slot may delete this object (closing its window).
    const QPointer<SignalExit> alive(this);
    for (const unsigned char number : numbers) {
        if (!alive)
            return;
        emit received(number);
    }
}
