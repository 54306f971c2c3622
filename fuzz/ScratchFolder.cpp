#include "ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace
{

// Memory rather than disk where there is a tmpfs: the settings file is
// synced on every save, which on a disk would make each input take
// milliseconds.
fs::path baseFolder()
{
    std::error_code ignored;
    if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ignored))
        return "/dev/shm";
    return fs::temp_directory_path();
}

} // namespace

ScratchFolder::ScratchFolder()
{
    std::string pattern = (baseFolder() / "pylonix-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("pylonix fuzz: cannot make a scratch folder");
        std::abort();
    }
    folder_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string ScratchFolder::Path(std::string_view name) const
{
    return (fs::path(folder_) / name).string();
}

std::string ScratchFolder::Write(std::string_view name, std::string_view bytes) const
{
    const std::string path = Path(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::perror("pylonix fuzz: cannot write the input");
        std::abort();
    }
    return path;
}
