#pragma once

#include <string>

// A private copy of a file, made in the user's temporary directory ($TMPDIR,
// else /tmp) under a unique name starting with "PLX" and readable by the user
// alone. Each object keeps at most its latest copy on disk and deletes it when
// it is destroyed, so a reader never parses a file another program is writing.
class TemporaryCopy
{
public:
    TemporaryCopy() = default;
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy &) = delete;
    TemporaryCopy &operator=(const TemporaryCopy &) = delete;

    // Deletes the previous copy, copies `source` into a fresh temporary file
    // and reads the copy back into `contents`. Returns false, with the reason
    // in `error`, when no temporary file can be made or the source cannot be
    // read; the new (perhaps empty or partial) copy then still exists until
    // the next call.
    bool CopyFrom(const std::string &source, std::string &contents, std::string &error);

    // Deletes the copy now, if there is one.
    void Remove();

    // Full path of the latest copy; empty before the first CopyFrom.
    const std::string &Path() const { return path_; }

    // The directory copies are made in.
    static std::string TemporaryDirectory();

private:
    std::string path_;
};
