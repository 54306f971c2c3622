#include "gamedata/CGameDocument.h"
#include "gamedata/CTeamStats.h"
#include "gamedata/XmlDocumentAccess.h"
#include "gamedata/XmlEncoding.h"

#include "../support/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace
{

const std::string venueGame = R"(<fbgame><venue attend="" location="Harbor City"/>
  <team vh="H" name="First"/><team vh="H" name="Second"/></fbgame>)";

} // namespace

TEST(XmlDocumentOpen, ReopensFromAFreshCopyAndLeavesNoFileBehind)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("game.xml", venueGame);
    {
        CGameDocument document;
        ASSERT_TRUE(document.Open(path)) << document.LastError();
        dir.Write("game.xml", "<fbgame><venue location='Second'/></fbgame>");
        ASSERT_TRUE(document.Open(path));
        EXPECT_EQ(document.GetText("/fbgame/venue/@location"), "Second");
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path().parent_path() / "tmp"))
            << "the copy has no name while it is read";
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path().parent_path() / "tmp"));
}

TEST(XmlDocumentOpen, EmptyOrTruncatedFileFailsWithAReason)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_FALSE(document.Open(dir.Write("empty.xml", "")));
    EXPECT_EQ(document.LastError(), "no document element found at byte 0");
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::NoDocumentElement);
    EXPECT_EQ(document.LastLoadError().offset, 0);

    EXPECT_FALSE(document.Open(dir.Write("cut.xml", "<fbgame><venue attend=\"12")));
    EXPECT_NE(document.LastError().find("at byte"), std::string::npos) << document.LastError();
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path().parent_path() / "tmp"));
}

// What the parser lets through but XML forbids: a file like that is
// ambiguous (which "vh" names the side?), so it fails like any broken file.
TEST(XmlDocumentOpen, DuplicateAttributesOrASecondRootFailWithTheReason)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));

    EXPECT_FALSE(
        document.Open(dir.Write("dup.xml", "<fbgame><team vh='V' name='A' vh='H'/></fbgame>")));
    EXPECT_EQ(document.LastError(), "duplicate attribute vh at byte 9");
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::DuplicateAttribute);
    EXPECT_EQ(document.LastLoadError().offset, 9);
    std::string many = "<fbgame><team";
    for (int i = 0; i < 40; ++i)
        many += " a" + std::to_string(i) + "='x'";
    EXPECT_FALSE(document.Open(dir.Write("many.xml", many + " a7='y'/></fbgame>")));
    EXPECT_EQ(document.LastError(), "duplicate attribute a7 at byte 9");

    EXPECT_FALSE(document.Open(dir.Write("two.xml", "<fbgame/>\n<fbgame><team vh='H'/></fbgame>")));
    EXPECT_EQ(document.LastError(), "a second root element at byte 11");
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::SecondRootElement);
    EXPECT_EQ(document.LastLoadError().offset, 11);
    EXPECT_EQ(document.GetText("/fbgame/venue/@location"), "Harbor City") << "the game stays";

    // Names that share their first letters are told apart; equal ones are not.
    EXPECT_TRUE(document.Open(dir.Write("near.xml", "<t ab='1' abc='2' a='3' b='4' ba='5'/>")))
        << document.LastError();
    EXPECT_FALSE(document.Open(dir.Write("same.xml", "<t ab='1' abc='2' a='3' b='4' ab='5'/>")));
    EXPECT_EQ(document.LastError(), "duplicate attribute ab at byte 1");
    EXPECT_FALSE(document.Open(dir.Write("one.xml", "<t a='1' b='2' a='3'/>")));
    EXPECT_EQ(document.LastError(), "duplicate attribute a at byte 1");
    EXPECT_TRUE(document.Open(dir.Write("long.xml", "<t sack='1' sacks='2' sackyds='3'/>")))
        << document.LastError();
    EXPECT_FALSE(document.Open(dir.Write("longer.xml", "<t sacks='1' sackyds='2' sacks='3'/>")));
    EXPECT_EQ(document.LastError(), "duplicate attribute sacks at byte 1");
    EXPECT_TRUE(document.Open(dir.Write("tail.xml", "<fbgame a='1' b='1'/>\n<!-- saved -->\n")))
        << document.LastError();
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::Ok);
    EXPECT_EQ(document.LastError(), "");
}

// XML allows no NUL character, and the parser would stop at one: whatever
// follows it, a second root element included, would go unchecked.
TEST(XmlDocumentOpen, NulCharacterFailsAtItsByte)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));
    EXPECT_FALSE(document.Open(dir.Write("nul.xml", std::string("<fbgame/>\0<fbgame/>", 19))));
    EXPECT_EQ(document.LastError(), "a NUL character at byte 9");
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::NulCharacter);
    EXPECT_EQ(document.LastLoadError().offset, 9);
    EXPECT_EQ(document.GetText("/fbgame/venue/@location"), "Harbor City") << "the game stays";

    // In UTF-16 a NUL is a code unit of two zero bytes, not any zero byte.
    std::string wide = "\xFF\xFE";
    for (const char c : std::string("<p a='x'/>") + '\0' + "<q/>")
        wide += {c, '\0'};
    EXPECT_FALSE(document.Open(dir.Write("wide.xml", wide)));
    EXPECT_EQ(document.LastError(), "a NUL character at byte 22");
}

TEST(XmlDocumentOpen, MissingFileFailsNamingTheCause)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_FALSE(document.Open(dir.PathOf("nowhere.xml")));
    EXPECT_EQ(document.LastError(), "No such file or directory");
    EXPECT_EQ(document.LastLoadError().status, XmlLoadError::Status::FileError);
    EXPECT_EQ(document.LastLoadError().offset, -1);
}

// A reload that catches the file half-written must not blank the game.
TEST(XmlDocumentOpen, FailedReloadKeepsThePreviousContent)
{
    ScratchDirectory dir;
    const std::string path = dir.Write("game.xml", venueGame);
    CGameDocument document;
    ASSERT_TRUE(document.Open(path));
    dir.Write("game.xml", "<fbgame><venue loc");
    EXPECT_FALSE(document.Open(path));
    EXPECT_EQ(document.GetText("/fbgame/venue/@location"), "Harbor City");

    CTeamStats home;
    home.SetSide('H');
    home.LoadGame(document);
    EXPECT_EQ(home.GetTeamValue("Name"), "First");

    // Reload after reload, long and short files (a few bytes among them),
    // each followed by a failed one: the held version is never read over.
    for (const std::string location : {"Harbor City", "X", "Northfield Memorial Stadium", "Y"}) {
        SCOPED_TRACE(location);
        dir.Write("game.xml", "<v l='" + location + "'/>");
        ASSERT_TRUE(document.Open(path)) << document.LastError();
        dir.Write("game.xml", "<v l='broken" + std::string(40, '.'));
        EXPECT_FALSE(document.Open(path));
        EXPECT_FALSE(document.Open(dir.PathOf("missing.xml")));
        EXPECT_EQ(document.GetText("/v/@l"), location);
    }
}

TEST(XmlDocumentOpen, RecreateGivesAnEmptyDocument)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));
    EXPECT_FALSE(document.Create()) << "a second Create must change nothing";
    EXPECT_EQ(document.GetText("/fbgame/venue/@location"), "Harbor City");
    ASSERT_TRUE(document.Recreate());
    EXPECT_FALSE(document.HasRoot());
    EXPECT_EQ(document.GetText("/fbgame/venue/@location", "none"), "none");
    EXPECT_EQ(document.SelectNodes("/fbgame/team")->size(), 0u);
}

TEST(XmlDocumentOpen, ReleasedDocumentCannotOpenOrSelect)
{
    ScratchDirectory dir;
    CGameDocument document;
    document.ReleaseDocument();
    EXPECT_FALSE(document.IsCreated());
    EXPECT_FALSE(document.Open(dir.Write("game.xml", venueGame)));
    EXPECT_EQ(dir.TemporaryCopies(), 0) << "no copy is made without a document";
    EXPECT_FALSE(document.SelectNodes("/fbgame").has_value());
    EXPECT_EQ(document.GetText("/fbgame/@x", "d"), "d");
}

TEST(XmlDocumentText, DefaultsOnlyWhenNothingMatches)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));
    EXPECT_EQ(document.GetText("/fbgame/venue/@attend", "0"), "") << "present but empty";
    EXPECT_EQ(document.GetText("/fbgame/venue/@stadium", "0"), "0");
    EXPECT_EQ(document.GetText("/fbgame/venue/@stadium"), "");
    EXPECT_EQ(document.GetText("/fbgame/team/@name"), "First") << "first in document order";
    EXPECT_EQ(document.GetText("/fbgame/venue", "d"), "") << "an element has no value";
    EXPECT_EQ(document.GetText("/fbgame/venue[", "bad"), "bad") << "invalid XPath matches nothing";
    EXPECT_FALSE(document.SelectNodes("/fbgame/venue[").has_value());
    EXPECT_EQ(document.GetText("count(/fbgame/team)", "none"), "none") << "a number is no node";
    EXPECT_FALSE(document.SelectNodes("count(/fbgame/team)").has_value());
}

TEST(XmlDocumentText, NodeTextIsRelativeToItsNode)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));
    const auto teams = document.SelectNodes("/fbgame/team");
    ASSERT_EQ(teams->size(), 2u);
    EXPECT_EQ(document.GetNodeText((*teams)[1], "@name", ""), "Second");
    EXPECT_EQ(document.GetNodeText((*teams)[1], "../venue/@location", ""), "Harbor City");
    EXPECT_EQ(document.GetNodeText(CXmlNode(), "@name", "none"), "none");
}

// Loaders inside the data layer ask compiled queries; they answer as the text ones.
TEST(XmlDocumentText, CompiledQueriesAnswerAsTextQueries)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("game.xml", venueGame)));
    const auto teams = document.SelectNodes("/fbgame/team");
    ASSERT_EQ(teams->size(), 2u);
    const CXmlNode second = (*teams)[1];
    EXPECT_EQ(XmlDocumentAccess::GetNodeText(document, second, XPathQuery("@name"), "d"), "Second");
    EXPECT_EQ(XmlDocumentAccess::GetNodeText(document, second, XPathQuery("@none"), "d"), "d");
    const CXmlNode venue =
        XmlDocumentAccess::SelectSingleNode(document, second, XPathQuery("../venue"));
    EXPECT_EQ(venue, document.SelectSingleNode("/fbgame/venue"));
    EXPECT_STREQ(XmlDocumentAccess::NodeOf(venue).name(), "venue");
    EXPECT_EQ(XmlDocumentAccess::HandleOf(XmlDocumentAccess::NodeOf(second)), second);
    EXPECT_FALSE(XmlDocumentAccess::SelectSingleNode(document, second, XPathQuery("@name")))
        << "an attribute is no element";
}

TEST(XmlDocumentEncoding, DeclaredSingleByteEncodingsKeepEveryCharacter)
{
    ScratchDirectory dir;
    CGameDocument document;
    // "Ñúñez" in ISO-8859-1 and windows-1252 bytes; 0x80 is the euro sign in windows-1252.
    ASSERT_TRUE(document.Open(dir.Write(
        "latin1.xml",
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><p name=\"\xD1\xFA\xF1\x65z\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
    ASSERT_TRUE(document.Open(dir.Write(
        "cp1252.xml",
        "<?xml version='1.0' encoding='windows-1252'?><p name='\xD1\xFA\xF1\x65z \x80'/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez €");
}

TEST(XmlDocumentEncoding, UndeclaredBytesThatAreNotUtf8ReadAsWindows1252)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("raw.xml", "<p name=\"Mu\xF1oz \x93Q\x94\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Muñoz “Q”");
    // A file that claims UTF-8 but was written in the Windows code page reads the same way.
    ASSERT_TRUE(document.Open(dir.Write(
        "claims.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p name=\"Mu\xF1oz\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Muñoz");
    // Valid UTF-8 stays as it is.
    ASSERT_TRUE(document.Open(dir.Write("utf8.xml", "\xEF\xBB\xBF<p name=\"Ñúñez\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
}

// A stray byte in a UTF-8 file costs that byte alone, not every accent of the file.
TEST(XmlDocumentEncoding, InvalidBytesOfAUtf8FileAreReplacedAlone)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("stray.xml", "<p name=\"Ñúñez\" team=\"A\xFF\x42\"/>")))
        << document.LastError();
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
    EXPECT_EQ(document.GetText("/p/@team"), "A\uFFFD\x42");
    // A sequence cut short is one replacement; the byte that cut it stays.
    ASSERT_TRUE(document.Open(dir.Write(
        "cut.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p name=\"Ñúñez\" x=\"\xE2\x82z\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
    EXPECT_EQ(document.GetText("/p/@x"), "\uFFFDz");
    ASSERT_TRUE(document.Open(dir.Write("bom.xml", "\xEF\xBB\xBF<p name=\"Mu\xF1oz\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Mu\uFFFDoz") << "the byte-order mark says UTF-8";
}

// Well-formed multi-byte characters do not arise by chance in single-byte
// text: a file that has them is UTF-8, its bad bytes replaced, unless they are
// a small share of its bytes above 0x7F.
TEST(XmlDocumentEncoding, WellFormedCharactersOutweighSomeBadBytes)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(
        dir.Write("mixed.xml", "<p a=\"José\" b=\"Peña\" c=\"\xFF\" d=\"x\xE9y\" e=\"\x93\"/>")))
        << document.LastError();
    EXPECT_EQ(document.GetText("/p/@a"), "José");
    EXPECT_EQ(document.GetText("/p/@b"), "Peña");
    EXPECT_EQ(document.GetText("/p/@d"), "x\uFFFDy");
    // One pair that happens to form a character among many Windows accents.
    ASSERT_TRUE(document.Open(
        dir.Write("chance.xml", "<p a=\"\xC3\xA9\" b=\"\xD1\xFA\xF1\x65z \xE9\xE8\xE0\xF6\"/>")));
    EXPECT_EQ(document.GetText("/p/@a"), "Ã©");
    EXPECT_EQ(document.GetText("/p/@b"), "Ñúñez éèàö");
}

// A zero byte before "<" with no zero after the next character is no UTF-16:
// the NUL is reported where it is, not past the end of the file.
TEST(XmlDocumentEncoding, LeadingNulIsNoWideText)
{
    ScratchDirectory dir;
    CGameDocument document;
    EXPECT_FALSE(document.Open(dir.Write("nul0.xml", std::string("\0<fbgame a='1'/>", 17))));
    EXPECT_EQ(document.LastError(), "a NUL character at byte 0");
    EXPECT_FALSE(document.Open(dir.Write("nul1.xml", std::string("<\0fbgame/>", 10))));
    EXPECT_EQ(document.LastError(), "a NUL character at byte 1");
}

TEST(XmlEncoding, IllFormedSequencesBecomeOneReplacementEach)
{
    using XmlEncoding::ReplaceInvalidUtf8;
    const std::string fffd = "\uFFFD";
    EXPECT_EQ(ReplaceInvalidUtf8("plain Ñ €"), "plain Ñ €");
    EXPECT_EQ(ReplaceInvalidUtf8("\xC0\x80"), fffd + fffd) << "overlong";
    EXPECT_EQ(ReplaceInvalidUtf8("\xED\xA0\x80"), fffd + fffd + fffd) << "surrogate";
    EXPECT_EQ(ReplaceInvalidUtf8("\xF4\x90\x80\x80"), fffd + fffd + fffd + fffd)
        << "above U+10FFFF";
    EXPECT_EQ(ReplaceInvalidUtf8("\xF0\x9F\x98"), fffd) << "cut at the end";
    EXPECT_EQ(ReplaceInvalidUtf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_FALSE(XmlEncoding::IsValidUtf8("\xE0\x9F\xBF"));
    EXPECT_TRUE(XmlEncoding::IsValidUtf8("\xEF\xBF\xBD\xF4\x8F\xBF\xBF"));
}

// The byte-order mark says UTF-8 whatever the declaration claims.
TEST(XmlDocumentEncoding, Utf8ByteOrderMarkOutweighsTheDeclaration)
{
    ScratchDirectory dir;
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write(
        "bom.xml",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><p name=\"Ñúñez\"/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
    ASSERT_TRUE(document.Open(dir.Write(
        "bom1252.xml", "\xEF\xBB\xBF<?xml version='1.0' encoding='windows-1252'?><p name='€'/>")));
    EXPECT_EQ(document.GetText("/p/@name"), "€");
}

TEST(XmlDocumentEncoding, Utf16WithByteOrderMarkReads)
{
    ScratchDirectory dir;
    const std::u16string text =
        u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?><p name=\"Ñúñez\"/>";
    std::string little, big;
    for (const char16_t c : text) {
        little += static_cast<char>(c & 0xFF), little += static_cast<char>(c >> 8);
        big += static_cast<char>(c >> 8), big += static_cast<char>(c & 0xFF);
    }
    CGameDocument document;
    ASSERT_TRUE(document.Open(dir.Write("le.xml", little))) << document.LastError();
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
    ASSERT_TRUE(document.Open(dir.Write("be.xml", big))) << document.LastError();
    EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez");
}

// Without a byte-order mark, the zero bytes around the first "<" tell UTF-16
// and UTF-32 apart from UTF-8, in either byte order.
TEST(XmlDocumentEncoding, WideTextWithoutByteOrderMarkReads)
{
    ScratchDirectory dir;
    const std::u32string text = U"<p name=\"Ñúñez\"/>";
    std::string utf16le, utf32le, utf32be;
    for (const char32_t c : text) {
        const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        utf16le += {low, high};
        utf32le += {low, high, '\0', '\0'};
        utf32be += {'\0', '\0', high, low};
    }
    CGameDocument document;
    for (const auto &[name, bytes] :
         {std::pair{"16le.xml", utf16le}, {"32le.xml", utf32le}, {"32be.xml", utf32be}}) {
        ASSERT_TRUE(document.Open(dir.Write(name, bytes))) << name << ": " << document.LastError();
        EXPECT_EQ(document.GetText("/p/@name"), "Ñúñez") << name;
    }
}
