#include "CompactJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

bool IsPlainJsonText(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; });
}

void AppendJsonString(QByteArray &out, const QString &text)
{
    const bool plain = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u'"' && c != u'\\';
    });
    if (plain) {
        out += '"';
        out += text.toLatin1();
        out += '"';
        return;
    }
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    out += QByteArrayView(array).sliced(1, array.size() - 2);
}

void AppendJsonString(QByteArray &out, std::string_view utf8)
{
    if (!IsPlainJsonText(utf8)) {
        AppendJsonString(out, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
        return;
    }
    out += '"';
    out.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
    out += '"';
}

void AppendJsonColor(QByteArray &out, COLORREF color)
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
