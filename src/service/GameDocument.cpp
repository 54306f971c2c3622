#include "GameDocument.h"

#include "wire/JsonPatch.h"
#include "wire/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace
{

QByteArray quoted(const QString &text)
{
    return JsonWriter::Quoted(text);
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
                      const std::map<QString, QByteArray> &pages)
{
    QByteArray out;
    for (const auto &[name, text] : members) {
        if (!out.isEmpty())
            out += ',';
        out += quoted(name) + ':' + text;
    }
    if (!out.isEmpty())
        out += ',';
    out += "\"pages\":" + nestedTables(pages);
    return out;
}

bool sameKeys(const std::map<QString, QByteArray> &a, const std::map<QString, QByteArray> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto &x, const auto &y) { return x.first == y.first; });
}

// Texts that are one text: the same bytes, not compared again.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The table of `key` with its parts, when they are those of `text`.
const TableText *tableText(const GameDocument &document, const QString &key, const QByteArray &text)
{
    const auto found = document.tableTexts.find(key);
    if (found == document.tableTexts.end() || !found->second)
        return nullptr;
    const QByteArray &json = found->second->json;
    return json.constData() == text.constData() && json.size() == text.size() ? found->second.get()
                                                                              : nullptr;
}

// The operations between two tables, "columns" as a whole and "rows" row by
// row; the whole table replaced when that is shorter.
QByteArray tableOperations(const TableText &before, const TableText &after, const QByteArray &path)
{
    const auto rows = [](const TableText &table) {
        std::vector<QByteArrayView> items;
        items.reserve(table.rows.size());
        for (const TableText::Span &span : table.rows)
            items.push_back(table.Part(span));
        return items;
    };
    QByteArray operations = JsonPatch::Operations(before.Part(before.columns),
                                                  after.Part(after.columns), path + "/columns");
    const QByteArray rowOperations =
        JsonPatch::ArrayOperations(rows(before), rows(after), path + "/rows");
    if (!operations.isEmpty() && !rowOperations.isEmpty())
        operations += ',';
    operations += rowOperations;
    static constexpr qsizetype kReplaceFrame =
        QByteArrayView(R"({"op":"replace","path":"","value":})").size();
    if (operations.size() > kReplaceFrame + path.size() + after.json.size())
        return R"({"op":"replace","path":")" + path + R"(","value":)" + after.json + '}';
    return operations;
}

} // namespace

QByteArray GameDocument::Json() const
{
    const QByteArray members = memberList(this->members, pages);
    return "{\"seq\":" + QByteArray::number(seq) + ",\"updated\":" + quoted(updated) + ',' +
           members + '}';
}

QByteArray GameDocument::StateJson() const
{
    return '{' + memberList(members, pages) + '}';
}

QByteArray GameDocument::SnapshotMessage() const
{
    return "{\"seq\":" + QByteArray::number(seq) + ",\"snapshot\":" + Json() + '}';
}

QByteArray GameDocument::ChangedMessage(const GameDocument &previous) const
{
    // A play changes a few rows of long tables and a few players' lines, and
    // every live client gets the message: the patch is found on the compact
    // texts, where equal values are equal bytes. With the same members and
    // tables as before, each is compared with its own, the rest of the
    // document not even read; a text shared with the document before (kept
    // from one build to the next) is not compared at all.
    QByteArray patch("[");
    const auto add = [&patch](const QByteArray &operations) {
        if (operations.isEmpty())
            return;
        if (patch.size() > 1)
            patch += ',';
        patch += operations;
    };
    if (sameKeys(members, previous.members) && sameKeys(pages, previous.pages)) {
        // The maps hold the same keys in the same order: walked side by side.
        for (auto old = previous.members.begin(), item = members.begin(); item != members.end();
             ++old, ++item) {
            if (!sameBytes(old->second, item->second))
                add(JsonPatch::Operations(old->second, item->second,
                                          '/' + JsonPatch::PointerStep(quoted(item->first))));
        }
        for (auto old = previous.pages.begin(), item = pages.begin(); item != pages.end();
             ++old, ++item) {
            if (sameBytes(old->second, item->second))
                continue;
            QByteArray path = "/pages";
            for (const QString &step : item->first.split('/'))
                path += '/' + JsonPatch::PointerStep(quoted(step));
            const TableText *before = tableText(previous, old->first, old->second);
            const TableText *after = tableText(*this, item->first, item->second);
            add(before && after ? tableOperations(*before, *after, path)
                                : JsonPatch::Operations(old->second, item->second, path));
        }
        patch += ']';
    } else {
        patch = JsonPatch::Between(previous.StateJson(), StateJson());
    }
    // A reload that changed nothing still moves the clients on to its
    // number and time, as /api/game does.
    if (patch == "[]" && seq == previous.seq && updated == previous.updated)
        return {};
    return "{\"seq\":" + QByteArray::number(seq) + ",\"from\":" + QByteArray::number(previous.seq) +
           ",\"updated\":" + quoted(updated) + ",\"patch\":" + patch + '}';
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

QByteArray GameDocument::SituationMessage() const
{
    const auto member = [this](const QString &name) {
        const auto found = members.find(name);
        return found != members.end() ? found->second : QByteArray("null");
    };
    // The teams without their players and statistics: only what names them.
    QJsonArray teams;
    for (const QJsonValue team : QJsonDocument::fromJson(member("teams")).array()) {
        const QJsonObject values = team["values"].toObject();
        QJsonObject names;
        for (const char *name : {"Name", "Short Name"})
            if (values.contains(QLatin1String(name)))
                names[QLatin1String(name)] = values[QLatin1String(name)];
        teams.append(QJsonObject{{"side", team["side"]}, {"values", names}});
    }
    QByteArray out = "{\"seq\":" + QByteArray::number(seq) + ",\"updated\":" + quoted(updated) +
                     ",\"scoreboard\":" + member("scoreboard") +
                     ",\"situation\":" + member("situation") +
                     ",\"teams\":" + QJsonDocument(teams).toJson(QJsonDocument::Compact);
    if (members.count("colors"))
        out += ",\"colors\":" + member("colors");
    return out + '}';
}

QByteArray GameDocument::PageJson(const QString &key) const
{
    const auto found = pages.find(key);
    return found != pages.end() ? found->second : QByteArray();
}
