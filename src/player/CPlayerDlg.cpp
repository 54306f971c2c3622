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
#include "platform/Messages.h"
#include "platform/SystemMetrics.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

namespace
{

constexpr int kChildId = 1;
// The window's size in dialog units, and its smallest client area in pixels.
constexpr int kWidthUnits = 332;
constexpr int kHeightUnits = 182;
constexpr int kMinClientWidth = 492;
constexpr int kMinClientHeight = 204;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhiteShade = RGB(255, 255, 255);
constexpr COLORREF kGreyShade = RGB(224, 224, 224);

// Columns of the plays list.
constexpr int kPlayColumn = 2;
// Wrapped play texts kept between fills; a game has a few thousand plays.
constexpr std::size_t kWrapCacheLimit = 20000;

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
    const auto &categories = PlayerCategories();
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        auto *grid = new CStatGridCtrl(container_, kChildId);
        grid->setFrameStyle(QFrame::Box | QFrame::Plain); // a thin border
        grid->AddColumn(0, QString(), LVCFMT_LEFT, kCaptionColumnWidth, kSortText, false);
        int column = 1;
        for (const PlayerColumn &pc : categories[c].columns) {
            const bool separator = pc.label.empty();
            grid->AddColumn(column++, QString::fromLatin1(pc.caption),
                            separator ? LVCFMT_CENTER : LVCFMT_RIGHT, pc.width, kSortText, false);
        }
        grid->InsertItem(0, QStringLiteral("GM"));
        grid->InsertItem(1, QStringLiteral("SEA"));
        column = 1;
        for (const PlayerColumn &pc : categories[c].columns) {
            if (pc.label.empty()) {
                grid->SetCellBkColor(0, column, GetSysColor(COLOR_BTNFACE));
                grid->SetCellBkColor(1, column, GetSysColor(COLOR_BTNFACE));
            }
            ++column;
        }
        if (c == 0)
            grid->SetFlags(GLF_FULLROWSELECT);
        connect(
            grid, &CStatGridCtrl::gridLayoutChanged, this, [this] { ShowPlayer(); },
            Qt::QueuedConnection);
        categoryGrids_[c] = grid;
    }

    playsGrid_ = new CStatGridCtrl(this, kChildId);
    playsGrid_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // the sunken client edge
    playsGrid_->AddColumn(0, QStringLiteral("Down"), LVCFMT_LEFT, 40, kSortText, false);
    playsGrid_->AddColumn(1, QStringLiteral("Ball On"), LVCFMT_CENTER, 40, kSortText, false);
    playsGrid_->AddColumn(2, QStringLiteral("Play"), LVCFMT_LEFT, 300, kSortText, false);
    playsGrid_->AddColumn(3, QString(), LVCFMT_CENTER, 40, kSortText, false);
    playsGrid_->SetFlags(GLF_FULLROWSELECT);
    connect(
        playsGrid_, &CStatGridCtrl::gridLayoutChanged, this, [this] { ShowPlayer(); },
        Qt::QueuedConnection);

    headingStatic_ =
        makeLabel(this, QStringLiteral("Game and Season Stats"), font(), IDC_STATIC_TEXT);
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
    content_ = PlayerContent::Build(std::span<const CTeamStats, 2>(gameTeams_, 2),
                                    std::span<const CSeasonStats, 2>(seasonTeams_, 2),
                                    *gameDocument_, teamIndex_, playerIndex_);
    titleStatic_->setText(content_.title);
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (IsCategoryShown(c))
            fillCategory(c);
    }
    fillPlays();
    Layout();
}

void CPlayerDlg::fillCategory(int category)
{
    const PlayerContent::Category &lines = content_.categories.at(category);
    CStatGridCtrl *grid = categoryGrids_[category];
    for (std::size_t k = 0; k < lines.game.size(); ++k) {
        const int column = static_cast<int>(k) + 1;
        if (PlayerCategories()[category].columns[k].label.empty())
            continue;
        grid->SetItemText(0, column, lines.game[k]);
        grid->SetItemText(1, column, lines.season[k]);
    }
}

void CPlayerDlg::fillPlays()
{
    const CZrGridListCtrl::RedrawPause pause(*playsGrid_);
    playsGrid_->DeleteAllItems();
    const int wrapWidth = playsGrid_->GetColumnWidth(kPlayColumn) - 6;
    int row = 0;
    for (const PlayerContent::Play &play : content_.plays) {
        playsGrid_->InsertItem(row, play.down);
        if (!play.ballOn.isEmpty())
            playsGrid_->SetItemText(row, 1, play.ballOn);
        const QStringList &lines = wrappedPlay(play.text, wrapWidth);
        playsGrid_->SetItemText(row, kPlayColumn, lines.front());
        for (int k = 1; k < lines.size(); ++k) {
            playsGrid_->InsertItem(row + k, QString());
            playsGrid_->SetItemText(row + k, kPlayColumn, lines[k]);
        }
        playsGrid_->SetItemText(row, 3, play.typeMark);
        const int count = static_cast<int>(lines.size());
        playsGrid_->SetRowRangeColors(row, count, kBlack, play.grey ? kGreyShade : kWhiteShade);
        row += count;
    }
}

const QStringList &CPlayerDlg::wrappedPlay(const QString &playText, int width)
{
    // Lines depend only on the text, the width and the table's font, and a
    // refresh shows nearly the same plays again: measuring them is the
    // costly part of a fill.
    if (width != wrapWidth_ || wrapCache_.size() > kWrapCacheLimit) {
        wrapCache_.clear();
        wrapWidth_ = width;
    }
    auto found = wrapCache_.find(playText);
    if (found == wrapCache_.end())
        found = wrapCache_.emplace(playText, playsGrid_->WrapText(playText, width)).first;
    return found->second;
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
    const int width = this->width();
    const int height = this->height();
    const int sx = container_->HorzPosition();
    const int sy = container_->VertPosition();
    const auto &categories = PlayerCategories();
    int x = 0;
    int y = 0;
    int lineHeight = 0;
    int title = 0;
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        CStatGridCtrl *grid = categoryGrids_[c];
        if (!IsCategoryShown(c)) {
            grid->hide();
            continue;
        }
        const QSize size = naturalSize(*grid);
        // Defense, when shown, is the first table of the first line. Any
        // other table that does not fit starts a new line, even at x 0.
        if (c != 0 && x + size.width() > width) {
            y += lineHeight + 25;
            x = 0;
            lineHeight = 0;
        }
        lineHeight = std::max(lineHeight, size.height());
        grid->setGeometry(x - sx, y + 15 - sy, size.width(), size.height());
        grid->show();
        categoryTitles_[title]->setGeometry(x - sx, y - sy, size.width(), 15);
        categoryTitles_[title]->setText(QString::fromLatin1(categories[c].title));
        ++title;
        x += size.width() + 10;
    }

    contentHeight_ = y + lineHeight + 15;
    int panel = contentHeight_ + 2 * GetSystemMetrics(SM_CYEDGE);
    if (panel + 35 > height - 100) {
        // Too tall: the panel stops 135 pixels above the bottom and scrolls.
        panel = height - 135;
        container_->setGeometry(0, 35, width, panel);
        container_->SetContentSize(0, contentHeight_);
    } else {
        container_->setGeometry(0, 35, width, panel);
        container_->SetContentSize(0, 0);
    }
    playsLabel_->setGeometry(0, panel + 45, 200, 15);
    playsLabel_->setText(content_.playsLabel);
    playsGrid_->setGeometry(0, panel + 60, width, height - panel - 60);
    for (; title < kPlayerCategoryCount; ++title)
        categoryTitles_[title]->setGeometry(0, 0, 0, 0);
    update();
}

// ---- Messages and closing ----

bool CPlayerDlg::event(QEvent *event)
{
    if (event->type() == CMessageEvent::EventType()) {
        switch (static_cast<CMessageEvent *>(event)->Message()) {
        case UM_RELOAD:
            ShowPlayer();
            return true;
        case WM_HSCROLL:
        case WM_VSCROLL:
            Layout();
            return true;
        default:
            break;
        }
    }
    return QDialog::event(event);
}

void CPlayerDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
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
