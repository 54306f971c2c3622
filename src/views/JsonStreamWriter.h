#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <functional>
#include <map>

// Writes indented JSON piece by piece, laid out exactly as
// QJsonDocument::toJson(QJsonDocument::Indented) lays out the whole, so that
// long lists never stand as JSON whole. Every operation stops at the first
// piece the sink refuses and returns false.
class JsonStreamWriter
{
public:
    // Receives JSON text piece by piece; false when it cannot be written.
    using Sink = std::function<bool(const QByteArray &)>;
    // Writes one value `depth` levels down.
    using ValueWriter = std::function<bool(int depth)>;

    explicit JsonStreamWriter(Sink sink) : sink_(std::move(sink)) {}

    // `value` laid out as toJson(Indented) lays it out `depth` levels down
    // (without a final line break).
    static QByteArray Text(const QJsonValue &value, int depth);
    // The indentation of `depth` levels.
    static QByteArray Indent(int depth);

    // Passes a piece of text on to the sink.
    bool Write(const QByteArray &piece) const { return sink_(piece); }
    // Writes a whole value `depth` levels down.
    bool Value(const QJsonValue &value, int depth) const { return Write(Text(value, depth)); }
    // An object whose members are written by `members`, in the order of their
    // names, as a QJsonObject keeps them.
    bool Object(const std::map<QString, ValueWriter> &members, int depth) const;
    // `object`, with the members named in `writers` written by them instead.
    bool Object(const QJsonObject &object, int depth,
                const std::map<QString, ValueWriter> &writers) const;
    // An array of `count` elements; `element(i, depth + 1)` writes element i.
    bool Array(int count, int depth,
               const std::function<bool(int index, int depth)> &element) const;

private:
    Sink sink_;
};
