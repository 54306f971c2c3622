#include "platform/IniFile.h"

#include "../support/ScratchDirectory.h"

#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(IniFileTest, ALastLineEndedByALoneCrKeepsItsValueWhenTheFileIsWritten)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("Pylonix.ini", "[Other]\r\nKept=abc\r");
    IniFile ini(path);
    EXPECT_EQ(ini.GetString("Other", "Kept", ""), "abc");
    ini.SetString("Pylonix", "GameFile", "a.xml");
    std::string error;
    ASSERT_TRUE(ini.Save(error)) << error;
    EXPECT_EQ(ReadFile(path), "[Other]\r\nKept=abc\r\n[Pylonix]\r\nGameFile=a.xml\r\n");
    EXPECT_EQ(IniFile(path).GetString("Other", "Kept", ""), "abc");
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

// A FIFO would block the reader and a device may never end: only a regular
// file of sane size is read, and whatever else stands there is left alone.
TEST(IniFileTest, OnlyARegularFileOfSaneSizeIsReadOrReplaced)
{
    ScratchDirectory dir;
    const std::string fifo = dir.PathOf("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A writer that never writes: a read of the FIFO would wait for it for ever.
    const int writer = ::open(fifo.c_str(), O_RDWR);
    auto reading = std::async(std::launch::async, [&fifo] { return IniFile(fifo); });
    const bool returned = reading.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    ::close(writer); // ends a read that waits
    ASSERT_TRUE(returned) << "reading a FIFO blocked";
    IniFile fromFifo = reading.get();
    EXPECT_EQ(fromFifo.ReadError(), "not a regular file");
    fromFifo.SetString("Pylonix", "ShowTOP", "0");
    std::string error;
    EXPECT_FALSE(fromFifo.Save(error));
    EXPECT_TRUE(fs::is_fifo(fifo));

    const IniFile device("/dev/zero");
    EXPECT_EQ(device.ReadError(), "not a regular file");
    EXPECT_EQ(device.GetString("Pylonix", "GameFile", "default"), "default");

    const std::string huge = "[Pylonix]\nShowTOP=0\n" + std::string(IniFile::MaximumFileSize, ';');
    IniFile big(dir.Write("big.ini", huge));
    EXPECT_EQ(big.ReadError(), "larger than 1 MiB");
    EXPECT_EQ(big.GetInt("Pylonix", "ShowTOP", 1), 1) << "the defaults apply";
    EXPECT_FALSE(big.Save(error));
    EXPECT_EQ(ReadFile(dir.PathOf("big.ini")), huge);
}

// Renaming over a file needs only the folder's permission: a file its user
// may not write, or one without any write bit (even for root), stays as it is.
TEST(IniFileTest, AFileWithoutWritePermissionIsLeftAlone)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("Pylonix.ini", "[Pylonix]\r\nShowTOP=1\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadError(), "");
    ini.SetString("Pylonix", "ShowTOP", "0");
    std::string error;
    EXPECT_FALSE(ini.Save(error));
    EXPECT_EQ(error, path + ": the file is read-only");
    EXPECT_EQ(ReadFile(path), "[Pylonix]\r\nShowTOP=1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1) << "no file left beside it";
}

} // namespace
