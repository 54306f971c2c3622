#include "app/CPylonixDlg.h"

#include "app/DriveChartsPage.h"
#include "gamedata/GameSession.h"
#include "pages/StatPages.h"
#include "platform/Messages.h"
#include "views/OverviewText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTimer>
#include <new>

namespace
{

// The program's name as message boxes show it: the executable's file name
// without its extension.
QString programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

void CPylonixDlg::ReloadGame(ReloadCause cause)
{
    if (reloading_) {
        // Asked for from inside a reload (through one of its prompts): served
        // once, after the running one.
        reloadRequested_ = true;
        return;
    }
    reloading_ = true;
    bool retryLater = false;
    bool configured = false;
    try {
        configured = ReloadOnce(cause, retryLater);
    } catch (const std::bad_alloc &) {
        // A game too big for the memory left: the tables keep showing the
        // game as it was, and the next change of the file is read afresh.
        lastLoadError_ = "not enough memory to load the game";
    }
    reloading_ = false;

    if (configured)
        RestartWatcher();

    if (retryLater) {
        // A watcher reload that met a file being written tries again shortly;
        // requests arriving meanwhile merge into that retry.
        QTimer::singleShot(watcherRetryDelayMs_, this, [this] {
            watcherRetryPending_ = false;
            SendMessage(this, UM_RELOAD);
        });
        watcherRetryPending_ = true;
        return;
    }
    if (reloadRequested_)
        PostMessage(this, UM_RUNRELOAD);
}

void CPylonixDlg::RunRequestedReload()
{
    if (reloading_)
        return; // reloadRequested_ stays set; the running reload posts again
    reloadRequested_ = false;
    ReloadGame(ReloadCause::Watcher);
}

bool CPylonixDlg::ReloadOnce(ReloadCause cause, bool &retryLater)
{
    bool configured = false;
    for (;;) {
        std::string error;
        if (OpenGameFiles(error))
            break;
        lastLoadError_ = error;
        if (!MayPrompt())
            return configured;
        if (cause == ReloadCause::Watcher && failedWatcherAttempts_ < kWatcherRetries) {
            ++failedWatcherAttempts_;
            retryLater = true;
            return configured;
        }
        failedWatcherAttempts_ = 0;
        if (!AskYesNo(QStringLiteral("Pylonix couldn't load the Game file.\nOpen the Configure "
                                     "dialog?"),
                      programName(), QMessageBox::Critical))
            return configured;
        if (RunConfigureDialog()) {
            ApplyConfigured();
            configured = true;
        }
    }
    failedWatcherAttempts_ = 0;
    ++reloadCount_;

    pages_->FillYardage(*session_);
    PlaceYardageSummary();
    RebuildPeriodBox();

    drivePage_->ClearSelection();
    filledPages_ = 0;
    if (playerWindow_)
        PostMessage(playerWindow_, UM_RELOAD);
    ShowPage();
    return configured;
}

bool CPylonixDlg::OpenGameFiles(std::string &error)
{
    const GameFiles files{settings_.gameFile, settings_.homeFile, settings_.visitorFile};
    const auto seasonFailed = [this](int side, const std::string &) {
        if (!MayPrompt())
            return false;
        const QString text =
            side == 0
                ? QStringLiteral("Pylonix couldn't load the Home Season file.\nDo you want to "
                                 "turn off home season stats?")
                : QStringLiteral("Pylonix couldn't load the Visitor Season file.\nDo you want "
                                 "to turn off visitor season stats?");
        if (!AskYesNo(text, programName(), QMessageBox::Warning))
            return false;
        // Turned off in the settings in use, and in the file's unless this
        // run's command line gave that path.
        const bool fromCommandLine =
            side == 0 ? options_.homeFile.has_value() : options_.visitorFile.has_value();
        for (Settings *settings : {&settings_, &fileSettings_}) {
            if (settings == &fileSettings_ && fromCommandLine)
                continue;
            settings->defaultTeamFiles = false;
            (side == 0 ? settings->homeFile : settings->visitorFile).clear();
        }
        return true;
    };
    const ReloadResult result = session_->Reload(files, seasonFailed);
    error = result.gameError;
    return result.gameOpened;
}

void CPylonixDlg::RebuildPeriodBox()
{
    periodBox_->clear();
    for (const std::string &entry : BuildPeriodEntries(session_->game()))
        periodBox_->addItem(QString::fromStdString(entry));
    periodBox_->setCurrentIndex(period_ < periodBox_->count() ? period_ : -1);
}

QStringList CPylonixDlg::PeriodEntries() const
{
    QStringList entries;
    for (int i = 0; i < periodBox_->count(); ++i)
        entries.append(periodBox_->itemText(i));
    return entries;
}
