#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pylonix::feed
{

enum class Encoding { Utf8, Windows1252 };

// Parses "utf-8" or "windows-1252".
std::optional<Encoding> encodingFromName(std::string_view name);

// UTF-8 text as windows-1252 bytes; characters that code page lacks become '?'.
std::string toWindows1252(std::string_view utf8);

// A document body (UTF-8, no declaration) as the bytes of a file: UTF-8 with
// its declaration, or windows-1252 with no declaration at all.
std::string encodeDocument(std::string_view body, Encoding encoding);

} // namespace pylonix::feed
