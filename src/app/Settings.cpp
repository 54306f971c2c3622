#include "app/Settings.h"

#include "platform/IniFile.h"
#include "views/TeamColorChoice.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr const char *kFileName = "Pylonix.ini";
constexpr const char *kSection = "Pylonix";

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd *user = ::getpwuid(::getuid()))
            home = user->pw_dir ? user->pw_dir : "";
    }
    return home;
}

// The ranges a remembered value is taken from.
constexpr int kFarthestPosition = 32767;
constexpr int kLargestSize = 10000;
constexpr int kNarrowestPlayColumn = 20;
constexpr int kLowestDriveText = 50;

// The value of `key` when it is a whole number from `lowest` to `highest`
// and nothing else.
std::optional<int> rememberedNumber(const IniFile &ini, const char *key, int lowest, int highest)
{
    const std::string text = ini.GetString(kSection, key);
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || stop != end || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<WindowPlacement> rememberedWindow(const IniFile &ini)
{
    const auto left = rememberedNumber(ini, "WindowLeft", -kFarthestPosition, kFarthestPosition);
    const auto top = rememberedNumber(ini, "WindowTop", -kFarthestPosition, kFarthestPosition);
    const auto width = rememberedNumber(ini, "WindowWidth", 1, kLargestSize);
    const auto height = rememberedNumber(ini, "WindowHeight", 1, kLargestSize);
    if (!left || !top || !width || !height)
        return std::nullopt;
    return WindowPlacement{*left, *top, *width, *height};
}

void setNumber(IniFile &ini, const char *key, int value)
{
    ini.SetString(kSection, key, std::to_string(value));
}

} // namespace

Settings Settings::Read(const std::string &iniPath)
{
    std::string ignored;
    return Read(iniPath, ignored);
}

Settings Settings::Read(const std::string &iniPath, std::string &problem)
{
    const IniFile ini(iniPath);
    problem = ini.ReadError().empty() ? std::string() : iniPath + ": " + ini.ReadError();
    Settings settings;
    settings.gameFile = ini.GetString(kSection, "GameFile");
    settings.homeFile = ini.GetString(kSection, "HomeFile");
    settings.visitorFile = ini.GetString(kSection, "VstrFile");
    settings.defaultTeamFiles = ini.GetInt(kSection, "DefaultTeamFiles", 1) != 0;
    settings.showTOP = ini.GetInt(kSection, "ShowTOP", 1) != 0;
    settings.window = rememberedWindow(ini);
    settings.playColumnWidth =
        rememberedNumber(ini, "PlayColumnWidth", kNarrowestPlayColumn, kLargestSize);
    settings.driveTextHeight =
        rememberedNumber(ini, "DriveTextHeight", kLowestDriveText, kLargestSize);
    settings.homeColor = TeamColorChoice::Parse(ini.GetString(kSection, "HomeColor"));
    settings.visitorColor = TeamColorChoice::Parse(ini.GetString(kSection, "VisitorColor"));
    return settings;
}

bool Settings::Write(const std::string &iniPath, std::string &error) const
{
    // Read afresh, so that whatever another program wrote meanwhile stays.
    IniFile ini(iniPath);
    ini.SetString(kSection, "GameFile", gameFile);
    ini.SetString(kSection, "HomeFile", homeFile);
    ini.SetString(kSection, "VstrFile", visitorFile);
    ini.SetString(kSection, "DefaultTeamFiles", defaultTeamFiles ? "1" : "0");
    ini.SetString(kSection, "ShowTOP", showTOP ? "1" : "0");
    if (window) {
        setNumber(ini, "WindowLeft", window->left);
        setNumber(ini, "WindowTop", window->top);
        setNumber(ini, "WindowWidth", window->width);
        setNumber(ini, "WindowHeight", window->height);
    }
    if (playColumnWidth)
        setNumber(ini, "PlayColumnWidth", *playColumnWidth);
    if (driveTextHeight)
        setNumber(ini, "DriveTextHeight", *driveTextHeight);
    return ini.Save(error);
}

Settings OverriddenFileValues::ForFile(const Settings &inUse) const
{
    Settings file = inUse;
    file.gameFile = gameFile.value_or(inUse.gameFile);
    file.homeFile = homeFile.value_or(inUse.homeFile);
    file.visitorFile = visitorFile.value_or(inUse.visitorFile);
    file.defaultTeamFiles = defaultTeamFiles.value_or(inUse.defaultTeamFiles);
    file.showTOP = showTOP.value_or(inUse.showTOP);
    return file;
}

std::string SettingsPathFor(const std::string &executableFolder, const std::string &xdgConfigHome,
                            const std::string &home)
{
    if (!executableFolder.empty() && ::access(executableFolder.c_str(), W_OK) == 0)
        return (fs::path(executableFolder) / kFileName).string();
    const fs::path configHome = fs::path(xdgConfigHome).is_absolute() ? fs::path(xdgConfigHome)
                                                                      : fs::path(home) / ".config";
    return (configHome / "pylonix" / kFileName).string();
}

std::string DefaultSettingsPath()
{
    std::error_code failure;
    const fs::path executable = fs::read_symlink("/proc/self/exe", failure);
    return SettingsPathFor(failure ? std::string() : executable.parent_path().string(),
                           environment("XDG_CONFIG_HOME"), homeFolder());
}
