#include "GameDocument.h"

#include "wire/JsonPatch.h"
#include "wire/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>

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
    // document not even read.
    QByteArray patch("[");
    if (sameKeys(members, previous.members) && sameKeys(pages, previous.pages)) {
        // The maps hold the same keys in the same order: walked side by side.
        const auto append = [&patch](const auto &now, const auto &before,
                                     const QByteArray &prefix) {
            for (auto old = before.begin(), item = now.begin(); item != now.end(); ++old, ++item) {
                if (old->second == item->second)
                    continue;
                // Table keys are slash-joined steps; member names are one.
                const QStringList steps =
                    prefix.isEmpty() ? QStringList{item->first} : item->first.split('/');
                QByteArray path = prefix;
                for (const QString &step : steps)
                    path += '/' + JsonPatch::PointerStep(quoted(step));
                if (patch.size() > 1)
                    patch += ',';
                patch += JsonPatch::Operations(old->second, item->second, path);
            }
        };
        append(members, previous.members, {});
        append(pages, previous.pages, "/pages");
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
