#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// A private copy of a file, kept in the user's temporary directory ($TMPDIR,
// else /tmp) and readable by the user alone, so that a reader never parses the
// file another program is writing.
//
// The copy has no name while it is used: it is made without one where the
// file system allows (O_TMPFILE), else made under a unique name starting with
// "PLX" that is removed at once. It is read and written through its
// descriptor only, so nothing is left in the temporary directory however the
// process ends, a kill included.
//
// Each object keeps at most one copy: the latest. It is refreshed in place on
// every copy (a live game is copied every few seconds) and released when the
// object is destroyed.
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

    // How often a source that changes while it is read is read again before
    // the copy gives up.
    static constexpr int MaximumAttempts = 5;

    // Copies `source` into the temporary file, replacing what it held, and
    // gives the bytes copied in `contents` (its capacity is reused). Returns
    // false, with the reason in `error`, when no temporary file can be made,
    // the source is not a readable regular file of at most MaximumSize bytes,
    // or it kept changing while it was read (a writer rewriting it in place).
    bool CopyFrom(const std::string &source, std::string &contents, std::string &error);

    // Releases the copy now, if there is one.
    void Remove();

    // True while the object holds a copy (from the first CopyFrom that could
    // make one until Remove or destruction).
    bool HasCopy() const { return fd_ >= 0; }

    // How many times, over the object's life, a source was read again because
    // it changed while it was being read.
    long Retries() const { return retries_; }

    // Called after each block read from a source with the number of bytes read
    // so far in that pass; lets a test change the source in the middle of a copy.
    void SetReadObserver(std::function<void(size_t bytesRead)> observer)
    {
        readObserver_ = std::move(observer);
    }

    // The directory copies are made in.
    static std::string TemporaryDirectory();

private:
    // The size of the blocks a source is read in.
    static constexpr size_t BlockSize = 64 * 1024;

    // Makes sure a temporary file is open; false with the reason if not.
    bool prepareCopy(std::string &error);
    // Reads one consistent state of the open source into `contents`.
    bool readSource(int input, std::string &contents, std::string &error);

    int fd_ = -1;
    size_t copySize_ = 0;              // bytes the temporary file holds
    std::unique_ptr<char[]> compared_; // a block of the second reading
    long retries_ = 0;
    std::function<void(size_t)> readObserver_;
};
