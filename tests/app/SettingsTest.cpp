#include "app/Settings.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

TEST(SettingsTest, MissingKeysGiveTheDefaults)
{
    ScratchDirectory dir;
    const Settings settings = Settings::Read(dir.PathOf("Pylonix.ini"));
    EXPECT_EQ(settings.gameFile, "");
    EXPECT_EQ(settings.homeFile, "");
    EXPECT_EQ(settings.visitorFile, "");
    EXPECT_TRUE(settings.defaultTeamFiles);
    EXPECT_TRUE(settings.showTOP);
    const Settings flags =
        Settings::Read(dir.Write("Flags.ini", "[Pylonix]\nDefaultTeamFiles=2\nShowTOP=no\n"));
    EXPECT_TRUE(flags.defaultTeamFiles); // any number but 0 is on
    EXPECT_FALSE(flags.showTOP);
}

TEST(SettingsTest, RoundTripThroughAFileWrittenOnWindows)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("Pylonix.ini", "[Window]\r\n"
                                                      "Left=10\r\n"
                                                      "[pylonix]\r\n"
                                                      "GAMEFILE=D:\\games\\week3\\game.xml\r\n"
                                                      "homefile=D:\\games\\week3\\home.xml\r\n"
                                                      "VstrFile=\r\n"
                                                      "defaultteamfiles=0\r\n"
                                                      "Comment=kept\r\n");
    Settings settings = Settings::Read(path);
    EXPECT_EQ(settings.gameFile, "D:\\games\\week3\\game.xml");
    EXPECT_EQ(settings.homeFile, "D:\\games\\week3\\home.xml");
    // An empty value is a value: the key is there, so no default applies.
    EXPECT_EQ(settings.visitorFile, "");
    EXPECT_FALSE(settings.defaultTeamFiles);
    EXPECT_TRUE(settings.showTOP);

    settings.gameFile = "/srv/games/week4/game.xml";
    settings.visitorFile = "/srv/games/week4/visitor.xml";
    settings.showTOP = false;
    std::string error;
    ASSERT_TRUE(settings.Write(path, error)) << error;

    EXPECT_EQ(ReadFile(path), "[Window]\r\n"
                              "Left=10\r\n"
                              "[pylonix]\r\n"
                              "GAMEFILE=/srv/games/week4/game.xml\r\n"
                              "homefile=D:\\games\\week3\\home.xml\r\n"
                              "VstrFile=/srv/games/week4/visitor.xml\r\n"
                              "defaultteamfiles=0\r\n"
                              "Comment=kept\r\n"
                              "ShowTOP=0\r\n");
    EXPECT_EQ(Settings::Read(path), settings);
}

TEST(SettingsTest, RememberedValuesThatAreNotPlainNumbersInRangeGiveTheDefaults)
{
    ScratchDirectory dir;
    // Each unusable value falls back alone; the window's four go together.
    const Settings bad = Settings::Read(dir.Write(
        "Bad.ini", "[Pylonix]\nWindowLeft=10\nWindowTop=10\nWindowWidth=800px\n"
                   "WindowHeight=600\nPlayColumnWidth=99999999999\nDriveTextHeight=10\n"));
    EXPECT_EQ(bad, Settings());
    EXPECT_EQ(
        Settings::Read(dir.Write("Good.ini", "[Pylonix]\nDriveTextHeight=70\n")).driveTextHeight,
        70);
}

// The teams' colours in either case, anything else ignored; the program
// never changes them, so writing the settings keeps them as typed.
TEST(SettingsTest, TeamColorsAreReadAndKeptAsTheyAre)
{
    ScratchDirectory dir;
    const std::string path =
        dir.Write("Colors.ini", "[Pylonix]\nHomeColor=#FFd100\nVisitorColor=#12345\n");
    Settings settings = Settings::Read(path);
    EXPECT_EQ(settings.homeColor, RGB(0xff, 0xd1, 0x00));
    EXPECT_EQ(settings.visitorColor, std::nullopt);
    settings.gameFile = "g.xml";
    std::string error;
    ASSERT_TRUE(settings.Write(path, error)) << error;
    EXPECT_EQ(ReadFile(path), "[Pylonix]\nHomeColor=#FFd100\nVisitorColor=#12345\nGameFile=g.xml\n"
                              "HomeFile=\nVstrFile=\nDefaultTeamFiles=1\nShowTOP=1\n");
}

TEST(SettingsTest, TheFileLivesBesideTheProgramOrInTheUsersConfigurationFolder)
{
    ScratchDirectory dir;
    const std::string folder = dir.Path().string();
    EXPECT_EQ(SettingsPathFor(folder, "/home/u/cfg", "/home/u"), folder + "/Pylonix.ini");
    // When the program's folder cannot be written (here: it does not exist).
    const std::string missing = dir.PathOf("no-such-folder");
    EXPECT_EQ(SettingsPathFor(missing, "/home/u/cfg", "/home/u"),
              "/home/u/cfg/pylonix/Pylonix.ini");
    EXPECT_EQ(SettingsPathFor(missing, "", "/home/u"), "/home/u/.config/pylonix/Pylonix.ini");
    // A relative XDG_CONFIG_HOME is to be ignored.
    EXPECT_EQ(SettingsPathFor(missing, "cfg", "/home/u"), "/home/u/.config/pylonix/Pylonix.ini");
    EXPECT_EQ(SettingsPathFor("", "/x", "/home/u"), "/x/pylonix/Pylonix.ini");
}

TEST(SettingsTest, TheFileGetsItsOwnValuesOfWhatThisRunOverrides)
{
    Settings inUse;
    inUse.gameFile = "run.xml";
    inUse.homeFile = "";
    inUse.visitorFile = "visitor.xml";
    inUse.defaultTeamFiles = false;
    inUse.showTOP = false;

    OverriddenFileValues fileValues;
    EXPECT_EQ(fileValues.ForFile(inUse), inUse) << "nothing overridden: the values in use";

    fileValues.gameFile = "file.xml";
    fileValues.homeFile = "home.xml";
    fileValues.defaultTeamFiles = true;
    Settings expected = inUse;
    expected.gameFile = "file.xml";
    expected.homeFile = "home.xml";
    expected.defaultTeamFiles = true;
    EXPECT_EQ(fileValues.ForFile(inUse), expected);
}

} // namespace
