#pragma once

#include "GameRecords.h"

#include <string>
#include <string_view>

namespace pylonix::feed
{

// Builds XML text one element per line, escaping attribute values.
class XmlWriter
{
public:
    // <name a="v">, children follow until close().
    void open(std::string_view name, const Attributes &attributes = {});
    // <name a="v"/>
    void element(std::string_view name, const Attributes &attributes = {});
    // </name> of the innermost open element.
    void close(std::string_view name);
    // The text written so far; the writer is left empty.
    std::string take();

    // Value with &, <, >, " and ' replaced by their entities.
    static std::string escape(std::string_view value);

private:
    void start(std::string_view name, const Attributes &attributes);

    std::string text_;
    int depth_ = 0;
};

} // namespace pylonix::feed
