#pragma once

#include "platform/Colors.h"

#include <optional>
#include <string>

// Where the window was (its frame's top-left corner on the screen) and the
// size of its client area, in pixels.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowPlacement &) const = default;
};

// What decides what the program shows: the game file, the two season files,
// whether the season paths follow the game file (default team files) and
// whether time of possession is shown; and the window as the user left it.
// Kept in the section "Pylonix" of the settings file "Pylonix.ini"; a missing
// file or key leaves the default.
struct Settings {
    std::string gameFile;         // "GameFile"
    std::string homeFile;         // "HomeFile"
    std::string visitorFile;      // "VstrFile"
    bool defaultTeamFiles = true; // "DefaultTeamFiles"
    bool showTOP = true;          // "ShowTOP"

    // Remembered between runs; none: the window's own default.
    std::optional<WindowPlacement>
        window;                         // "WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"
    std::optional<int> playColumnWidth; // "PlayColumnWidth": the play-by-play "Play" column
    std::optional<int> driveTextHeight; // "DriveTextHeight": where the splitter was left

    // The teams' colours ("HomeColor", "VisitorColor": #RRGGBB); none when
    // the key is missing or holds anything else, so that the default applies.
    // Nothing in the program changes them: Write leaves their keys as they are.
    std::optional<COLORREF> homeColor;
    std::optional<COLORREF> visitorColor;

    // Reads the keys of the settings file at `iniPath`. Paths longer than
    // 259 characters are cut; a flag is on when its number is not 0. A
    // remembered value that is not a whole number in its range (the window's
    // four only all together) is left out, so that the default applies.
    static Settings Read(const std::string &iniPath);
    // The same; when the file exists but cannot be read (unreadable, no
    // regular file, too large) the defaults apply and `problem` says why.
    static Settings Read(const std::string &iniPath, std::string &problem);

    // Writes the keys into the settings file at `iniPath` (flags as 0 or 1;
    // the remembered values only when there are some), leaving every other
    // section and key as it was. False, with the
    // reason in `error`, when the file cannot be written.
    bool Write(const std::string &iniPath, std::string &error) const;

    bool operator==(const Settings &) const = default;
};

// The settings file's own values of what this run uses otherwise: each value
// given for this run only (a path on the command line, a season turned off on
// such a path) keeps the file's value here, so that it reaches the file only
// when Configure confirms the settings (which empties this).
struct OverriddenFileValues {
    std::optional<std::string> gameFile;
    std::optional<std::string> homeFile;
    std::optional<std::string> visitorFile;
    std::optional<bool> defaultTeamFiles;
    std::optional<bool> showTOP;

    // The settings in use with the file's own values put back: what the
    // settings file gets.
    Settings ForFile(const Settings &inUse) const;

    bool operator==(const OverriddenFileValues &) const = default;
};

// Where "Pylonix.ini" lives for this program: in the executable's folder when
// that folder can be written, else in the user's configuration folder.
std::string DefaultSettingsPath();

// The settings path for an executable in `executableFolder`: "Pylonix.ini"
// there when the folder can be written; otherwise "pylonix/Pylonix.ini" under
// `xdgConfigHome`, or under `home`/.config when that is empty or not absolute.
std::string SettingsPathFor(const std::string &executableFolder, const std::string &xdgConfigHome,
                            const std::string &home);
