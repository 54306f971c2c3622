#include "SituationView.h"

#include "gamedata/CTeamStats.h"
#include "gamedata/GameSituation.h"

#include <array>

namespace
{

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

QString timeoutsText(const GameSituation::TimeoutsLeft &left, const std::array<QString, 2> &names)
{
    const auto one = [](const QString &name, const std::optional<int> &count) {
        return name + ' ' + (count ? QString::number(*count) : QStringLiteral("-"));
    };
    if (!left.home && !left.visitor)
        return {};
    return one(names[0], left.home) + ", " + one(names[1], left.visitor);
}

} // namespace

SituationView SituationView::Build(const GameSituation &situation,
                                   std::span<const CTeamStats, 2> teams)
{
    const std::array<QString, 2> names = {text(teams[0].GetTeamValue("Short Name")),
                                          text(teams[1].GetTeamValue("Short Name"))};
    const GameSituation::LineScore &score = situation.line_score;

    SituationView view;
    QStringList heading{QString()};
    for (const std::string &period : score.periods)
        heading.append(text(period));
    heading.append(QStringLiteral("T"));
    view.lineScore.push_back(heading);
    const std::array<const std::vector<int> *, 2> points = {&score.home, &score.visitor};
    const std::array<int, 2> totals = {score.home_total, score.visitor_total};
    for (int team = 0; team < 2; ++team) {
        QStringList row{names[team]};
        for (std::size_t k = 0; k < score.periods.size(); ++k)
            row.append(k < points[team]->size() ? QString::number((*points[team])[k]) : QString());
        row.append(QString::number(totals[team]));
        view.lineScore.push_back(row);
    }

    const QString timeouts = timeoutsText(situation.timeouts_left, names);
    const QString lastPlay = text(situation.last_play);
    // A finished game has no down and no ball on a spot: what the file keeps
    // there is where its last play left them.
    const QString down = situation.final ? QString() : text(situation.down_distance);
    const QString ballOn = situation.final ? QString() : text(situation.ball_on);
    // Caption, value, and the caption the strip gives it ("" none).
    const std::array<std::array<QString, 3>, 5> parts = {{
        {QStringLiteral("Period: "), text(situation.period_label), QString()},
        {QStringLiteral("Down: "), down, QString()},
        {QStringLiteral("Ball on: "), ballOn, QStringLiteral("Ball on ")},
        {QStringLiteral("Timeouts left: "), timeouts, QStringLiteral("Timeouts ")},
        {QStringLiteral("Last play: "), lastPlay, QStringLiteral("Last play: ")},
    }};
    QStringList lines;
    QStringList strip{names[0] + ' ' + QString::number(totals[0]) + "  " + names[1] + ' ' +
                      QString::number(totals[1])};
    for (const auto &[caption, value, stripCaption] : parts) {
        // The overview keeps every caption in its place; a dash where the file tells nothing.
        lines.append(caption + (value.isEmpty() ? QStringLiteral("-") : value));
        if (!value.isEmpty())
            strip.append(stripCaption + value);
    }
    view.lines = lines.join('\n');
    view.strip = strip.join(QStringLiteral(" | "));
    return view;
}

StatTable SituationView::LineScoreTable(const std::vector<QStringList> &rows)
{
    StatTable table;
    const qsizetype columns = rows.empty() ? 0 : rows.front().size();
    for (qsizetype c = 0; c < columns; ++c)
        table.columns.push_back({QString(), c == 0 ? kLineScoreNameWidth : kLineScorePeriodWidth,
                                 c == 0 ? TableAlignment::Left : TableAlignment::Center,
                                 TableSortKind::Text, false});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        TableRow row;
        for (qsizetype c = 0; c < columns; ++c) {
            TableCell cell = TableCell::Text(c < rows[r].size() ? rows[r][c] : QString());
            cell.bold = r == 0;
            row.cells.push_back(std::move(cell));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}
