#pragma once

#include <string>
#include <string_view>

// A folder of its own under the temporary folder, removed with its files
// when the object goes: where a fuzz target puts an input that the code under
// test reads only from a file.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    // The path of `name` in the folder.
    std::string Path(std::string_view name) const;

    // Writes `bytes` as the whole file `name` and gives its path; aborts when
    // it cannot, as a fuzz run that reads no input would find nothing.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string folder_;
};
