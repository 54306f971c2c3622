#include "app/CPylonixDlg.h"

#include "app/DriveChartsPage.h"
#include "gamedata/GameSession.h"
#include "live/LiveGame.h"
#include "pages/StatPages.h"
#include "views/OverviewText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace
{

// The program's name as message boxes show it: the executable's file name
// without its extension.
QString programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace

void CPylonixDlg::ReloadGame()
{
    game_->Reload(LiveGame::Cause::User);
}

void CPylonixDlg::OnReloaded()
{
    pages_->FillYardage(*session_);
    PlaceYardageSummary();
    RebuildPeriodBox();

    drivePage_->ClearSelection();
    filledPages_ = 0;
    ShowPage();
}

void CPylonixDlg::OnLoadFailed(LiveFile file, const QString &)
{
    if (!MayPrompt())
        return;
    if (file == LiveFile::Game) {
        if (!AskYesNo(QStringLiteral("Pylonix couldn't load the Game file.\nOpen the Configure "
                                     "dialog?"),
                      programName(), QMessageBox::Critical))
            return;
        if (RunConfigureDialog())
            ApplyConfigured();
        game_->TryAgain();
        return;
    }
    const int side = file == LiveFile::HomeSeason ? 0 : 1;
    const QString text =
        side == 0 ? QStringLiteral("Pylonix couldn't load the Home Season file.\nDo you want to "
                                   "turn off home season stats?")
                  : QStringLiteral("Pylonix couldn't load the Visitor Season file.\nDo you want "
                                   "to turn off visitor season stats?");
    if (!AskYesNo(text, programName(), QMessageBox::Warning))
        return;
    // Turned off in the settings in use; a path given for this run only
    // leaves the file's path and flag as they are.
    std::optional<std::string> &filePath =
        side == 0 ? fileValues_.homeFile : fileValues_.visitorFile;
    if (!filePath)
        fileValues_.defaultTeamFiles.reset();
    else if (!fileValues_.defaultTeamFiles)
        fileValues_.defaultTeamFiles = settings_.defaultTeamFiles;
    settings_.defaultTeamFiles = false;
    (side == 0 ? settings_.homeFile : settings_.visitorFile).clear();
    UseSettingsFiles();
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
