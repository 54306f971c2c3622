#pragma once

#include <cstddef>
#include <string>

// A private copy of a file, kept in the user's temporary directory ($TMPDIR,
// else /tmp) under a unique name starting with "PLX" and readable by the user
// alone, so that a reader never parses the file another program is writing.
//
// Each object keeps at most one copy on disk: the latest. It is refreshed in
// place on every copy (a live game is copied every few seconds, and creating
// and deleting a file each time costs more than the parse) and deleted when the
// object is destroyed. If something else deletes it, the next copy makes a new
// one.
class TemporaryCopy
{
public:
    TemporaryCopy() = default;
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy &) = delete;
    TemporaryCopy &operator=(const TemporaryCopy &) = delete;

    // The largest source copied. A game file is a few hundred kilobytes; a
    // path that names a disk image or a video by mistake must not be copied
    // into the temporary directory and read into memory on every reload.
    static constexpr size_t MaximumSize = 64 * 1024 * 1024;

    // Copies `source` into the temporary file, replacing what it held, and
    // reads the copy back into `contents`. Returns false, with the reason in
    // `error`, when no temporary file can be made or the source is not a
    // readable regular file of at most MaximumSize bytes; the copy (perhaps empty or partial) then
    // stays until the next call.
    bool CopyFrom(const std::string &source, std::string &contents, std::string &error);

    // Deletes the copy now, if there is one.
    void Remove();

    // Full path of the copy; empty before the first CopyFrom.
    const std::string &Path() const { return path_; }

    // The directory copies are made in.
    static std::string TemporaryDirectory();

private:
    // Makes sure an empty temporary file is open; false with the reason if not.
    bool prepareEmptyCopy(std::string &error);

    std::string path_;
    int fd_ = -1;
};
