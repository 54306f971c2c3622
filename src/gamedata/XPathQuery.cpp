#include "XPathQuery.h"

namespace
{

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Reads an unprefixed name at the front of `text`; empty when there is none.
std::string_view takeName(std::string_view &text)
{
    if (text.empty() || !isNameStart(text.front()))
        return {};
    size_t length = 1;
    while (length < text.size() && isNameChar(text[length]))
        ++length;
    const std::string_view name = text.substr(0, length);
    text.remove_prefix(length);
    return name;
}

bool takeChar(std::string_view &text, char c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

// The first child element named `name` from `child` on, or an empty node. A
// processing instruction or the declaration has a name too, but a name test
// selects elements only.
pugi::xml_node elementFrom(pugi::xml_node child, const char *name)
{
    while (child && child.type() != pugi::node_element)
        child = child.next_sibling(name);
    return child;
}

// Only the first attribute of a name counts, as in pugixml's engine: XML
// allows no second one.
bool attributeEquals(const pugi::xml_node &node, const char *name, const std::string &value)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    return attribute && value == attribute.value();
}

} // namespace

XPathQuery::XPathQuery(std::string_view text)
{
    direct_ = parseDirect(text);
    if (direct_)
        return;
    steps_.clear();
    try {
        engine_ = std::make_shared<const pugi::xpath_query>(std::string(text).c_str());
    } catch (const pugi::xpath_exception &) {
        engine_.reset();
    }
    // A number, string or boolean has no nodes to select; the engine would
    // throw when asked for them.
    if (engine_ && engine_->return_type() != pugi::xpath_type_node_set)
        engine_.reset();
}

bool XPathQuery::IsValid() const
{
    return direct_ || (engine_ && *engine_);
}

bool XPathQuery::parseDirect(std::string_view text)
{
    if (takeChar(text, '/')) {
        absolute_ = true;
    } else {
        while (text.substr(0, 2) == "..") {
            text.remove_prefix(2);
            ++parentSteps_;
            if (!takeChar(text, '/'))
                return false; // a bare ".." is left to the engine
        }
    }
    while (true) {
        Step step;
        if (takeChar(text, '@')) {
            step.isAttribute = true;
            step.name = takeName(text);
            if (step.name.empty() || !text.empty())
                return false; // an attribute step ends the path
            steps_.push_back(std::move(step));
            return true;
        }
        step.name = takeName(text);
        if (step.name.empty())
            return false;
        if (takeChar(text, '[')) {
            if (!takeChar(text, '@'))
                return false;
            step.predicateName = takeName(text);
            if (step.predicateName.empty() || !takeChar(text, '=') || text.empty())
                return false;
            const char quote = text.front();
            if (quote != '\'' && quote != '"')
                return false;
            const auto close = text.find(quote, 1);
            if (close == std::string_view::npos)
                return false;
            step.predicateValue = text.substr(1, close - 1);
            text.remove_prefix(close + 1);
            if (!takeChar(text, ']'))
                return false;
        }
        steps_.push_back(std::move(step));
        if (text.empty())
            return true;
        if (!takeChar(text, '/'))
            return false;
    }
}

template <typename Visit>
bool XPathQuery::walk(const pugi::xml_node &node, size_t stepIndex, Visit &visit) const
{
    const Step &step = steps_[stepIndex];
    if (step.isAttribute) {
        const pugi::xml_attribute attribute = node.attribute(step.name.c_str());
        return !attribute || visit(pugi::xpath_node(attribute, node));
    }
    const bool last = stepIndex + 1 == steps_.size();
    const char *name = step.name.c_str();
    for (pugi::xml_node child = elementFrom(node.child(name), name); child;
         child = elementFrom(child.next_sibling(name), name)) {
        if (!step.predicateName.empty() &&
            !attributeEquals(child, step.predicateName.c_str(), step.predicateValue))
            continue;
        if (last ? !visit(pugi::xpath_node(child)) : !walk(child, stepIndex + 1, visit))
            return false;
    }
    return true;
}

pugi::xpath_node XPathQuery::SelectFirst(const pugi::xml_node &context) const
{
    if (!direct_) {
        if (!engine_ || !*engine_ || !context)
            return {};
        return engine_->evaluate_node(context);
    }
    // One bare step below the context: the question every loader asks most.
    if (!absolute_ && parentSteps_ == 0 && steps_.size() == 1 && steps_[0].predicateName.empty()) {
        if (steps_[0].isAttribute)
            return pugi::xpath_node(context.attribute(steps_[0].name.c_str()), context);
        const char *name = steps_[0].name.c_str();
        return pugi::xpath_node(elementFrom(context.child(name), name));
    }
    pugi::xml_node start = absolute_ ? context.root() : context;
    for (int i = 0; i < parentSteps_ && start; ++i)
        start = start.parent();
    pugi::xpath_node first;
    if (!start)
        return first;
    auto keepFirst = [&first](const pugi::xpath_node &node) {
        first = node;
        return false;
    };
    walk(start, 0, keepFirst);
    return first;
}

std::vector<pugi::xpath_node> XPathQuery::SelectAll(const pugi::xml_node &context) const
{
    std::vector<pugi::xpath_node> nodes;
    if (!direct_) {
        if (!engine_ || !*engine_ || !context)
            return nodes;
        pugi::xpath_node_set set = engine_->evaluate_node_set(context);
        set.sort();
        nodes.assign(set.begin(), set.end());
        return nodes;
    }
    pugi::xml_node start = absolute_ ? context.root() : context;
    for (int i = 0; i < parentSteps_ && start; ++i)
        start = start.parent();
    if (!start)
        return nodes;
    auto collect = [&nodes](const pugi::xpath_node &node) {
        nodes.push_back(node);
        return true;
    };
    walk(start, 0, collect);
    return nodes;
}
