#include "player/CPlayerDlg.h"

#include "gamedata/CGameDocument.h"
#include "gamedata/CSeasonStats.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/GameSession.h"
#include "gamedata/PlayContext.h"
#include "gamedata/TextNumbers.h"
#include "pages/CPageContainerWnd.h"
#include "pages/CStatGridCtrl.h"
#include "platform/ControlIds.h"
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

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

// Dialog units to pixels with the dialog font's base units: the average width
// of the letters and the line height.
QSize dialogUnitsToPixels(int width, int height)
{
    const QFontMetrics metrics(DialogFont());
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    return QSize(width * baseX / 4, height * metrics.height() / 8);
}

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
    resize(dialogUnitsToPixels(kWidthUnits, kHeightUnits));
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
    if (!gameTeams_)
        return false;
    const std::string &value = gameTeams_[teamIndex_].GetPlayerValue(
        playerIndex_, PlayerCategories().at(category).testLabel);
    return TextNumbers::LeadingInt(value) != 0;
}

QString CPlayerDlg::SurnameKey(const QString &shortName)
{
    return shortName.mid(shortName.lastIndexOf(u' ') + 1).toUpper();
}

QString CPlayerDlg::PlayTypeMark(const QString &type, const QString &first, const QString &yards)
{
    QString mark = QStringLiteral(" ");
    if (type == u"R")
        mark = QStringLiteral("r");
    else if (type == u"P")
        mark = QStringLiteral("p");
    if (first == u"R")
        mark = QStringLiteral("&R");
    else if (first == u"P")
        mark = QStringLiteral("&P");
    else if (first == u"E")
        mark = QStringLiteral("&X");
    return mark + yards;
}

// ---- Filling ----

void CPlayerDlg::ShowPlayer()
{
    if (!gameTeams_ || !seasonTeams_)
        return;
    const CTeamStats &team = gameTeams_[teamIndex_];
    titleStatic_->setText(QStringLiteral("#") + text(team.GetPlayerValue(playerIndex_, "No")) +
                          QStringLiteral(" ") + text(team.GetPlayerValue(playerIndex_, "Name")));
    for (int c = 0; c < kPlayerCategoryCount; ++c) {
        if (IsCategoryShown(c))
            fillCategory(c);
    }
    fillPlays();
    Layout();
}

void CPlayerDlg::fillCategory(int category)
{
    const CTeamStats &team = gameTeams_[teamIndex_];
    const CSeasonStats &season = seasonTeams_[teamIndex_];
    const std::string &checkName = team.GetPlayerValue(playerIndex_, "Check Name");
    // A player without a check name has no season line: an empty name would
    // match any season player who lacks one too.
    const int seasonPlayer = checkName.empty() ? -1 : season.FindPlayerByCheckName(checkName);
    CStatGridCtrl *grid = categoryGrids_[category];
    int column = 1;
    for (const PlayerColumn &pc : PlayerCategories()[category].columns) {
        if (!pc.label.empty()) {
            grid->SetItemText(0, column, text(team.GetPlayerValue(playerIndex_, pc.label)));
            grid->SetItemText(
                1, column,
                seasonPlayer < 0 ? QString() : text(season.GetPlayerValue(seasonPlayer, pc.label)));
        }
        ++column;
    }
}

namespace
{

// Whether `text` (UTF-8) in upper case contains `key` (upper case, UTF-8).
// Texts of plain ASCII, nearly all of them, are upper-cased byte by byte
// into `buffer`; others go through the full Unicode rules.
bool upperCaseContains(const std::string &text, const std::string &key, std::string &buffer)
{
    buffer.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return QString::fromStdString(text).toUpper().contains(QString::fromStdString(key));
        buffer[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
    }
    return buffer.find(key) != std::string::npos;
}

} // namespace

void CPlayerDlg::fillPlays()
{
    const CZrGridListCtrl::RedrawPause pause(*playsGrid_);
    playsGrid_->DeleteAllItems();
    if (!gameDocument_)
        return;
    // Every "play" child of the quarters, in document order.
    const auto nodes = gameDocument_->SelectNodes("/fbgame/plays/qtr/play");
    if (!nodes)
        return;
    const CTeamStats &team = gameTeams_[teamIndex_];
    const std::string key =
        SurnameKey(text(team.GetPlayerValue(playerIndex_, "Short Name"))).toStdString();
    const int wrapWidth = playsGrid_->GetColumnWidth(kPlayColumn) - 6;
    std::string upperBuffer;
    int row = 0;
    bool white = true;
    for (const CXmlNode node : *nodes) {
        const std::string playText = gameDocument_->GetNodeText(node, "@text", "0");
        // A plain substring test: a play involves the player when its text
        // mentions his surname anywhere, in any letter case.
        if (!upperCaseContains(playText, key, upperBuffer))
            continue;
        const PlayContext context =
            PlayContext::Parse(gameDocument_->GetNodeText(node, "@context", "0"));
        playsGrid_->InsertItem(row, QStringLiteral("%1-%2").arg(context.down).arg(context.toGo));
        // Without a ball position in the context there is nothing to show.
        if (context.fieldsRead >= 5) {
            const CTeamStats &side = gameTeams_[context.side == 'H' ? 0 : 1];
            playsGrid_->SetItemText(
                row, 1, text(side.GetTeamValue("Short Name")) + QString::number(context.yard));
        }
        const QStringList &lines = wrappedPlay(playText, wrapWidth);
        playsGrid_->SetItemText(row, kPlayColumn, lines.front());
        for (int k = 1; k < lines.size(); ++k) {
            playsGrid_->InsertItem(row + k, QString());
            playsGrid_->SetItemText(row + k, kPlayColumn, lines[k]);
        }
        playsGrid_->SetItemText(row, 3,
                                PlayTypeMark(text(gameDocument_->GetNodeText(node, "@type", "")),
                                             text(gameDocument_->GetNodeText(node, "@first", "")),
                                             text(gameDocument_->GetNodeText(node, "@yds", ""))));
        const int count = static_cast<int>(lines.size());
        playsGrid_->SetRowRangeColors(row, count, kBlack, white ? kWhiteShade : kGreyShade);
        white = !white;
        row += count;
    }
}

const QStringList &CPlayerDlg::wrappedPlay(const std::string &playText, int width)
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
        found = wrapCache_.emplace(playText, playsGrid_->WrapText(text(playText), width)).first;
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
    playsLabel_->setText(QStringLiteral("Plays involving ") +
                         text(gameTeams_[teamIndex_].GetPlayerValue(playerIndex_, "Name")));
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
    // Posted, so that the owner may delete the window when it arrives.
    QObject *target =
        notifyTarget_ ? notifyTarget_ : (parentWidget() ? parentWidget()->window() : nullptr);
    PostMessage(target, UM_PLAYERCLOSED, 0, 0);
}
