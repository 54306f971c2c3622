#pragma once

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A fresh directory for one test, removed with everything in it afterwards.
// While it lives, TMPDIR points to a directory of its own beside it, so
// temporary copies made by the code under test land there and can be counted.
class ScratchDirectory
{
public:
    ScratchDirectory()
    {
        static std::atomic<int> counter{0};
        root_ = std::filesystem::temp_directory_path() /
                ("pylonix-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        path_ = root_ / "files";
        std::filesystem::create_directories(path_);
        std::filesystem::create_directories(root_ / "tmp");
        if (const char *old = std::getenv("TMPDIR"))
            oldTmp_ = old, hadTmp_ = true;
        ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    }
    ~ScratchDirectory()
    {
        if (hadTmp_)
            ::setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    // Writes `bytes` to a file of that name and returns its path.
    std::string Write(const std::string &name, const std::string &bytes) const
    {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

    std::string PathOf(const std::string &name) const { return (path_ / name).string(); }
    const std::filesystem::path &Path() const { return path_; }

    // Number of temporary copies currently in the temporary directory.
    int TemporaryCopies() const
    {
        int n = 0;
        for (const auto &entry : std::filesystem::directory_iterator(root_ / "tmp"))
            n += entry.path().filename().string().rfind("PLX", 0) == 0;
        return n;
    }

private:
    std::filesystem::path root_; // holds the files and the temporary directory
    std::filesystem::path path_; // where Write puts files
    std::string oldTmp_;
    bool hadTmp_ = false;
};

// The whole content of a file.
inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
