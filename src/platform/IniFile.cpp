#include "platform/IniFile.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The section name of a header line ("[Name]"), or false when the line is no header.
bool sectionName(std::string_view text, std::string_view &name)
{
    text = trimmed(text);
    if (text.empty() || text.front() != '[')
        return false;
    text.remove_prefix(1);
    name = trimmed(text.substr(0, text.find(']')));
    return true;
}

// The first `count` characters of UTF-8 text, never splitting a character.
std::string_view firstCharacters(std::string_view text, size_t count)
{
    size_t bytes = 0;
    for (size_t characters = 0; bytes < text.size(); ++characters) {
        if (characters == count)
            return text.substr(0, bytes);
        ++bytes;
        while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80)
            ++bytes;
    }
    return text;
}

// Reads the whole settings file at `path` into `bytes`. True with nothing
// read when there is no file. False, with the reason in `error`, when it
// cannot be read, is no regular file (a FIFO, which would block, or a
// device, which may never end) or is larger than a settings file can be.
bool readSettingsBytes(const std::string &path, std::string &bytes, std::string &error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        error = std::strerror(errno);
        return false;
    }
    struct stat info {
    };
    if (::fstat(fd, &info) != 0)
        error = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        error = "not a regular file";
    else if (info.st_size > static_cast<off_t>(IniFile::MaximumFileSize))
        error = "larger than 1 MiB";
    char buffer[4096];
    while (error.empty()) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = std::strerror(errno);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > IniFile::MaximumFileSize)
            error = "larger than 1 MiB";
    }
    ::close(fd);
    return error.empty();
}

// Why the existing file at `path` must be left alone by a save, or empty
// when it may be replaced (or does not exist). A file without any write bit
// is left alone even for a user (root) whom the system would let write it.
std::string whyNotReplaceable(const fs::path &path)
{
    struct stat info {
    };
    if (::stat(path.c_str(), &info) != 0)
        return {};
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return "the file is read-only";
    return {};
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path))
{
    std::string bytes;
    if (!readSettingsBytes(path_, bytes, readError_))
        bytes.clear();
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t newline = bytes.find('\n', start);
        Line line;
        if (newline == std::string::npos) {
            // A last line ended by a lone CR (a CRLF file cut short) ends as
            // the others do: the CR is no part of its value, and a line
            // written after it must not join it.
            const bool cr = bytes.back() == '\r';
            line.text = bytes.substr(start, bytes.size() - start - (cr ? 1 : 0));
            if (cr)
                line.end = "\r\n";
            start = bytes.size();
        } else {
            const bool crlf = newline > start && bytes[newline - 1] == '\r';
            line.text = bytes.substr(start, newline - start - (crlf ? 1 : 0));
            line.end = crlf ? "\r\n" : "\n";
            start = newline + 1;
        }
        lines_.push_back(std::move(line));
    }
}

int IniFile::findSection(std::string_view section) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view text = lines_[i].text;
        if (i == 0 && text.starts_with(kUtf8ByteOrderMark))
            text.remove_prefix(kUtf8ByteOrderMark.size());
        std::string_view name;
        if (sectionName(text, name) && equalIgnoringCase(name, trimmed(section)))
            return static_cast<int>(i);
    }
    return -1;
}

int IniFile::findKey(int sectionLine, std::string_view key) const
{
    std::string_view ignored;
    for (size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        const std::string_view text = lines_[i].text;
        if (sectionName(text, ignored))
            break;
        const size_t equals = text.find('=');
        if (equals != std::string_view::npos &&
            equalIgnoringCase(trimmed(text.substr(0, equals)), trimmed(key)))
            return static_cast<int>(i);
    }
    return -1;
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const
{
    const int sectionLine = findSection(section);
    const int keyLine = sectionLine < 0 ? -1 : findKey(sectionLine, key);
    std::string_view value = fallback;
    if (keyLine >= 0) {
        const std::string_view text = lines_[keyLine].text;
        value = trimmed(text.substr(text.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
    }
    return std::string(firstCharacters(value, MaximumValueLength));
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string value = GetString(section, key);
    std::string_view text = trimmed(value);
    if (text.empty())
        return fallback;
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+')
        text.remove_prefix(1);
    long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        number = std::min<long long>(number * 10 + (c - '0'), 1LL + INT_MAX);
    }
    if (negative)
        number = -number;
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

std::string IniFile::newLineEnd() const
{
    for (const Line &line : lines_) {
        if (!line.end.empty())
            return line.end;
    }
    return "\r\n";
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    const std::string end = newLineEnd();
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = end;
        lines_.push_back({"[" + std::string(trimmed(section)) + "]", end});
        sectionLine = static_cast<int>(lines_.size()) - 1;
    }
    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        std::string &text = lines_[keyLine].text;
        text.erase(text.find('=') + 1);
        text += value;
        return;
    }
    // After the section's last entry, before the blank lines that part it from the next.
    size_t insertAt = sectionLine + 1;
    std::string_view ignored;
    for (size_t i = sectionLine + 1; i < lines_.size() && !sectionName(lines_[i].text, ignored);
         ++i) {
        if (!trimmed(lines_[i].text).empty())
            insertAt = i + 1;
    }
    if (lines_[insertAt - 1].end.empty())
        lines_[insertAt - 1].end = end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  Line{std::string(trimmed(key)) + "=" + std::string(value), end});
}

bool IniFile::Save(std::string &error) const
{
    // What could not be read must not be replaced by what little was.
    if (!readError_.empty()) {
        error = path_ + ": " + readError_;
        return false;
    }
    fs::path target(path_);
    std::error_code failure;
    if (fs::is_symlink(target, failure)) {
        const fs::path resolved = fs::canonical(target, failure);
        if (!failure)
            target = resolved;
    }
    if (const std::string reason = whyNotReplaceable(target); !reason.empty()) {
        error = target.string() + ": " + reason;
        return false;
    }
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), failure);
        if (failure) {
            error = target.parent_path().string() + ": " + failure.message();
            return false;
        }
    }

    std::string bytes;
    for (const Line &line : lines_)
        bytes += line.text + line.end;

    std::string temporary = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = target.string() + ": " + std::strerror(errno);
        return false;
    }
    struct stat old {
    };
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    const bool written = WriteAllAt(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = target.string() + ": " + std::strerror(written ? errno : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
