#include "JsonStreamWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

QByteArray JsonStreamWriter::Text(const QJsonValue &value, int depth)
{
    QByteArray json;
    if (value.isObject())
        json = QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented);
    else if (value.isArray())
        json = QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented);
    else // a lone value is formatted as the one element of an array: "[value]"
        return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
    json.chop(1); // the document's final line break
    return json.replace("\n", "\n" + Indent(depth));
}

QByteArray JsonStreamWriter::Indent(int depth)
{
    return QByteArray(4 * depth, ' ');
}

bool JsonStreamWriter::Object(const std::map<QString, ValueWriter> &members, int depth) const
{
    if (members.empty())
        return Write("{\n" + Indent(depth) + "}");
    if (!Write("{\n"))
        return false;
    for (auto member = members.begin(); member != members.end(); ++member) {
        if (member != members.begin() && !Write(",\n"))
            return false;
        if (!Write(Indent(depth + 1) + Text(member->first, 0) + ": ") || !member->second(depth + 1))
            return false;
    }
    return Write("\n" + Indent(depth) + "}");
}

bool JsonStreamWriter::Object(const QJsonObject &object, int depth,
                              const std::map<QString, ValueWriter> &writers) const
{
    std::map<QString, ValueWriter> members;
    for (auto member = object.begin(); member != object.end(); ++member) {
        const auto writer = writers.find(member.key());
        if (writer != writers.end())
            members[member.key()] = writer->second;
        else
            members[member.key()] = [this, value = member.value()](int valueDepth) {
                return Value(value, valueDepth);
            };
    }
    return Object(members, depth);
}

bool JsonStreamWriter::Array(int count, int depth,
                             const std::function<bool(int index, int depth)> &element) const
{
    if (count == 0)
        return Write("[\n" + Indent(depth) + "]");
    if (!Write("[\n"))
        return false;
    for (int i = 0; i < count; ++i) {
        if ((i > 0 && !Write(",\n")) || !Write(Indent(depth + 1)) || !element(i, depth + 1))
            return false;
    }
    return Write("\n" + Indent(depth) + "]");
}
