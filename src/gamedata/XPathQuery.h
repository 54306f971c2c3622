#pragma once

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

// One XPath 1.0 expression, compiled once and evaluated many times.
//
// The loaders ask tens of thousands of small questions per reload ("@comp"
// below a player, "/fbgame/team[@vh='H']/@name" on the document). Paths made
// only of child steps with an optional [@name='value'] predicate, leading ".."
// steps and a final attribute step are walked directly on the tree, which
// gives the same nodes as the XPath engine in a fraction of the time; any other
// expression goes to pugixml's engine. An expression that does not compile,
// or whose value is not a set of nodes, selects nothing.
class XPathQuery
{
public:
    explicit XPathQuery(std::string_view text);

    // The first selected node in document order, or an empty node.
    pugi::xpath_node SelectFirst(const pugi::xml_node &context) const;

    // Every selected node, in document order.
    std::vector<pugi::xpath_node> SelectAll(const pugi::xml_node &context) const;

    // False when the expression is not valid XPath or gives no node set.
    bool IsValid() const;

    // True when the expression is walked directly rather than by the engine.
    bool IsDirect() const { return direct_; }

private:
    struct Step {
        std::string name;          // element or attribute name
        std::string predicateName; // attribute compared in [@name='value'], or empty
        std::string predicateValue;
        bool isAttribute = false; // final "@name" step
    };

    bool parseDirect(std::string_view text);
    // Walks the child steps from `node`; calls `visit` for each selected node
    // until it returns false. Returns false when the walk was stopped.
    template <typename Visit>
    bool walk(const pugi::xml_node &node, size_t stepIndex, Visit &visit) const;

    bool direct_ = false;
    bool absolute_ = false;
    int parentSteps_ = 0;
    std::vector<Step> steps_;
    // Compiled expressions are immutable, so copies share them.
    std::shared_ptr<const pugi::xpath_query> engine_;
};
