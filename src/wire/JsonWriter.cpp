#include "JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace
{

// Pieces shorter than this wait for more text before they go to the sink.
constexpr std::size_t kPieceSize = 16 * 1024;

} // namespace

JsonWriter::JsonWriter(Layout layout, Sink sink)
    : sink_(std::move(sink)), indented_(layout == Layout::Indented)
{
}

void JsonWriter::Key(std::string_view utf8)
{
    Separate();
    AppendString(out_, utf8);
    out_ += indented_ ? ": " : ":";
    afterKey_ = true;
}

void JsonWriter::Open(char bracket)
{
    Separate();
    out_ += bracket;
    ++depth_;
    first_ = true;
}

void JsonWriter::Close(char bracket)
{
    --depth_;
    if (indented_) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(4 * depth_), ' ');
    }
    out_ += bracket;
    if (indented_ && depth_ == 0)
        out_ += '\n'; // an indented document ends its last line
    first_ = false;
    FlushIfLong();
}

void JsonWriter::Value(const QJsonValue &value)
{
    Separate();
    const QJsonDocument::JsonFormat format =
        indented_ ? QJsonDocument::Indented : QJsonDocument::Compact;
    QByteArray json;
    if (value.isObject())
        json = QJsonDocument(value.toObject()).toJson(format);
    else if (value.isArray())
        json = QJsonDocument(value.toArray()).toJson(format);
    else // a lone value is written as the one element of an array: "[value]"
        json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
    if (indented_ && (value.isObject() || value.isArray())) {
        json.chop(1); // the document's final line break
        json.replace("\n", "\n" + QByteArray(4 * depth_, ' '));
    }
    out_.append(json.constData(), static_cast<std::size_t>(json.size()));
    FlushIfLong();
}

void JsonWriter::Object(const Members &members)
{
    BeginObject();
    for (const auto &[name, write] : members) {
        Key(name);
        write(*this);
    }
    EndObject();
}

JsonWriter::Members JsonWriter::MembersOf(const QJsonObject &object)
{
    Members members;
    for (auto member = object.begin(); member != object.end(); ++member)
        members[member.key().toStdString()] =
            [value = QJsonValue(member.value())](JsonWriter &writer) { writer.Value(value); };
    return members;
}

void JsonWriter::FlushIfLong()
{
    if (sink_ && out_.size() >= kPieceSize)
        Finish();
}

bool JsonWriter::Finish()
{
    if (sink_ && !out_.empty()) {
        failed_ = failed_ || !sink_(Take());
        out_.clear();
    }
    return !failed_;
}

QByteArray JsonWriter::Compact(const std::function<void(JsonWriter &)> &write)
{
    JsonWriter writer;
    write(writer);
    return writer.Take();
}

bool JsonWriter::IsPlainText(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
}

void JsonWriter::AppendString(std::string &out, const QString &text)
{
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u'"' && c != u'\\';
    });
    if (plain) {
        out += '"';
        for (const QChar c : text)
            out += static_cast<char>(c.unicode());
        out += '"';
        return;
    }
    // Qt's own escaping, through a one-element array.
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    out.append(array.constData() + 1, static_cast<std::size_t>(array.size() - 2));
}

void JsonWriter::AppendString(std::string &out, std::string_view utf8)
{
    if (!IsPlainText(utf8)) {
        AppendString(out, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
        return;
    }
    out += '"';
    out += utf8;
    out += '"';
}

QByteArray JsonWriter::Quoted(const QString &text)
{
    std::string out;
    AppendString(out, text);
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

void JsonWriter::AppendColor(std::string &out, COLORREF color)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    const int parts[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    char text[] = "\"#000000\"";
    for (int i = 0; i < 3; ++i) {
        text[2 + 2 * i] = kDigits[(parts[i] >> 4) & 0xf];
        text[3 + 2 * i] = kDigits[parts[i] & 0xf];
    }
    out.append(text, sizeof text - 1);
}
