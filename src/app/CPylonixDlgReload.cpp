#include "app/CPylonixDlg.h"

#include "app/CGameStrip.h"
#include "app/CLineScoreView.h"
#include "app/DriveChartsPage.h"
#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "live/LiveGame.h"
#include "pages/CPageContainerWnd.h"
#include "pages/StatPages.h"
#include "platform/Fonts.h"
#include "views/OverviewText.h"
#include "views/SituationView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
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

void CPylonixDlg::CreateGlanceControls()
{
    strip_ = new CGameStrip(this);
    RegisterControl(LayoutRole::Strip, 0, strip_);

    lineScore_ = new CLineScoreView(container_);
    RegisterControl(LayoutRole::LineScore, 0, lineScore_);

    situationText_ = new QLabel(container_);
    situationText_->setFont(DialogFont());
    situationText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    situationText_->setWordWrap(true);
    situationText_->setTextFormat(Qt::PlainText);
    RegisterControl(LayoutRole::SituationText, 0, situationText_);
}

void CPylonixDlg::ReloadGame()
{
    const bool outermost = !userLoadRunning_;
    userLoadRunning_ = true;
    game_->Reload(LiveGame::Cause::User);
    if (outermost)
        userLoadRunning_ = false;
}

QTime CPylonixDlg::Now() const
{
    return (options_.clock ? options_.clock() : QDateTime::currentDateTime()).time();
}

void CPylonixDlg::ShowReloadStatus()
{
    strip_->SetStatus(reloadStatus_.Text(), reloadStatus_.failing());
}

void CPylonixDlg::OnReloaded()
{
    reloadStatus_.Loaded(Now());
    const SituationView glance = SituationView::Build(
        GameSituation::Read(session_->game(), session_->teams(), session_->scoreboard()),
        session_->teams());
    strip_->SetSituation(glance.strip);
    ShowReloadStatus();
    lineScore_->SetRows(glance.lineScore, {});
    situationText_->setText(glance.lines);

    pages_->FillYardage(*session_);
    PlaceYardageSummary();
    RebuildPeriodBox();

    drivePage_->KeepSelectionAcrossReload();
    pages_->playByPlay->MarkRowsOfNextReload();
    filledPages_ = 0;
    ShowPage();
}

void CPylonixDlg::OnLoadFailed(LiveFile file, const QString &reason)
{
    if (file == LiveFile::Game) {
        reloadStatus_.Failed(Now(), reason);
        ShowReloadStatus();
    } else {
        reloadStatus_.SeasonFailed(file == LiveFile::HomeSeason, reason);
    }
    // The watcher and the timer never ask: the window keeps the game it has
    // and follows the file again at its next change.
    if (!MayPrompt() || !userLoadRunning_)
        return;
    if (file == LiveFile::Game) {
        // A file that is not a game at all is named, with what it is.
        const bool notAGame =
            session_->game().LastLoadError().status == XmlLoadError::Status::WrongRoot;
        const QString told = notAGame ? reason + QStringLiteral(".\n") : QString();
        if (!AskYesNo(QStringLiteral("Pylonix couldn't load the Game file.\n") + told +
                          QStringLiteral("Open the Configure dialog?"),
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

void CPylonixDlg::OnGameFileMissing(const QString &path)
{
    // Told, never asked: the window keeps the game and reads the file when it is back.
    reloadStatus_.Missing(Now(), path);
    ShowReloadStatus();
}

void CPylonixDlg::RebuildPeriodBox()
{
    QStringList entries;
    for (const std::string &entry : BuildPeriodEntries(session_->game()))
        entries.append(QString::fromStdString(entry));
    // The same entries again leave the box as it is, unrepainted.
    if (entries != PeriodEntries()) {
        periodBox_->clear();
        periodBox_->addItems(entries);
    }
    const int current = period_ < periodBox_->count() ? period_ : -1;
    if (periodBox_->currentIndex() != current)
        periodBox_->setCurrentIndex(current);
}

QStringList CPylonixDlg::PeriodEntries() const
{
    QStringList entries;
    for (int i = 0; i < periodBox_->count(); ++i)
        entries.append(periodBox_->itemText(i));
    return entries;
}
