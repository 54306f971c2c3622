#include "player/CPlayerDlg.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/GameSession.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "platform/ControlIds.h"
#include "platform/DialogUnits.h"
#include "platform/Fonts.h"
#include "platform/SystemMetrics.h"
#include "views/ColumnFitting.h"
#include "views/TextWrapper.h"

#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <algorithm>

namespace
{

constexpr int kChildId = 1;
// The window's size in dialog units, and its smallest client area in pixels.
constexpr int kWidthUnits = 332;
constexpr int kHeightUnits = 182;
constexpr int kMinClientWidth = 492;
constexpr int kMinClientHeight = 204;

QLabel *makeLabel(QWidget *parent, const QString &caption, const QFont &font, int id)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetDlgCtrlID(label, id);
    return label;
}

} // namespace

CPlayerDlg::CPlayerDlg(QWidget *owner)
    : QDialog(owner,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Individual Player"));
    setModal(false);
    setFont(DialogFont());
    resize(MapDialogRect(QRect(0, 0, kWidthUnits, kHeightUnits)).size());
    // The smallest window is 492 x 204 pixels inside its frame and small caption.
    setMinimumSize(kMinClientWidth, kMinClientHeight);

    boldFont_ = font();
    boldFont_.setWeight(QFont::Bold);

    titleStatic_ = makeLabel(this, QStringLiteral("#0 No Player"), SystemFont(), -1);
    titleStatic_->setGeometry(0, 0, 300, 20);

    container_ = new CPageContainerWnd(this, kChildId);
    connect(container_, &CPageContainerWnd::scrolled, this, [this] { Layout(); });
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        auto *grid = new CStatGridCtrl(container_, kChildId);
        grid->setFrameStyle(QFrame::Box | QFrame::Plain); // a thin border
        grid->ShowColumns(PlayerContent::CategoryColumns(c));
        if (c == 0)
            grid->SetFlags(GLF_FULLROWSELECT);
        connect(
            grid, &CStatGridCtrl::gridLayoutChanged, this, [this] { ShowPlayer(); },
            Qt::QueuedConnection);
        categoryGrids_[c] = grid;
    }

    playsGrid_ = new CStatGridCtrl(this, kChildId);
    playsGrid_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // the sunken client edge
    playsGrid_->ShowColumns(PlayerContent::PlaysColumns(PlayerContent::kPlayColumnWidth));
    playsGrid_->SetFlags(GLF_FULLROWSELECT);
    connect(
        playsGrid_, &CStatGridCtrl::gridLayoutChanged, this, [this] { ShowPlayer(); },
        Qt::QueuedConnection);

    headingStatic_ = makeLabel(this, PlayerContent::Heading(), font(), IDC_STATIC_TEXT);
    headingStatic_->setGeometry(0, 20, 150, 15);
    playsLabel_ = makeLabel(this, QString(), font(), IDC_STATIC_TEXT);
    for (QLabel *&title : categoryTitles_)
        title = makeLabel(container_, QString(), boldFont_, IDC_STATIC_TEXT);
}

CPlayerDlg::~CPlayerDlg() = default;

void CPlayerDlg::SetSources(std::span<const CTeamStats, 2> gameTeams,
                            std::span<const CSeasonStats, 2> seasonTeams,
                            const CGameDocument *gameDocument)
{
    gameTeams_ = gameTeams.data();
    seasonTeams_ = seasonTeams.data();
    gameDocument_ = gameDocument;
}

void CPlayerDlg::SetSession(const GameSession &session)
{
    SetSources(session.teams(), session.seasons(), &session.game());
}

void CPlayerDlg::SetPlayer(int teamIndex, int playerIndex)
{
    teamIndex_ = teamIndex == 1 ? 1 : 0;
    playerIndex_ = playerIndex;
}

bool CPlayerDlg::IsCategoryShown(int category) const
{
    return content_.categories.at(category).shown;
}

// ---- Filling ----

void CPlayerDlg::ShowPlayer()
{
    if (!gameTeams_ || !seasonTeams_ || !gameDocument_)
        return;
    // The play texts wrap to the "Play" column as wide as it now stands.
    content_ = PlayerContent::Build(std::span<const CTeamStats, 2>(gameTeams_, 2),
                                    std::span<const CSeasonStats, 2>(seasonTeams_, 2),
                                    *gameDocument_, teamIndex_, playerIndex_, playsGrid_->Wrapper(),
                                    playsGrid_->OwnColumnWidth(PlayerContent::kPlayColumn));
    titleStatic_->setText(content_.title);
    // A category not shown keeps what it held; the layout hides it.
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (IsCategoryShown(c))
            categoryGrids_[c]->ShowTable(content_.CategoryTable(c));
    }
    StatTable plays = content_.PlaysTable();
    FitPlays(plays);
    playsGrid_->ShowTable(std::move(plays));
    playsLabel_->setText(content_.playsLabel);
    Layout();
}

void CPlayerDlg::FitPlays(StatTable &plays) const
{
    // The columns grow into the list's width, less its edge and a vertical scroll bar.
    const int listWidth = PlayerLayout::Compute(size(), QPoint(), {}).plays.width() -
                          2 * playsGrid_->frameWidth() - GetSystemMetrics(SM_CYHSCROLL);
    FitColumns(plays, playsGrid_->Wrapper(), TableRoom(plays, listWidth));
}

// ---- Layout ----

QSize CPlayerDlg::naturalSize(const CStatGridCtrl &table) const
{
    const QSize view = table.ApproximateViewRect();
    return QSize(std::max(view.width(), 100), view.height() - GetSystemMetrics(SM_CYHSCROLL) - 1);
}

void CPlayerDlg::Layout()
{
    if (!gameTeams_)
        return;
    std::array<std::optional<QSize>, kPlayerCategoryCount> tables;
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (IsCategoryShown(c))
            tables[c] = naturalSize(*categoryGrids_[c]);
    }
    PlayerLayout layout = PlayerLayout::Compute(
        size(), QPoint(container_->HorzPosition(), container_->VertPosition()), tables);
    // The same places again: every control stays where it is, unrepainted.
    const bool moved = layout != layout_;
    layout_ = std::move(layout);
    const auto &categories = PlayerCategories();
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (!tables[c])
            categoryGrids_[c]->hide();
    }
    std::size_t title = 0;
    for (const PlayerLayout::PlacedCategory &placed : layout_.categories) {
        CStatGridCtrl *grid = categoryGrids_[placed.category];
        CPageContainerWnd::Place(*grid, placed.table);
        grid->show();
        CPageContainerWnd::Place(*categoryTitles_[title], placed.title);
        categoryTitles_[title]->setText(QString::fromLatin1(categories[placed.category].title));
        ++title;
    }
    for (; title < categoryTitles_.size(); ++title)
        categoryTitles_[title]->setGeometry(0, 0, 0, 0);

    container_->setGeometry(layout_.panel);
    container_->SetContentSize(0, layout_.scrolls ? layout_.contentHeight : 0);
    playsLabel_->setGeometry(layout_.playsLabel);
    playsGrid_->setGeometry(layout_.plays);
    if (moved)
        update();
}

// ---- Resizing, keys and closing ----

void CPlayerDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        playsGrid_->RefitTable([this](StatTable &plays) { FitPlays(plays); });
    Layout();
}

void CPlayerDlg::keyPressEvent(QKeyEvent *event)
{
    // Enter closes the window as Escape does; it has no buttons to press.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CPlayerDlg::done(int result)
{
    QDialog::done(result);
    if (closed_)
        return;
    closed_ = true;
    emit playerClosed();
}
