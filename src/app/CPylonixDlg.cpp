#include "app/CPylonixDlg.h"

#include "app/CConfigureDlg.h"
#include "app/CGameStrip.h"
#include "app/CLineScoreView.h"
#include "app/DriveChartsPage.h"
#include "drivechart/CDriveChartWnd.h"
#include "drivechart/CSplitterBar.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CPlayByPlayGrid.h"
#include "pages/StatPages.h"
#include "platform/Artwork.h"
#include "platform/ControlIds.h"
#include "platform/Fonts.h"
#include "platform/NotifyEvent.h"
#include "platform/PosixFile.h"
#include "platform/QtConversions.h"
#include "player/CPlayerDlg.h"
#include "views/ColumnFitting.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

namespace
{

// A static control the program never addresses.
constexpr int kStaticWithoutId = -1;

} // namespace

CPylonixDlg::CPylonixDlg(WindowOptions options, QWidget *parent)
    : QDialog(parent), options_(std::move(options)),
      ownGame_(options_.game ? nullptr : std::make_unique<LiveGame>()),
      game_(options_.game ? options_.game : ownGame_.get()), session_(&game_->session())
{
    connect(game_, &LiveGame::reloaded, this, &CPylonixDlg::OnReloaded);
    connect(game_, &LiveGame::loadFailed, this, &CPylonixDlg::OnLoadFailed);
    connect(game_, &LiveGame::gameFileMissing, this, &CPylonixDlg::OnGameFileMissing);
    setWindowTitle(kCaption);
    setFont(DialogFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(GetSysColor(COLOR_BTNFACE)));
    colours.setColor(QPalette::Button, ToQColor(GetSysColor(COLOR_BTNFACE)));
    setPalette(colours);
    // The window keeps its own minimum; the frame is the window manager's.
    setMinimumSize(kMinimumClientSize);
}

CPylonixDlg::~CPylonixDlg()
{
    delete playerWindow_.data();
}

void CPylonixDlg::ReadSettings()
{
    if (options_.iniFile)
        iniPath_ = *options_.iniFile;
    else if (options_.interactive)
        iniPath_ = DefaultSettingsPath();
    settings_ = Settings();
    if (!iniPath_.empty()) {
        std::string problem;
        settings_ = Settings::Read(iniPath_, problem);
        if (!problem.empty())
            ReportSettingsProblem(problem + "; the default settings are used");
    }
    // Values of this run replace the file's without reaching it.
    fileValues_ = {};
    const auto useForThisRun = [](auto &inUse, auto &fileValue, const auto &given) {
        if (!given)
            return;
        fileValue = inUse;
        inUse = *given;
    };
    useForThisRun(settings_.gameFile, fileValues_.gameFile, options_.gameFile);
    useForThisRun(settings_.homeFile, fileValues_.homeFile, options_.homeFile);
    useForThisRun(settings_.visitorFile, fileValues_.visitorFile, options_.visitorFile);
    useForThisRun(settings_.showTOP, fileValues_.showTOP, options_.showTop);
    UseRememberedWindow();
    UseSettingsFiles();
    if (settings_.gameFile.empty() && MayPrompt())
        OnConfigure();
}

void CPylonixDlg::UseRememberedWindow()
{
    if (!options_.interactive)
        return;
    if (const std::optional<WindowPlacement> &window = settings_.window;
        window && options_.rememberedPlacement) {
        const QRect placed(window->left, window->top, window->width, window->height);
        resize(placed.size().expandedTo(minimumSize()));
        // A place on a screen that is gone is not kept: the window manager places it.
        if (QGuiApplication::screenAt(placed.center()))
            move(placed.topLeft());
    }
    if (settings_.playColumnWidth && !options_.playByPlayWidth) {
        pages_->playByPlay->SetColumnWidth(CPlayByPlayGrid::kPlayColumn,
                                           *settings_.playColumnWidth);
        playByPlayColumn2_ = pages_->playByPlay->GetColumnWidth(2);
    }
    if (settings_.driveTextHeight)
        textHeight_ = *settings_.driveTextHeight;
}

void CPylonixDlg::RememberWindow()
{
    if (!options_.interactive)
        return;
    // The frame's corner, as move() takes it, and the client area's size.
    const QSize client = isMaximized() || isMinimized() ? normalGeometry().size() : size();
    if (client.isValid())
        settings_.window = WindowPlacement{pos().x(), pos().y(), client.width(), client.height()};
    // A width given for this run leaves the file's own.
    if (!options_.playByPlayWidth)
        settings_.playColumnWidth =
            pages_->playByPlay->GetColumnWidth(CPlayByPlayGrid::kPlayColumn);
    settings_.driveTextHeight = textHeight_;
}

void CPylonixDlg::WriteSettings()
{
    if (iniPath_.empty())
        return;
    RememberWindow();
    std::string error;
    const Settings forFile = fileSettings();
    // The settings never replace a file the program reads, whatever name
    // (a link, a second name) the settings file was given.
    const Settings &inUse = settings_;
    for (const std::string *read : {&inUse.gameFile, &inUse.homeFile, &inUse.visitorFile,
                                    &forFile.gameFile, &forFile.homeFile, &forFile.visitorFile}) {
        if (!read->empty() && IsSameFile(iniPath_.c_str(), read->c_str()))
            error = iniPath_ + ": it is the game file or a season file (" + *read + ")";
    }
    // A settings file that cannot be written keeps its old content; the
    // program goes on with the settings it has.
    if (error.empty() && forFile.Write(iniPath_, error))
        return;
    ReportSettingsProblem(error + "; the settings are not written");
}

void CPylonixDlg::ReportSettingsProblem(const std::string &problem)
{
    // Once a run: every later write meets the same file.
    if (settingsProblemReported_)
        return;
    settingsProblemReported_ = true;
    std::fprintf(stderr, "pylonix: %s\n", problem.c_str());
}

void CPylonixDlg::ApplyConfigured()
{
    // Confirmed, every value in use is the file's.
    fileValues_ = {};
    UseSettingsFiles();
    WriteSettings();
    SetDrivesMode(false);
}

void CPylonixDlg::UseSettingsFiles()
{
    game_->SetFiles({settings_.gameFile, settings_.homeFile, settings_.visitorFile});
}

void CPylonixDlg::StartWatcher()
{
    if (!options_.interactive || !options_.watchGameFile)
        return;
    game_->StartWatching();
}

bool CPylonixDlg::OnInitDialog()
{
    setWindowIcon(ProgramIcon());
    boldFont_ = DialogFont();
    boldFont_.setWeight(QFont::Bold);
    CreateControls();
    MakeButtonImages();
    // In its place from the start: a first load that fails leaves it empty
    // under the page buttons, not over the header at the origin.
    PlaceYardageSummary();

    period_ = 0;
    ReadSettings();

    page_ = PAGE_OVERVIEW;
    pageButtons_[0]->setChecked(true);
    // A game given loaded already is shown as it is.
    if (game_->reloadCount() == 0)
        ReloadGame();
    else
        OnReloaded();
    if (reloadCount() == 0 && !options_.interactive)
        return false;
    ShowPage();
    StartWatcher();
    return true;
}

void CPylonixDlg::RegisterControl(LayoutRole role, int index, QWidget *control)
{
    controls_[{role, index}] = control;
}

QWidget *CPylonixDlg::Control(LayoutRole role, int index) const
{
    const auto found = controls_.find({role, index});
    return found == controls_.end() ? nullptr : found->second;
}

void CPylonixDlg::CreateControls()
{
    CreateBoxScoreAction();
    titlePicture_ = new QLabel(this);
    SetDlgCtrlID(titlePicture_, kStaticWithoutId);
    titlePicture_->setGeometry(0, 0, 128, 80);
    titlePicture_->setPixmap(
        QPixmap::fromImage(LoadBitmapResourceForRatio(131, devicePixelRatioF())));

    pageGroup_ = new QButtonGroup(this);
    pageGroup_->setExclusive(true);
    for (int i = 0; i < 7; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(kPages[i].caption), this);
        SetDlgCtrlID(button, IDC_GAME_OVERVIEW + i);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setGeometry(PageButtonRect(i));
        pageGroup_->addButton(button, i);
        pageButtons_[i] = button;
        connect(button, &QPushButton::clicked, this, [this] { ShowPage(); });
    }
    configure_ = new QPushButton(QStringLiteral("Configure"), this);
    SetDlgCtrlID(configure_, IDC_CONFIGURE);
    configure_->setAutoDefault(false);
    connect(configure_, &QPushButton::clicked, this, [this] { OnConfigure(); });
    RegisterControl(LayoutRole::Configure, 0, configure_);

    container_ = new CPageContainerWnd(this, IDC_PAGE_CONTAINER);
    connect(container_, &CPageContainerWnd::scrolled, this, [this] { Layout(); });
    RegisterControl(LayoutRole::Container, 0, container_);
    pages_ = std::make_unique<StatPages>(this, container_, boldFont_);
    // A size given before the window is shown has had no resize event yet.
    pages_->SetPageWidth(PageWidthForClient(width()));
    RegisterPageTables();

    overviewText_ = new QLabel(container_);
    SetDlgCtrlID(overviewText_, IDC_STATIC_TEXT);
    overviewText_->setFont(DialogFont());
    overviewText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    overviewText_->setWordWrap(true);
    overviewText_->setTextFormat(Qt::PlainText);
    overviewText_->setAutoFillBackground(true);
    RegisterControl(LayoutRole::OverviewText, 0, overviewText_);
    CreateGlanceControls();

    CreateDriveChartControls();
}

void CPylonixDlg::RegisterPageTables()
{
    const StatPages &pages = *pages_;
    RegisterControl(LayoutRole::TeamStats, 0, pages.teamStats);
    for (int side = 0; side < 2; ++side) {
        RegisterControl(LayoutRole::Passing, side, pages.passing[side]);
        RegisterControl(LayoutRole::Rushing, side, pages.rushing[side]);
        RegisterControl(LayoutRole::Receiving, side, pages.receiving[side]);
        RegisterControl(LayoutRole::Defense, side, pages.defense[side]);
    }
    for (int i = 0; i < 6; ++i)
        RegisterControl(LayoutRole::OffenseTitle, i, pages.offenseTitles[i]);
    for (int i = 0; i < 14; ++i) {
        RegisterControl(LayoutRole::SpecialTeams, i, pages.specialTeams[i]);
        RegisterControl(LayoutRole::SpecialTitle, i, pages.specialTitles[i]);
    }
    RegisterControl(LayoutRole::Scoring, 0, pages.scoring);
    RegisterControl(LayoutRole::PlayByPlay, 0, pages.playByPlay);
    pages.playByPlay->setFrameShape(QFrame::StyledPanel);
    pages.playByPlay->setFrameShadow(QFrame::Sunken);
    if (options_.playByPlayWidth)
        pages.playByPlay->SetColumnWidth(CPlayByPlayGrid::kPlayColumn, *options_.playByPlayWidth);
    playByPlayColumn2_ = pages.playByPlay->GetColumnWidth(2);
    RegisterControl(LayoutRole::DriveLists, 0, pages.driveList);
    RegisterControl(LayoutRole::DriveLists, 1, pages.playList);
    pages.yardage->setEnabled(false);
    for (CPlayerStatGrid *table : pages.PlayerTables())
        connect(table, &CPlayerStatGrid::playerActivated, this,
                [this](int team, int player) { OpenPlayerWindow(team, player); });
    // Queued, so that the layout sees the column widths as the resize left them.
    for (CStatGridCtrl *table : pages.Tables())
        connect(table, &CStatGridCtrl::gridLayoutChanged, this, &CPylonixDlg::OnGridLayout,
                Qt::QueuedConnection);
}

void CPylonixDlg::CreateDriveChartControls()
{
    drivePage_ = new DriveChartsPage(this, *pages_);
    connect(drivePage_, &DriveChartsPage::refillRequested, this, [this] { RefillDriveCharts(); });
    connect(drivePage_->splitter(), &CSplitterBar::splitterMoved, this,
            [this](int delta) { OnSplitterMoved(delta); });
    RegisterControl(LayoutRole::DriveChart, 0, drivePage_->chart());
    RegisterControl(LayoutRole::DriveText, 0, drivePage_->driveText());
    RegisterControl(LayoutRole::ScoringOnly, 0, drivePage_->scoringOnly());
    const std::array<LayoutRole, 3> roles = {LayoutRole::HomeButton, LayoutRole::VisitorButton,
                                             LayoutRole::BothButton};
    for (int i = 0; i < 3; ++i)
        RegisterControl(roles[i], 0, drivePage_->teamButtons()[i]);
    RegisterControl(LayoutRole::Hint, 0, drivePage_->hint());
    RegisterControl(LayoutRole::Splitter, 0, drivePage_->splitter());
    chartHeight_ = 200;
    textHeight_ = drivePage_->FourLineTextHeight();

    periodBox_ = new QComboBox(this);
    SetDlgCtrlID(periodBox_, IDC_PERIOD);
    periodBox_->setFont(DialogFont());
    periodBox_->hide();
    connect(periodBox_, &QComboBox::activated, this, [this](int index) { OnPeriodChanged(index); });
    RegisterControl(LayoutRole::PeriodBox, 0, periodBox_);
    drivePage_->SetPeriodBox(periodBox_);
}

std::vector<std::pair<QString, QWidget *>> CPylonixDlg::NamedControls() const
{
    static constexpr std::array<const char *, 2> kSides = {"home", "visitor"};

    std::vector<std::pair<QString, QWidget *>> named;
    const auto add = [&named](const QString &role, QWidget *control) {
        if (control)
            named.emplace_back(role, control);
    };
    add("container", container_);
    add("configure", configure_);
    add("title_picture", titlePicture_);
    for (int i = 0; i < 7; ++i)
        add(QString("page_button.") + kPages[i].key, pageButtons_[i]);
    // Tables are named by their keys in the export's "pages".
    const auto table = [](TablePage page) {
        const std::string_view key = TablePageOf(page).key;
        return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    };
    add(table(TablePage::Yardage), pages_->yardage);
    add(table(TablePage::TeamStats), Control(LayoutRole::TeamStats));
    add("overview_text", overviewText_);
    const auto roleOf = [](const NamedStatTable &named, int side) {
        return QString::fromLatin1(named.name.data(), static_cast<qsizetype>(named.name.size())) +
               "." + kSides[side];
    };
    const std::array<LayoutRole, 3> offense = {LayoutRole::Passing, LayoutRole::Rushing,
                                               LayoutRole::Receiving};
    for (int side = 0; side < 2; ++side) {
        for (int row = 0; row < 3; ++row) {
            const QString name = roleOf(StatColumnSets::kOffenseTables[row], side);
            add(name, Control(offense[row], side));
            add("title." + name, Control(LayoutRole::OffenseTitle, side * 3 + row));
        }
    }
    for (int side = 0; side < 2; ++side)
        add(roleOf(StatColumnSets::kDefenseTables[0], side), Control(LayoutRole::Defense, side));
    for (int i = 0; i < 14; ++i) {
        const QString name = roleOf(StatColumnSets::kSpecialTeamsTables[i % 7], i / 7);
        add(name, Control(LayoutRole::SpecialTeams, i));
        add("title." + name, Control(LayoutRole::SpecialTitle, i));
    }
    add(table(TablePage::Scoring), Control(LayoutRole::Scoring));
    add(table(TablePage::PlayByPlay), Control(LayoutRole::PlayByPlay));
    add("drive_chart", Control(LayoutRole::DriveChart));
    add("drive_text", Control(LayoutRole::DriveText));
    add(table(TablePage::Drives), Control(LayoutRole::DriveLists, 0));
    add(table(TablePage::Plays), Control(LayoutRole::DriveLists, 1));
    add("scoring_only", Control(LayoutRole::ScoringOnly));
    add("home_button", Control(LayoutRole::HomeButton));
    add("visitor_button", Control(LayoutRole::VisitorButton));
    add("both_button", Control(LayoutRole::BothButton));
    add("hint", Control(LayoutRole::Hint));
    add("splitter", Control(LayoutRole::Splitter));
    add("period_box", periodBox_);
    return named;
}

void CPylonixDlg::ClickPage(int page)
{
    for (int i = 0; i < 7; ++i) {
        if (kPageCodes[i] == page)
            pageButtons_[i]->click();
    }
}

bool CPylonixDlg::AskYesNo(const QString &text, const QString &caption, QMessageBox::Icon icon)
{
    QMessageBox box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

bool CPylonixDlg::RunConfigureDialog()
{
    CConfigureDlg dialog(settings_, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings_ = dialog.Values();
    return true;
}

void CPylonixDlg::OpenPlayerWindow(int team, int player)
{
    // One window for the program: a later double click points the open one
    // at the new player without bringing it to the front.
    auto *dialog = qobject_cast<CPlayerDlg *>(playerWindow_.data());
    const bool created = !dialog;
    if (created) {
        dialog = new CPlayerDlg(this);
        dialog->SetSession(*session_);
        connect(
            dialog, &CPlayerDlg::playerClosed, this, [this] { OnPlayerClosed(); },
            Qt::QueuedConnection);
        // After every reload the window shows its player again from the
        // refilled game, once the main window has taken the reload in.
        connect(game_, &LiveGame::reloaded, dialog, &CPlayerDlg::ShowPlayer);
        playerWindow_ = dialog;
    }
    dialog->SetPlayer(team, player);
    dialog->ShowPlayer();
    if (created)
        dialog->show();
}

void CPylonixDlg::ShowAbout()
{
    QMessageBox::about(this, QStringLiteral("About Pylonix Football"),
                       QStringLiteral("Torvell Pylonix Football\nVersion %1")
                           .arg(QCoreApplication::applicationVersion()));
}

void CPylonixDlg::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(boxScoreAction_);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&About Pylonix Football..."), this, [this] { ShowAbout(); });
    menu.exec(event->globalPos());
}

void CPylonixDlg::OnCancel()
{
    if (!AskYesNo(QStringLiteral("Do you want to quit Pylonix?"), QStringLiteral("Torvell Pylonix"),
                  QMessageBox::Question))
        return;
    QuitConfirmed();
}

void CPylonixDlg::QuitConfirmed()
{
    quitConfirmed_ = true;
    WriteSettings();
    QDialog::reject();
}

void CPylonixDlg::accept()
{
    // Enter never closes the window.
}

void CPylonixDlg::reject()
{
    OnCancel();
}

void CPylonixDlg::closeEvent(QCloseEvent *event)
{
    // The close box asks as Escape does; the window closes through reject().
    event->ignore();
    OnCancel();
}

void CPylonixDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CPylonixDlg::OnConfigure()
{
    if (!RunConfigureDialog())
        return;
    ApplyConfigured();
    ReloadGame();
}

bool CPylonixDlg::event(QEvent *event)
{
    // The tables tell what matters by signals; their notifications end here.
    if (event->type() == CNotifyEvent::EventType())
        return true;
    return QDialog::event(event);
}

void CPylonixDlg::OnPlayerClosed()
{
    if (playerWindow_)
        playerWindow_->deleteLater();
    playerWindow_ = nullptr;
}
