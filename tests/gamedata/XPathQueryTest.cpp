#include "gamedata/XPathQuery.h"
#include "gamedata/XPathQueryCache.h"

#include "../support/ScratchDirectory.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace
{

// The nodes an expression selects, as "name=value" texts, through a given route.
std::vector<std::string> describe(const std::vector<pugi::xpath_node> &nodes)
{
    std::vector<std::string> texts;
    for (const auto &node : nodes) {
        if (node.attribute())
            texts.push_back(std::string("@") + node.attribute().name() + "=" +
                            node.attribute().value());
        else
            texts.push_back(std::string(node.node().name()) + "#" +
                            std::to_string(node.node().offset_debug()));
    }
    return texts;
}

std::vector<std::string> byEngine(const char *text, const pugi::xml_node &context)
{
    pugi::xpath_node_set set = context.select_nodes(text);
    set.sort();
    return describe(std::vector<pugi::xpath_node>(set.begin(), set.end()));
}

} // namespace

TEST(XPathQuery, SimplePathsAreWalkedDirectlyAndOthersGoToTheEngine)
{
    EXPECT_TRUE(XPathQuery("@comp").IsDirect());
    EXPECT_TRUE(XPathQuery("pass").IsDirect());
    EXPECT_TRUE(XPathQuery("/fbgame/team[@vh='H']/@name").IsDirect());
    EXPECT_TRUE(XPathQuery("/fbgame/plays/qtr[@number=\"2\"]/drivestart[@vh='V']").IsDirect());
    EXPECT_TRUE(XPathQuery("../@number").IsDirect());
    EXPECT_FALSE(XPathQuery("//play").IsDirect());
    EXPECT_FALSE(XPathQuery("/fbgame/team[1]/@name").IsDirect());
    EXPECT_FALSE(XPathQuery("count(/fbgame/team)").IsDirect());
    EXPECT_FALSE(XPathQuery("/fbgame/team[@vh = 'H']").IsDirect());
    EXPECT_FALSE(XPathQuery("/fbgame/").IsValid());
    EXPECT_FALSE(XPathQuery("").IsValid());
}

// Every expression the loaders use must select exactly what the XPath engine
// selects, in the same order, on a real game.
TEST(XPathQuery, DirectWalkSelectsWhatTheEngineSelects)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(PYLONIX_SAMPLES_DIR "/small/game.xml"));
    const pugi::xml_node firstPlayer = document.select_node("/fbgame/team/player").node();
    const pugi::xml_node aPlay = document.select_node("/fbgame/plays/qtr/play[3]").node();
    const struct {
        const char *text;
        pugi::xml_node context;
    } cases[] = {
        {"/fbgame/team[@vh='H']/@name", document},
        {"/fbgame/team[@vh='V']/player", document},
        {"/fbgame/team/player", document},
        {"/fbgame/team/player/@name", document},
        {"/fbgame/team[@vh='X']/@name", document},
        {"/fbgame/plays/qtr/drivestart", document},
        {"/fbgame/plays/qtr[@number='1']/drivestart[@vh='H']", document},
        {"/fbgame/plays/qtr/play", document},
        {"/fbgame/drives/drive[@driveindex='3']", document},
        {"/fbgame/scores/score[@driveindex='2']/@qtr", document},
        {"/fbgame/venue/rules/@field", firstPlayer},
        {"pass", firstPlayer},
        {"@checkname", firstPlayer},
        {"pass/@yds", firstPlayer},
        {"../@number", aPlay},
        {"../../downtogo/@clock", aPlay},
        {"@text", aPlay},
        {"nothing/@at", aPlay},
    };
    for (const auto &c : cases) {
        const XPathQuery query(c.text);
        ASSERT_TRUE(query.IsDirect()) << c.text;
        const auto expected = byEngine(c.text, c.context);
        EXPECT_EQ(describe(query.SelectAll(c.context)), expected) << c.text;
        const auto first = query.SelectFirst(c.context);
        EXPECT_EQ(expected.empty() ? std::vector<std::string>{} : std::vector{expected.front()},
                  first ? describe({first}) : std::vector<std::string>{})
            << c.text;
    }
}

// XML allows an attribute name once per element; of a repeated one the
// engine sees only the first, and so does the walk.
TEST(XPathQuery, OfARepeatedAttributeOnlyTheFirstCounts)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string("<r><t vh='V' vh='H' n='a'/><t vh='H' n='b'/></r>"));
    for (const char *text : {"/r/t[@vh='H']/@n", "/r/t[@vh='V']", "/r/t/@vh"}) {
        const XPathQuery query(text);
        ASSERT_TRUE(query.IsDirect()) << text;
        EXPECT_EQ(describe(query.SelectAll(document)), byEngine(text, document)) << text;
    }
    EXPECT_STREQ(XPathQuery("/r/t[@vh='H']/@n").SelectFirst(document).attribute().value(), "b");
}

// Seeded random trees (with repeated attributes and processing instructions)
// and random paths of every form the walk accepts, from every element: the
// walk and the engine must agree on each, in order, and on the first node.
TEST(XPathQuery, DirectWalkMatchesTheEngineOnGeneratedTrees)
{
    std::mt19937 random(2026);
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char *const names[] = {"a", "b", "c"};
    const char *const attributes[] = {"x", "y"};
    const char *const values[] = {"1", "2", ""};
    std::function<std::string(int)> element = [&](int depth) {
        const std::string name = names[pick(3)];
        std::string text = "<" + name;
        for (int i = pick(4); i > 0; --i)
            text += std::string(" ") + attributes[pick(2)] + "='" + values[pick(3)] + "'";
        const int children = depth < 4 ? pick(4) : 0;
        if (children == 0)
            return text + "/>";
        text += ">";
        for (int i = 0; i < children; ++i)
            text += pick(5) == 0 ? "<?a pi?>" : element(depth + 1);
        return text + "</" + name + ">";
    };
    auto path = [&] {
        const char *const starts[] = {"", "/", "../", "../../"};
        std::string text = starts[pick(4)];
        for (int step = pick(3); step >= 0; --step) {
            text += names[pick(3)];
            if (pick(3) == 0) {
                const char quote = pick(2) ? '\'' : '"';
                text += std::string("[@") + attributes[pick(2)] + "=" + quote + values[pick(3)] +
                        quote + "]";
            }
            if (step > 0)
                text += "/";
        }
        return pick(2) ? text + "/@" + attributes[pick(2)] : text;
    };

    int compared = 0;
    for (int tree = 0; tree < 100; ++tree) {
        const std::string xml = element(0);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(xml.c_str(), pugi::parse_default | pugi::parse_pi));
        std::vector<pugi::xml_node> contexts{document};
        for (const pugi::xpath_node &found : document.select_nodes("//*"))
            contexts.push_back(found.node());
        for (int q = 0; q < 30; ++q) {
            const std::string text = path();
            const XPathQuery query(text);
            ASSERT_TRUE(query.IsDirect()) << text;
            for (const pugi::xml_node &context : contexts) {
                const auto expected = byEngine(text.c_str(), context);
                ASSERT_EQ(describe(query.SelectAll(context)), expected) << text << " on " << xml;
                const auto first = query.SelectFirst(context);
                ASSERT_EQ(first ? describe({first}) : std::vector<std::string>{},
                          expected.empty() ? std::vector<std::string>{}
                                           : std::vector{expected.front()})
                    << text << " on " << xml;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 10000);
}

// A number, string or boolean is no selection: it selects nothing rather than
// throwing out of the query.
TEST(XPathQuery, ExpressionsWithoutNodesSelectNothing)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string("<fbgame><team vh='H' name='Ports'/></fbgame>"));
    for (const char *text : {"count(/fbgame/team)", "string(/fbgame/team/@name)",
                             "/fbgame/team/@name = 'Ports'", "1 + 1"}) {
        const XPathQuery query(text);
        EXPECT_FALSE(query.IsValid()) << text;
        EXPECT_FALSE(query.SelectFirst(document)) << text;
        EXPECT_TRUE(query.SelectAll(document).empty()) << text;
    }
}

// A name test selects elements only, whatever other named nodes the parser
// was asked to keep: processing instructions and the declaration.
TEST(XPathQuery, NameStepsSelectElementsOnly)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(
        "<?xml version='1.0'?><?r first?><r><?pass p?><pass a='1'/><?pass q?><pass a='2'/></r>",
        pugi::parse_default | pugi::parse_pi | pugi::parse_declaration));
    const pugi::xml_node root = document.document_element();
    for (const auto &[text, context] : {std::pair{"/xml", pugi::xml_node(document)},
                                        {"/r", document},
                                        {"r", document},
                                        {"/r/pass", document},
                                        {"pass", root},
                                        {"/r/pass/@a", document},
                                        {"pass/@a", root}}) {
        const XPathQuery query(text);
        ASSERT_TRUE(query.IsDirect()) << text;
        const auto expected = byEngine(text, context);
        EXPECT_EQ(describe(query.SelectAll(context)), expected) << text;
        const auto first = query.SelectFirst(context);
        EXPECT_EQ(first ? describe({first}) : std::vector<std::string>{},
                  expected.empty() ? std::vector<std::string>{} : std::vector{expected.front()})
            << text;
    }
}

// A live file whose scores bring ever new team codes must not grow the
// cache without bound; the queries it hands out still select the right nodes.
TEST(XPathQueryCache, StaysBoundedWhateverTextsTheFileBrings)
{
    pugi::xml_document document;
    ASSERT_TRUE(
        document.load_string("<fbgame><team vh='H' id='A'/><team vh='V' id='B'/></fbgame>"));
    XPathQueryCache cache;
    const XPathQuery *home = &cache.Get("/fbgame/team[@vh='H']/@id");
    EXPECT_EQ(home, &cache.Get("/fbgame/team[@vh='H']/@id")) << "compiled once";
    const std::string longCode(900, 'x');
    for (int i = 0; i < 5000; ++i) {
        const std::string text = "/fbgame/team[@vh='" + longCode + std::to_string(i) + "']/@id";
        EXPECT_FALSE(cache.Get(text).SelectFirst(document)) << i;
        ASSERT_LE(cache.Size(), XPathQueryCache::MaximumQueries);
        ASSERT_LE(cache.TextBytes(), XPathQueryCache::MaximumTextBytes);
    }
    EXPECT_STREQ(cache.Get("/fbgame/team[@vh='V']/@id").SelectFirst(document).attribute().value(),
                 "B");
}
