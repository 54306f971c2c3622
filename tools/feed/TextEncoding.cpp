#include "TextEncoding.h"

#include <array>
#include <cstdint>

namespace pylonix::feed
{

namespace
{

// Code points of windows-1252 bytes 0x80..0x9F; 0 where the byte is unused.
constexpr std::array<std::uint16_t, 32> high = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char windows1252Byte(std::uint32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < high.size(); ++i) {
        if (high[i] != 0 && high[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

std::optional<Encoding> encodingFromName(std::string_view name)
{
    if (name == "utf-8" || name == "UTF-8")
        return Encoding::Utf8;
    if (name == "windows-1252" || name == "cp1252")
        return Encoding::Windows1252;
    return std::nullopt;
}

std::string toWindows1252(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = 1;
        std::uint32_t codePoint = lead;
        if (lead >= 0xF0) {
            length = 4;
            codePoint = lead & 0x07u;
        } else if (lead >= 0xE0) {
            length = 3;
            codePoint = lead & 0x0Fu;
        } else if (lead >= 0xC0) {
            length = 2;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0x80) {
            result += '?'; // stray continuation byte
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(length) > utf8.size()) {
            result += '?';
            break;
        }
        for (int k = 1; k < length; ++k)
            codePoint = (codePoint << 6) |
                        (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3Fu);
        result += windows1252Byte(codePoint);
        i += static_cast<std::size_t>(length);
    }
    return result;
}

std::string encodeDocument(std::string_view body, Encoding encoding)
{
    if (encoding == Encoding::Windows1252)
        return toWindows1252(body);
    std::string result = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    result += body;
    return result;
}

} // namespace pylonix::feed
