#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

// Makes SIGTERM, SIGINT and SIGHUP a clean end of the program instead of a
// death in the middle of a load.
//
// A program calls ExitAtOnce() first thing: each of the three signals then
// ends the process at once with status 128 + the signal number, as shells
// expect, until an object below takes them over. Nothing is left behind,
// because temporary copies lose their names as soon as they are open.
//
// A program with an event loop (the viewer) keeps one SignalExit object for
// its whole life and quits on received() as if the user had confirmed the
// quit (settings written, watcher stopped):
//
//     auto *signals = new SignalExit(&dialog);
//     QObject::connect(signals, &SignalExit::received, &dialog, &CPylonixDlg::QuitConfirmed);
//
// The signal handler only writes the signal number to a pipe; the object
// reads it on its thread's event loop, so the slot runs like any other event,
// never inside a load.
class SignalExit : public QObject
{
    Q_OBJECT

public:
    // Ends the process with status 128 + n on signal n (SIGTERM, SIGINT, SIGHUP).
    static void ExitAtOnce();

    // Delivers the three signals as received() while the object lives; at most
    // one object may exist at a time. The destructor restores the actions
    // the signals had before (ExitAtOnce's, or the defaults).
    explicit SignalExit(QObject *parent = nullptr);
    ~SignalExit() override;
    SignalExit(const SignalExit &) = delete;
    SignalExit &operator=(const SignalExit &) = delete;

    // The exit status shells expect of a program ended by `signalNumber`.
    static int ExitStatusFor(int signalNumber) { return 128 + signalNumber; }

signals:
    // One of the three signals arrived (its number).
    void received(int signalNumber);

private:
    void readPending();

    int pipe_[2] = {-1, -1};
    std::array<struct sigaction, 3> previousActions_{};
    QSocketNotifier *notifier_ = nullptr;
};
