#include "XPathQueryCache.h"

const XPathQuery &XPathQueryCache::Get(std::string_view text)
{
    if (const auto found = queries_.find(text); found != queries_.end())
        return found->second;
    if (queries_.size() >= MaximumQueries || textBytes_ + text.size() > MaximumTextBytes) {
        queries_.clear();
        textBytes_ = 0;
    }
    textBytes_ += text.size();
    return queries_.emplace(std::string(text), XPathQuery(text)).first->second;
}
