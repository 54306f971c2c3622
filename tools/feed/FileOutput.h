#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace pylonix::feed
{

enum class WriteMode {
    Replace, // temporary file in the same directory, renamed over the target
    Inplace  // truncate the target and write it in chunks, as some programs do
};

// Writes whole documents to one file in the chosen way.
class FileOutput
{
public:
    // chunkPause is the pause between the chunks of an in-place write.
    FileOutput(std::filesystem::path target, WriteMode mode,
               std::chrono::milliseconds chunkPause = std::chrono::milliseconds(15));

    // Writes the bytes as the file's new content; false with error() set when it
    // cannot. A failed replace leaves the previous file as it was and no temporary file.
    bool write(std::string_view bytes);
    const std::string &error() const { return error_; }
    const std::filesystem::path &target() const { return target_; }
    // The temporary file a replace writes before renaming it.
    std::filesystem::path temporaryPath() const;

private:
    bool replace(std::string_view bytes);
    bool inplace(std::string_view bytes);
    bool fail(const std::filesystem::path &path, const std::string &what, int errorNumber);

    std::filesystem::path target_;
    WriteMode mode_;
    std::chrono::milliseconds chunkPause_;
    std::string error_;
};

} // namespace pylonix::feed
