#pragma once

#include "XPathQuery.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

// Compiled XPath queries by their text, kept across reloads: the same few
// hundred expressions are asked of every version of a file.
//
// Some expressions carry text of the file itself (a team code in
// "team[@vh='...']"), and a live file can bring ever new such texts. The
// cache is therefore bounded in entries and in the bytes of their texts; when
// a new query would pass either bound the cache starts afresh, and the common
// expressions are compiled again as they are met.
class XPathQueryCache
{
public:
    static constexpr std::size_t MaximumQueries = 1024;
    static constexpr std::size_t MaximumTextBytes = 256 * 1024;

    // The compiled query of `text`. The reference is valid until the next call.
    const XPathQuery &Get(std::string_view text);

    // Queries kept now, and the bytes of their texts.
    std::size_t Size() const { return queries_.size(); }
    std::size_t TextBytes() const { return textBytes_; }

private:
    struct StringHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::unordered_map<std::string, XPathQuery, StringHash, std::equal_to<>> queries_;
    std::size_t textBytes_ = 0;
};
