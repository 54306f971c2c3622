#include "BoxScoreLayout.h"

#include "platform/Fonts.h"
#include "views/BoxScoreContent.h"

#include <QPaintDevice>
#include <algorithm>
#include <numeric>

namespace
{

// Sizes in points and weights of the faces, in the order of BoxScoreFace.
struct FaceSpec {
    qreal points;
    QFont::Weight weight;
};
constexpr std::array<FaceSpec, 7> kFaces{{
    {14, QFont::Bold},
    {11, QFont::Bold},
    {10, QFont::Bold},
    {8, QFont::Bold},
    {8, QFont::Normal},
    {8, QFont::Bold},
    {7, QFont::Normal},
}};

int faceIndex(BoxScoreFace face)
{
    return static_cast<int>(face);
}

int alignmentOf(TableAlignment alignment)
{
    switch (alignment) {
    case TableAlignment::Right:
        return Qt::AlignRight;
    case TableAlignment::Center:
        return Qt::AlignHCenter;
    case TableAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// A row that shows no text at all is the table's dividing bar (the team
// statistics' black rows): on paper a rule.
bool isDivider(const TableRow &row)
{
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const TableCell &cell) { return cell.text.trimmed().isEmpty(); });
}

// A table measured for the page: its columns' widths, and every cell in
// the lines it takes.
struct MeasuredTable {
    std::vector<qreal> widths;
    std::vector<int> alignments;
    std::vector<QStringList> caption;           // per column
    std::vector<std::vector<QStringList>> rows; // per row, per column
    std::vector<std::vector<bool>> bold;
    std::vector<bool> dividers;
    qreal captionHeight = 0;
    std::vector<qreal> rowHeights;

    qreal Width() const { return std::accumulate(widths.begin(), widths.end(), qreal(0)); }
};

// Puts texts on pages one below the other, starting a page when the next
// piece does not fit.
class Flow
{
public:
    Flow(const BoxScoreLayout &layout, const QRectF &area)
        : layout_(layout), area_(area),
          bottom_(area.bottom() - 1.6 * layout.LineHeight(BoxScoreFace::Footer)),
          pad_(0.3 * layout.LineHeight(BoxScoreFace::Body))
    {
        pages_.emplace_back();
        y_ = area_.top();
    }

    qreal Room() const { return bottom_ - y_; }
    bool AtTop() const { return y_ <= area_.top(); }
    void NewPage()
    {
        pages_.emplace_back();
        y_ = area_.top();
    }
    void Skip(qreal height) { y_ = std::min(y_ + height, bottom_); }

    // Lines of `text` in `face`, across the whole width.
    void Lines(const QString &text, BoxScoreFace face, int alignment)
    {
        const qreal height = layout_.LineHeight(face);
        for (const QString &line : layout_.Wrap(text, area_.width(), face)) {
            if (Room() < height)
                NewPage();
            Put(QRectF(area_.left(), y_, area_.width(), height), line, face, alignment);
            y_ += height;
        }
    }

    // A heading kept on the page with the `keep` height that follows it.
    void Heading(const QString &text, BoxScoreFace face, qreal keep)
    {
        const qreal height = layout_.LineHeight(face) * 1.3;
        if (!AtTop() && Room() < height + keep)
            NewPage();
        Put(QRectF(area_.left(), y_, area_.width(), layout_.LineHeight(face)), text, face,
            Qt::AlignLeft);
        y_ += height;
    }

    MeasuredTable Measure(const StatTable &table) const;
    // The height of a table's title, captions and first row: what must fit
    // on a page for the table to start there.
    qreal StartHeight(const MeasuredTable &table, bool titled) const
    {
        const qreal title = titled ? layout_.LineHeight(BoxScoreFace::Caption) * 1.3 : 0;
        return title + table.captionHeight + (table.rowHeights.empty() ? 0 : table.rowHeights[0]);
    }
    // The table under `title` (none when empty), split across pages as
    // needed; a title drawn already as a heading (`titled` false) is
    // repeated only on the pages the table goes on to.
    void Table(const QString &title, const MeasuredTable &table, bool titled = true);

    // Every page with its footer.
    std::vector<BoxScorePage> Finish(const QString &title);

private:
    void Put(const QRectF &box, const QString &text, BoxScoreFace face, int alignment)
    {
        pages_.back().texts.push_back({box, text, face, alignment | Qt::AlignVCenter});
    }
    void Rule(qreal y, qreal width)
    {
        pages_.back().rules.emplace_back(area_.left(), y, area_.left() + width, y);
    }
    void Captions(const QString &title, const MeasuredTable &table, bool drawTitle, bool continued);
    void Cells(const std::vector<QStringList> &cells, const MeasuredTable &table,
               const std::vector<bool> &bold, qreal height, bool caption);

    const BoxScoreLayout &layout_;
    QRectF area_;
    qreal bottom_;
    qreal pad_;
    qreal y_ = 0;
    std::vector<BoxScorePage> pages_;
};

MeasuredTable Flow::Measure(const StatTable &table) const
{
    MeasuredTable measured;
    const int columns = table.ColumnCount();
    const auto faceOf = [](const TableCell &cell) {
        return cell.bold ? BoxScoreFace::BodyBold : BoxScoreFace::Body;
    };
    // Each column as wide as its widest text, and its widest word.
    std::vector<qreal> natural(static_cast<std::size_t>(columns), 0);
    std::vector<qreal> least(static_cast<std::size_t>(columns), 0);
    const auto consider = [&](int c, const QString &text, BoxScoreFace face) {
        const auto column = static_cast<std::size_t>(c);
        natural[column] = std::max(natural[column], layout_.TextWidth(text, face));
        for (const QString &word : text.split(' ', Qt::SkipEmptyParts))
            least[column] = std::max(least[column], layout_.TextWidth(word, face));
    };
    // Number columns at least three digits wide, so that a column of
    // periods or counts keeps one pitch.
    const qreal digits = layout_.TextWidth(QStringLiteral("000"), BoxScoreFace::Body);
    for (int c = 0; c < columns; ++c) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(c)];
        consider(c, column.caption, BoxScoreFace::Caption);
        if (column.alignment != TableAlignment::Left)
            natural[static_cast<std::size_t>(c)] =
                std::max(natural[static_cast<std::size_t>(c)], digits);
    }
    for (const TableRow &row : table.rows) {
        for (int c = 0; c < columns; ++c)
            consider(c, row.Cell(c).text, faceOf(row.Cell(c)));
    }

    // Too wide for the page: the widest columns wrap, sharing what the
    // others leave in proportion to their texts.
    const qreal room = area_.width();
    std::vector<int> order(static_cast<std::size_t>(columns));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&natural](int a, int b) { return natural[a] > natural[b]; });
    std::vector<bool> wraps(static_cast<std::size_t>(columns), false);
    measured.widths.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c)
        measured.widths[c] = natural[c] + 2 * pad_;
    for (std::size_t wrapped = 0; measured.Width() > room && wrapped < order.size(); ++wrapped) {
        wraps[order[wrapped]] = true;
        qreal fixed = 0, shared = 0;
        for (int c = 0; c < columns; ++c)
            (wraps[c] ? shared : fixed) += wraps[c] ? natural[c] : measured.widths[c];
        // A word wider than all the room left is broken inside (Wrap).
        const qreal left = room - fixed;
        for (int c = 0; c < columns; ++c) {
            if (wraps[c])
                measured.widths[c] = std::max(std::min(least[c] + 2 * pad_, left),
                                              left * natural[c] / std::max(shared, qreal(1)));
        }
    }
    if (measured.Width() > room) { // even the widest words cannot stand whole
        const qreal total = std::accumulate(natural.begin(), natural.end(), qreal(0));
        for (int c = 0; c < columns; ++c)
            measured.widths[c] = room * natural[c] / std::max(total, qreal(1));
    }

    const auto linesOf = [&](int c, const QString &text, BoxScoreFace face) {
        const auto column = static_cast<std::size_t>(c);
        return wraps[column] ? layout_.Wrap(text, measured.widths[column] - 2 * pad_, face)
                             : QStringList{text};
    };
    const qreal bodyLine = layout_.LineHeight(BoxScoreFace::Body);
    int captionLines = 1;
    for (int c = 0; c < columns; ++c) {
        const TableColumn &column = table.columns[static_cast<std::size_t>(c)];
        measured.alignments.push_back(alignmentOf(column.alignment));
        measured.caption.push_back(linesOf(c, column.caption, BoxScoreFace::Caption));
        captionLines = std::max(captionLines, int(measured.caption.back().size()));
    }
    measured.captionHeight = captionLines * layout_.LineHeight(BoxScoreFace::Caption) + pad_ / 2;
    for (const TableRow &row : table.rows) {
        const bool divider = isDivider(row);
        measured.dividers.push_back(divider);
        std::vector<QStringList> cells;
        std::vector<bool> bold;
        int lines = 1;
        for (int c = 0; c < columns && !divider; ++c) {
            cells.push_back(linesOf(c, row.Cell(c).text, faceOf(row.Cell(c))));
            bold.push_back(row.Cell(c).bold);
            lines = std::max(lines, int(cells.back().size()));
        }
        measured.rows.push_back(std::move(cells));
        measured.bold.push_back(std::move(bold));
        measured.rowHeights.push_back(divider ? bodyLine / 2 : lines * bodyLine + pad_ / 2);
    }
    return measured;
}

void Flow::Captions(const QString &title, const MeasuredTable &table, bool drawTitle,
                    bool continued)
{
    if (drawTitle && !title.isEmpty()) {
        const QString text = continued ? title + " (continued)" : title;
        const qreal height = layout_.LineHeight(BoxScoreFace::Caption);
        Put(QRectF(area_.left(), y_, area_.width(), height), text, BoxScoreFace::Caption,
            Qt::AlignLeft);
        y_ += height * 1.3;
    }
    Cells(table.caption, table, std::vector<bool>(table.widths.size(), true), table.captionHeight,
          true);
    Rule(y_, table.Width());
}

void Flow::Cells(const std::vector<QStringList> &cells, const MeasuredTable &table,
                 const std::vector<bool> &bold, qreal height, bool caption)
{
    const BoxScoreFace face = caption ? BoxScoreFace::Caption : BoxScoreFace::Body;
    const qreal line = layout_.LineHeight(face);
    qreal x = area_.left();
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const BoxScoreFace cellFace =
            caption ? face : (bold[c] ? BoxScoreFace::BodyBold : BoxScoreFace::Body);
        // Captions sit at the foot of their row, cells at the top.
        qreal top = y_ + pad_ / 4 + (caption ? height - pad_ / 2 - cells[c].size() * line : 0);
        for (const QString &text : cells[c]) {
            if (!text.isEmpty())
                Put(QRectF(x + pad_, top, table.widths[c] - 2 * pad_, line), text, cellFace,
                    table.alignments[c]);
            top += line;
        }
        x += table.widths[c];
    }
    y_ += height;
}

void Flow::Table(const QString &title, const MeasuredTable &table, bool titled)
{
    if (!AtTop() && Room() < StartHeight(table, titled && !title.isEmpty()))
        NewPage();
    Captions(title, table, titled, false);
    bool shaded = false;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (Room() < table.rowHeights[r]) {
            Rule(y_, table.Width());
            NewPage();
            Captions(title, table, true, true);
        }
        if (table.dividers[r]) {
            Rule(y_ + table.rowHeights[r] / 2, table.Width());
            y_ += table.rowHeights[r];
            shaded = false;
            continue;
        }
        if (shaded)
            pages_.back().shades.emplace_back(area_.left(), y_, table.Width(), table.rowHeights[r]);
        shaded = !shaded;
        Cells(table.rows[r], table, table.bold[r], table.rowHeights[r], false);
    }
    Rule(y_, table.Width());
    Skip(layout_.LineHeight(BoxScoreFace::Body));
}

std::vector<BoxScorePage> Flow::Finish(const QString &title)
{
    const qreal height = layout_.LineHeight(BoxScoreFace::Footer);
    const QRectF box(area_.left(), area_.bottom() - height, area_.width(), height);
    const int count = static_cast<int>(pages_.size());
    for (int i = 0; i < count; ++i) {
        BoxScorePage &page = pages_[static_cast<std::size_t>(i)];
        const QString number = QString("Page %1 of %2").arg(i + 1).arg(count);
        page.texts.push_back(
            {box, number, BoxScoreFace::Footer, Qt::AlignRight | Qt::AlignVCenter});
        // The title only where it leaves the number room.
        const qreal gap = layout_.TextWidth(QStringLiteral("    "), BoxScoreFace::Footer);
        if (layout_.TextWidth(title, BoxScoreFace::Footer) + gap +
                layout_.TextWidth(number, BoxScoreFace::Footer) <=
            area_.width())
            page.texts.push_back(
                {box, title, BoxScoreFace::Footer, Qt::AlignLeft | Qt::AlignVCenter});
        page.rules.emplace_back(box.left(), box.top() - height * 0.3, box.right(),
                                box.top() - height * 0.3);
    }
    return std::move(pages_);
}

// The facts of the heading in lines of at most `width`, each fact whole
// on one line where it fits.
QStringList factLines(const BoxScoreLayout &layout, const BoxScoreContent &content, qreal width)
{
    const QString separator = QStringLiteral("   \u00b7   ");
    QStringList lines;
    QString line;
    for (const auto &[caption, value] : content.facts) {
        const QString fact = caption + ": " + value;
        const QString joined = line.isEmpty() ? fact : line + separator + fact;
        if (line.isEmpty() || layout.TextWidth(joined, BoxScoreFace::Body) <= width) {
            line = joined;
        } else {
            lines.append(line);
            line = fact;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

BoxScoreLayout::BoxScoreLayout(QPaintDevice *device) : dpi_(device->logicalDpiY())
{
    const QString family = StandInDialogFace().family;
    for (std::size_t i = 0; i < kFaces.size(); ++i) {
        QFont font(family);
        font.setPointSizeF(kFaces[i].points);
        font.setWeight(kFaces[i].weight);
        // Measured as drawn on paper: unhinted, without kerning, as the
        // window lays its texts out.
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferNoHinting);
        fonts_[i] = font;
        metrics_.emplace_back(font, device);
    }
}

const QFont &BoxScoreLayout::Font(BoxScoreFace face) const
{
    return fonts_[static_cast<std::size_t>(faceIndex(face))];
}

qreal BoxScoreLayout::TextWidth(const QString &text, BoxScoreFace face) const
{
    return metrics_[static_cast<std::size_t>(faceIndex(face))].horizontalAdvance(text);
}

qreal BoxScoreLayout::LineHeight(BoxScoreFace face) const
{
    return metrics_[static_cast<std::size_t>(faceIndex(face))].lineSpacing();
}

QRectF BoxScoreLayout::PrintArea(QSizeF paper) const
{
    const qreal margin = kMarginInches * dpi_;
    return QRectF(QPointF(0, 0), paper).adjusted(margin, margin, -margin, -margin);
}

QStringList BoxScoreLayout::Wrap(const QString &text, qreal width, BoxScoreFace face) const
{
    QStringList lines;
    QString line;
    const auto fits = [&](const QString &candidate) { return TextWidth(candidate, face) <= width; };
    for (QString word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + ' ' + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line.clear();
        // A word wider than the line alone is broken where it must be.
        while (!fits(word) && word.size() > 1) {
            // The longest part that fits, at least one character.
            qsizetype low = 1, high = word.size() - 1;
            while (low < high) {
                const qsizetype middle = (low + high + 1) / 2;
                if (fits(word.left(middle)))
                    low = middle;
                else
                    high = middle - 1;
            }
            lines.append(word.left(low));
            word = word.mid(low);
        }
        line = word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}

std::vector<BoxScorePage> BoxScoreLayout::Lay(const BoxScoreContent &content, QSizeF paper) const
{
    Flow flow(*this, PrintArea(paper));
    flow.Lines(content.title, BoxScoreFace::Title, Qt::AlignHCenter);
    flow.Lines(content.status, BoxScoreFace::Status, Qt::AlignHCenter);
    flow.Skip(LineHeight(BoxScoreFace::Body) / 2);
    for (const QString &line : factLines(*this, content, PrintArea(paper).width()))
        flow.Lines(line, BoxScoreFace::Body, Qt::AlignHCenter);
    flow.Skip(LineHeight(BoxScoreFace::Body));

    flow.Table(QString(), flow.Measure(content.lineScore.table));
    const auto section = [&flow](const BoxScoreTable &table) {
        const MeasuredTable measured = flow.Measure(table.table);
        flow.Heading(table.title, BoxScoreFace::Section, flow.StartHeight(measured, false));
        flow.Table(table.title, measured, false);
    };
    section(content.scoring);
    section(content.teamStats);
    for (const BoxScoreTeam &team : content.teams) {
        std::vector<MeasuredTable> tables;
        for (const BoxScoreTable &table : team.tables)
            tables.push_back(flow.Measure(table.table));
        flow.Heading(team.name, BoxScoreFace::Section,
                     tables.empty() ? 0 : flow.StartHeight(tables.front(), true));
        for (std::size_t i = 0; i < tables.size(); ++i)
            flow.Table(team.tables[i].title, tables[i]);
    }
    section(content.drives);
    return flow.Finish(content.title);
}
