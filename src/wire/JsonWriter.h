#pragma once

#include "platform/Colors.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <charconv>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// Writes JSON token by token, laid out exactly as QJsonDocument::toJson lays
// out the same value: compact, or indented by four spaces a level. Object
// members are written in the order the caller gives; the descriptions write
// them in the order of their names, as a QJsonObject keeps them. With a sink
// the text goes out in pieces as it grows, so that a long document never
// stands whole; after the first piece the sink refuses, nothing more is
// written.
class JsonWriter
{
public:
    enum class Layout { Compact, Indented };
    // Receives JSON text piece by piece; false when it cannot be written.
    using Sink = std::function<bool(const QByteArray &)>;
    // Members written by callbacks, in the order of their names.
    using Members = std::map<std::string, std::function<void(JsonWriter &)>, std::less<>>;

    explicit JsonWriter(Layout layout = Layout::Compact, Sink sink = {});

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The name of the next member.
    void Key(std::string_view utf8);
    // The same for a name of our own: plain printable ASCII, copied as it is.
    template <std::size_t N> void Key(const char (&name)[N])
    {
        PlainKey(std::string_view(name, N - 1));
    }
    // The same for a name known to be plain (IsPlainText).
    void PlainKey(std::string_view name)
    {
        Separate();
        out_ += '"';
        out_ += name;
        out_ += indented_ ? "\": " : "\":";
        afterKey_ = true;
    }
    void String(std::string_view utf8)
    {
        Separate();
        AppendString(out_, utf8);
    }
    void String(const QString &text)
    {
        Separate();
        AppendString(out_, text);
    }
    void Int(qint64 value)
    {
        Separate();
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out_.append(digits, static_cast<std::size_t>(end - digits));
    }
    void Bool(bool value)
    {
        Separate();
        out_ += value ? "true" : "false";
    }
    void Null()
    {
        Separate();
        out_ += "null";
    }
    // `color` as "#rrggbb".
    void Color(COLORREF color)
    {
        Separate();
        AppendColor(out_, color);
    }
    // Any value of Qt's, laid out as QJsonDocument lays it out.
    void Value(const QJsonValue &value);
    // A value given as compact JSON text (compact layout only).
    void Raw(QByteArrayView json)
    {
        Separate();
        out_.append(json.data(), static_cast<std::size_t>(json.size()));
    }
    // An object of `members`, each written by its callback.
    void Object(const Members &members);
    // The members of `object`, each written as Value writes it.
    static Members MembersOf(const QJsonObject &object);

    // Makes room for `size` more bytes of text that is kept whole (no sink).
    void Reserve(std::size_t size)
    {
        if (!sink_)
            out_.reserve(out_.size() + size);
    }
    // Passes what is left to the sink; false when the sink refused a piece.
    bool Finish();
    // The text written, when there is no sink.
    QByteArray Take() const { return QByteArray(out_.data(), static_cast<qsizetype>(out_.size())); }

    // The compact JSON `write` writes.
    static QByteArray Compact(const std::function<void(JsonWriter &)> &write);
    // `text` as a JSON string, escaped as Qt escapes it.
    static QByteArray Quoted(const QString &text);
    // True when `text` is printable ASCII without a quote or backslash:
    // written as it is, and ordered by its bytes as Qt orders member names.
    static bool IsPlainText(std::string_view text);

private:
    // What goes before a value or a member name: nothing after a name, else
    // the comma and, indented, the line break and indentation.
    void Separate()
    {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (depth_ == 0)
            return;
        if (indented_) {
            out_ += first_ ? "\n" : ",\n";
            out_.append(4 * depth_, ' ');
        } else if (!first_) {
            out_ += ',';
        }
        first_ = false;
    }
    void Open(char bracket);
    void Close(char bracket);
    void FlushIfLong();
    // `text` as a JSON string, escaped as Qt escapes it; plain printable
    // ASCII, nearly every text, is copied as it is.
    static void AppendString(std::string &out, const QString &text);
    // The same for a UTF-8 text (an invalid sequence becomes U+FFFD, as in QString).
    static void AppendString(std::string &out, std::string_view utf8);
    static void AppendColor(std::string &out, COLORREF color);

    std::string out_;
    Sink sink_;
    bool indented_;
    bool first_ = true;
    bool afterKey_ = false;
    bool failed_ = false;
    int depth_ = 0;
};
