#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A settings file in the private-profile form: "[Section]" lines, each
// followed by "Key=Value" lines. Section and key names match without regard to
// case, and blanks around names and values are ignored when reading, as the
// classic profile functions do. The file is read whole when the object is made;
// SetString changes the text in memory and Save writes it back, keeping every
// line it did not change byte for byte (other sections, other keys, comments,
// CRLF or LF line ends).
class IniFile
{
public:
    // The longest value handed out, in characters: what a 260-character
    // buffer with its terminating zero holds.
    static constexpr size_t MaximumValueLength = 259;

    // The largest settings file read; a larger one reads as empty.
    static constexpr size_t MaximumFileSize = 1024 * 1024;

    // Reads the file at `path`. A missing file reads as empty, and so does one
    // that cannot be read, is no regular file or is larger than
    // MaximumFileSize: ReadError() then says why. It never blocks.
    explicit IniFile(std::string path);

    const std::string &Path() const { return path_; }

    // Why the existing file could not be read; empty when it was read or is missing.
    const std::string &ReadError() const { return readError_; }

    // The value of `key` in `section`, without surrounding blanks or a pair of
    // enclosing quotes, cut to MaximumValueLength characters; `fallback` when
    // the section or the key is missing.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback = {}) const;

    // The signed decimal number at the start of the value (0 when it starts
    // with something else); `fallback` when the key is missing or empty.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;

    // Sets `key` in `section` to `value`: an existing key keeps its name and
    // place and gets the new value; a new key goes after the section's last
    // entry; a new section goes at the end of the file. A value stops at its
    // first line break, so that it can never add lines of its own.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the text to a new file beside the old one and renames it over the
    // old one, so a failure never leaves half a file; creates the folder when it
    // is missing. A symbolic link is followed and the file it names is replaced.
    // False, with the reason in `error`, when the file cannot be written, when
    // it exists but could not be read (its other sections would be lost), and
    // when the user may not write it or it has no write permission at all
    // (replacing it through its writable folder would override that).
    bool Save(std::string &error) const;

private:
    struct Line {
        std::string text; // without its line end
        std::string end;  // "\r\n", "\n", or empty for a last line without one
    };

    // Index of the section's header line, or -1.
    int findSection(std::string_view section) const;
    // Index of the key's line in the section starting at header `sectionLine`, or -1.
    int findKey(int sectionLine, std::string_view key) const;
    // Line end for lines this object adds: the file's own, CRLF for a new file.
    std::string newLineEnd() const;

    std::string path_;
    std::vector<Line> lines_;
    std::string readError_; // why an existing file could not be read; empty when it could
};
