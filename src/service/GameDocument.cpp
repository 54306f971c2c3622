#include "GameDocument.h"

#include "JsonEdits.h"
#include "wire/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

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

// What a client holding `before` needs to hold `after`: edits when they are
// shorter ({"$edits":[...]}, see JsonEdits), else `after` whole. A play
// changes a few rows of long tables and a few players' lines, and every live
// client gets the message.
QByteArray change(const QByteArray &before, const QByteArray &after)
{
    const std::optional<QByteArray> edits = JsonEdits::Between(before, after);
    return edits ? "{\"$edits\":" + *edits + '}' : after;
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
        if (before == previous.members.end())
            changedMembers.emplace(name, text);
        else if (before->second != text)
            changedMembers.emplace(name, change(before->second, text));
    }
    for (const auto &[key, text] : pages) {
        const auto before = previous.pages.find(key);
        if (before == previous.pages.end())
            changedPages.emplace(key, text);
        else if (before->second != text)
            changedPages.emplace(key, change(before->second, text));
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
    return "{\"seq\":" + QByteArray::number(seq) + ",\"from\":" + QByteArray::number(previous.seq) +
           ",\"updated\":" + quoted(updated) + ",\"changed\":{" +
           memberList(changedMembers, changedPages, !changedPages.empty()) + "}}";
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
