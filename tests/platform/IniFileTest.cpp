#include "platform/IniFile.h"

#include "../support/ScratchDirectory.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{

// A settings file as a Windows program leaves it: CRLF line ends, a comment,
// other sections (one with a key of the same name), names in other cases,
// blanks around the equals sign and a quoted value.
const std::string kWindowsFile = "; written by the stats program\r\n"
                                 "[Display]\r\n"
                                 "Width=800\r\n"
                                 "\r\n"
                                 "[PYLONIX]\r\n"
                                 "gamefile = C:\\Games\\week3\\game.xml\r\n"
                                 "HOMEFILE=\"C:\\Games\\home.xml\"\r\n"
                                 "ShowTop=0\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "GameFile=not this one\r\n";

TEST(IniFileTest, ReadsKeysOfTheSectionWhateverTheirCase)
{
    ScratchDirectory dir;
    const IniFile ini(dir.Write("Pylonix.ini", kWindowsFile));
    EXPECT_EQ(ini.GetString("Pylonix", "GameFile"), "C:\\Games\\week3\\game.xml");
    EXPECT_EQ(ini.GetString("pylonix", "HomeFile"), "C:\\Games\\home.xml");
    EXPECT_EQ(ini.GetInt("Pylonix", "ShowTOP", 1), 0);
    EXPECT_EQ(ini.GetString("Pylonix", "VstrFile", "none"), "none");
    EXPECT_EQ(ini.GetInt("Pylonix", "DefaultTeamFiles", 1), 1);
    EXPECT_EQ(ini.GetString("Other", "GAMEFILE"), "not this one");
    EXPECT_EQ(ini.GetString("Missing", "Width", "x"), "x");
    // A key of another section is not found in this one.
    EXPECT_EQ(ini.GetString("Pylonix", "Width", "x"), "x");

    const IniFile numbers(
        dir.Write("Numbers.ini", "[N]\nA=-3\nB= 12abc\nC=abc\nD=\nE=99999999999\n"));
    EXPECT_EQ(numbers.GetInt("N", "A", 7), -3);
    EXPECT_EQ(numbers.GetInt("N", "B", 7), 12);
    EXPECT_EQ(numbers.GetInt("N", "C", 7), 0);
    EXPECT_EQ(numbers.GetInt("N", "D", 7), 7); // empty: the default
    EXPECT_EQ(numbers.GetInt("N", "E", 7), INT_MAX);
}

TEST(IniFileTest, MissingFileAndFolderAreCreatedWithCrLf)
{
    ScratchDirectory dir;
    const std::string path = dir.PathOf("config/pylonix/Pylonix.ini");
    IniFile ini(path);
    EXPECT_EQ(ini.GetString("Pylonix", "GameFile", "default"), "default");
    ini.SetString("Pylonix", "GameFile", "game.xml");
    ini.SetString("Pylonix", "ShowTOP", "0");
    std::string error;
    ASSERT_TRUE(ini.Save(error)) << error;
    EXPECT_EQ(ReadFile(path), "[Pylonix]\r\nGameFile=game.xml\r\nShowTOP=0\r\n");
    // Nothing is left beside it but the file itself.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), {}), 1);
}

TEST(IniFileTest, LfFileStaysLfAndAnUnterminatedLastLineIsEnded)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("Pylonix.ini", "[Other]\nA=1\n[Pylonix]\nGameFile=a.xml");
    IniFile ini(path);
    ini.SetString("Pylonix", "HomeFile", "h.xml");
    ini.SetString("New", "Key", "v");
    std::string error;
    ASSERT_TRUE(ini.Save(error)) << error;
    EXPECT_EQ(ReadFile(path),
              "[Other]\nA=1\n[Pylonix]\nGameFile=a.xml\nHomeFile=h.xml\n[New]\nKey=v\n");
}

TEST(IniFileTest, ValuesAreCutTo259CharactersWithoutSplittingOne)
{
    ScratchDirectory dir;
    std::string accented;
    for (int i = 0; i < 300; ++i)
        accented += "\xC3\xA9"; // é, two bytes in UTF-8
    const IniFile ini(dir.Write("Pylonix.ini", "[Pylonix]\r\nGameFile=" + std::string(300, 'a') +
                                                   "\r\nHomeFile=" + accented + "\r\n"));
    EXPECT_EQ(ini.GetString("Pylonix", "GameFile"), std::string(259, 'a'));
    EXPECT_EQ(ini.GetString("Pylonix", "HomeFile"), accented.substr(0, 2 * 259));
}

TEST(IniFileTest, AValueWithALineBreakCannotAddKeys)
{
    ScratchDirectory dir;
    const std::string path = dir.PathOf("Pylonix.ini");
    IniFile ini(path);
    ini.SetString("Pylonix", "HomeFile", "home.xml\r\nGameFile=/etc/passwd");
    std::string error;
    ASSERT_TRUE(ini.Save(error)) << error;
    const IniFile reread(path);
    EXPECT_EQ(reread.GetString("Pylonix", "HomeFile"), "home.xml");
    EXPECT_EQ(reread.GetString("Pylonix", "GameFile", "unset"), "unset");
}

TEST(IniFileTest, SaveReplacesTheFileALinkNamesAndKeepsItsMode)
{
    ScratchDirectory dir;
    const std::string real = dir.Write("real.ini", "[Pylonix]\r\nShowTOP=1\r\n");
    ::chmod(real.c_str(), 0640);
    const std::string link = dir.PathOf("Pylonix.ini");
    fs::create_symlink(real, link);
    IniFile ini(link);
    ini.SetString("Pylonix", "ShowTOP", "0");
    std::string error;
    ASSERT_TRUE(ini.Save(error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "[Pylonix]\r\nShowTOP=0\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(IniFileTest, SaveThatCannotWriteFailsWithTheReasonAndLeavesNothing)
{
    ScratchDirectory dir;
    // The folder cannot be made: a plain file stands where it should be.
    dir.Write("config", "not a folder");
    IniFile ini(dir.PathOf("config/Pylonix.ini"));
    ini.SetString("Pylonix", "GameFile", "game.xml");
    std::string error;
    EXPECT_FALSE(ini.Save(error));
    EXPECT_NE(error.find("config"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(dir.PathOf("config")), "not a folder");
}

} // namespace
