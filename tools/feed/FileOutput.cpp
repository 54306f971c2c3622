#include "FileOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <thread>

namespace pylonix::feed
{

namespace
{

constexpr int inplaceChunks = 4;

} // namespace

FileOutput::FileOutput(std::filesystem::path target, WriteMode mode,
                       std::chrono::milliseconds chunkPause)
    : target_(std::move(target)), mode_(mode), chunkPause_(chunkPause)
{
}

std::filesystem::path FileOutput::temporaryPath() const
{
    std::filesystem::path path = target_;
    path += ".feed-tmp";
    return path;
}

bool FileOutput::write(std::string_view bytes)
{
    error_.clear();
    return mode_ == WriteMode::Replace ? replace(bytes) : inplace(bytes);
}

bool FileOutput::fail(const std::filesystem::path &path, const std::string &what, int errorNumber)
{
    error_ = "cannot " + what + " " + path.string();
    if (errorNumber != 0)
        error_ += std::string(": ") + std::strerror(errorNumber);
    return false;
}

bool FileOutput::replace(std::string_view bytes)
{
    const std::filesystem::path temporary = temporaryPath();
    {
        errno = 0;
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            return fail(target_, "write", errno);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            const int saved = errno;
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return fail(target_, "write", saved);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target_, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return fail(target_, "replace", error.value());
    }
    return true;
}

bool FileOutput::inplace(std::string_view bytes)
{
    errno = 0;
    std::ofstream file(target_, std::ios::binary | std::ios::trunc);
    if (!file)
        return fail(target_, "write", errno);
    const std::size_t chunk = bytes.size() / inplaceChunks + 1;
    for (std::size_t offset = 0; offset < bytes.size(); offset += chunk) {
        if (offset > 0 && chunkPause_.count() > 0)
            std::this_thread::sleep_for(chunkPause_);
        const std::size_t length = std::min(chunk, bytes.size() - offset);
        file.write(bytes.data() + offset, static_cast<std::streamsize>(length));
        file.flush();
        if (!file)
            return fail(target_, "write", errno);
    }
    file.close();
    if (!file)
        return fail(target_, "write", errno);
    return true;
}

} // namespace pylonix::feed
