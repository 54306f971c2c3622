#include "GameFileChecker.h"

#include "GameSimulator.h"
#include "GameXmlWriter.h"
#include "RosterFactory.h"
#include "TextEncoding.h"
#include "XmlWriter.h"

#include <gtest/gtest.h>

using namespace pylonix::feed;
using namespace pylonix::feed::testing;

namespace
{

std::string finishedGame(Encoding encoding)
{
    const RosterFactory rosters;
    GameSimulator simulator(9, rosters.home(), rosters.visitor());
    simulator.run({});
    return GameXmlWriter::write(simulator.state(), encoding);
}

TEST(XmlEscaping, ReplacesTheFiveSpecialCharacters)
{
    EXPECT_EQ(XmlWriter::escape("A & B <c> \"d\" 'e'"),
              "A &amp; B &lt;c&gt; &quot;d&quot; &apos;e&apos;");
    EXPECT_EQ(XmlWriter::escape("plain"), "plain");
}

TEST(XmlEscaping, WriterNestsElementsAndEscapesValues)
{
    XmlWriter xml;
    xml.open("a", {{"x", "1 < 2"}});
    xml.element("b", {{"y", "it's"}});
    xml.close("a");
    EXPECT_EQ(xml.take(), "<a x=\"1 &lt; 2\">\n <b y=\"it&apos;s\"/>\n</a>\n");
}

TEST(XmlEscaping, TeamNameWithAmpersandReadsBackUnchanged)
{
    pugi::xml_document document;
    ASSERT_TRUE(parse(document, finishedGame(Encoding::Utf8)));
    const auto team = document.child("fbgame").find_child_by_attribute("team", "vh", "V");
    EXPECT_STREQ(team.attribute("name").value(), "Aldric & Mercy Wardens");
}

TEST(Encodings, Utf8HasItsDeclarationAndMultiByteLetters)
{
    const std::string text = finishedGame(Encoding::Utf8);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<fbgame", 0), 0u);
    EXPECT_NE(text.find("Pe\xC3\xB1"
                        "alosa"),
              std::string::npos);
}

TEST(Encodings, Windows1252HasNoDeclarationAndOneByteLetters)
{
    const std::string text = finishedGame(Encoding::Windows1252);
    EXPECT_EQ(text.rfind("<fbgame", 0), 0u);
    EXPECT_EQ(text.find("<?xml"), std::string::npos);
    EXPECT_NE(text.find("Pe\xF1"
                        "alosa"),
              std::string::npos);
    EXPECT_EQ(text.find("\xC3"), std::string::npos);

    pugi::xml_document document;
    ASSERT_TRUE(
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_latin1));
    const auto home = document.child("fbgame").find_child_by_attribute("team", "vh", "H");
    EXPECT_FALSE(home.find_child_by_attribute("player", "name",
                                              "Mateo Pe\xC3\xB1"
                                              "alosa")
                     .empty());
    // Same content as the UTF-8 file once decoded.
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    EXPECT_EQ(toWindows1252(finishedGame(Encoding::Utf8).substr(declaration.size())), text);
}

TEST(Encodings, Windows1252ConversionMapsItsOwnLettersAndMarksTheRest)
{
    EXPECT_EQ(toWindows1252("\xC3\xB1\xC3\x91"), "\xF1\xD1");
    EXPECT_EQ(toWindows1252("\xE2\x82\xAC \xE2\x80\x94"), "\x80 \x97"); // euro sign, em dash
    EXPECT_EQ(toWindows1252("\xE6\x9D\xB1"), "?");                      // not in the code page
    EXPECT_EQ(toWindows1252("abc\xC3"), "abc?");                        // cut-off sequence
}

TEST(Encodings, NamesAreRecognised)
{
    EXPECT_EQ(encodingFromName("utf-8"), Encoding::Utf8);
    EXPECT_EQ(encodingFromName("windows-1252"), Encoding::Windows1252);
    EXPECT_FALSE(encodingFromName("latin-9"));
}

} // namespace
