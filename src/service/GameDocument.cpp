#include "GameDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <optional>
#include <vector>

namespace
{

QByteArray quoted(const QString &text)
{
    // A one-element array gives QJson's string escaping without a hand-made copy.
    const QByteArray array =
        QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact); // ["..."]
    return array.mid(1, array.size() - 2);
}

// Tables keyed "a/b/c" written back into nested objects. The map is sorted,
// so the tables under one prefix follow one another.
QByteArray nestedTables(const std::map<QString, QByteArray> &tables)
{
    QByteArray out = "{";
    QStringList open; // the path of the objects open now
    const auto separate = [&out] {
        if (out.back() != '{')
            out += ',';
    };
    for (const auto &[key, text] : tables) {
        QStringList path = key.split('/');
        const QString leaf = path.takeLast();
        qsizetype common = 0;
        while (common < open.size() && common < path.size() && open[common] == path[common])
            ++common;
        for (qsizetype i = open.size(); i > common; --i)
            out += '}';
        open.resize(common);
        for (qsizetype i = common; i < path.size(); ++i) {
            separate();
            out += quoted(path[i]) + ":{";
            open.append(path[i]);
        }
        separate();
        out += quoted(leaf) + ':' + text;
    }
    for (qsizetype i = open.size(); i > 0; --i)
        out += '}';
    return out + '}';
}

// The members and pages as the body of an object: "name":text,...
QByteArray memberList(const std::map<QString, QByteArray> &members,
                      const std::map<QString, QByteArray> &pages, bool withPages)
{
    QByteArray out;
    for (const auto &[name, text] : members) {
        if (!out.isEmpty())
            out += ',';
        out += quoted(name) + ':' + text;
    }
    if (withPages) {
        if (!out.isEmpty())
            out += ',';
        out += "\"pages\":" + nestedTables(pages);
    }
    return out;
}

// A table's compact JSON text cut at its "rows" array: the text before the
// rows, the rows one by one, and the text after them.
struct TableRows {
    QByteArrayView head, tail;
    std::vector<QByteArrayView> rows;
};

// Cuts `table` into its rows by scanning the text (strings skipped); empty
// when the object holds no "rows" array.
std::optional<TableRows> splitRows(QByteArrayView table)
{
    static constexpr QByteArrayView key = "\"rows\":[";
    int depth = 0;
    bool inString = false;
    qsizetype at = 0;
    const auto step = [&](char c) { // false once a string or a nesting closes below the start
        if (inString) {
            if (c == '\\')
                ++at; // the escaped character
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
        ++at;
    };
    while (at < table.size() && !(depth == 1 && !inString && table.sliced(at).startsWith(key)))
        step(table[at]);
    if (at >= table.size())
        return std::nullopt;
    TableRows split;
    at += key.size();
    split.head = table.first(at);
    const int rowsDepth = ++depth;
    qsizetype rowStart = at;
    while (at < table.size()) {
        const char c = table[at];
        if (!inString && depth == rowsDepth && (c == ',' || c == ']')) {
            if (at > rowStart)
                split.rows.push_back(table.sliced(rowStart, at - rowStart));
            if (c == ']') {
                split.tail = table.sliced(at);
                return split;
            }
            rowStart = at + 1;
        }
        step(c);
    }
    return std::nullopt;
}

// What a client holding table `before` needs to hold `after`: when only rows
// from some row on differ (a play added to the play-by-play, a total at the
// foot), {"rows_from":K,"rows":[...]} (keep the first K rows, then these);
// else the whole table. A play changes a few rows of long tables, and every
// live client gets the message. The texts are compact JSON from one writer,
// so equal values are equal bytes and the rows are compared as texts.
QByteArray tableChange(const QByteArray &before, const QByteArray &after)
{
    const std::optional<TableRows> old = splitRows(before);
    const std::optional<TableRows> now = splitRows(after);
    if (!old || !now || old->head != now->head || old->tail != now->tail)
        return after; // the columns or anything but the rows
    std::size_t kept = 0;
    while (kept < old->rows.size() && kept < now->rows.size() && old->rows[kept] == now->rows[kept])
        ++kept;
    if (kept == 0)
        return after;
    QByteArray rest =
        "{\"rows_from\":" + QByteArray::number(static_cast<qsizetype>(kept)) + ",\"rows\":[";
    for (std::size_t i = kept; i < now->rows.size(); ++i) {
        if (i > kept)
            rest += ',';
        rest += now->rows[i];
    }
    return rest + "]}";
}

} // namespace

QByteArray GameDocument::Json() const
{
    const QByteArray members = memberList(this->members, pages, true);
    return "{\"seq\":" + QByteArray::number(seq) + ",\"updated\":" + quoted(updated) + ',' +
           members + '}';
}

QByteArray GameDocument::SnapshotMessage() const
{
    return "{\"seq\":" + QByteArray::number(seq) + ",\"snapshot\":" + Json() + '}';
}

QByteArray GameDocument::ChangedMessage(const GameDocument &previous) const
{
    std::map<QString, QByteArray> changedMembers, changedPages;
    for (const auto &[name, text] : members) {
        const auto before = previous.members.find(name);
        if (before == previous.members.end() || before->second != text)
            changedMembers.emplace(name, text);
    }
    for (const auto &[key, text] : pages) {
        const auto before = previous.pages.find(key);
        if (before == previous.pages.end())
            changedPages.emplace(key, text);
        else if (before->second != text)
            changedPages.emplace(key, tableChange(before->second, text));
    }
    // A member or table that went away is sent as null, so that a client
    // holding the earlier state drops it.
    for (const auto &[name, text] : previous.members)
        if (!members.contains(name))
            changedMembers.emplace(name, "null");
    for (const auto &[key, text] : previous.pages)
        if (!pages.contains(key))
            changedPages.emplace(key, "null");
    // A reload that changed nothing still moves the clients on to its
    // number and time, as /api/game does.
    if (changedMembers.empty() && changedPages.empty() && seq == previous.seq &&
        updated == previous.updated)
        return {};
    // The time goes with every change, so that a client holding the state
    // from changes alone holds what /api/game serves.
    return "{\"seq\":" + QByteArray::number(seq) + ",\"updated\":" + quoted(updated) +
           ",\"changed\":{" + memberList(changedMembers, changedPages, !changedPages.empty()) +
           "}}";
}

QByteArray GameDocument::SituationJson() const
{
    const auto member = [this](const QString &name) {
        const auto found = members.find(name);
        return found != members.end() ? found->second : QByteArray("null");
    };
    return "{\"seq\":" + QByteArray::number(seq) + ",\"scoreboard\":" + member("scoreboard") +
           ",\"situation\":" + member("situation") + '}';
}

QByteArray GameDocument::PageJson(const QString &key) const
{
    const auto found = pages.find(key);
    return found != pages.end() ? found->second : QByteArray();
}
