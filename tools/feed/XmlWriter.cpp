#include "XmlWriter.h"

namespace pylonix::feed
{

void XmlWriter::start(std::string_view name, const Attributes &attributes)
{
    text_.append(static_cast<std::size_t>(depth_), ' ');
    text_ += '<';
    text_ += name;
    for (const auto &[key, value] : attributes) {
        text_ += ' ';
        text_ += key;
        text_ += "=\"";
        text_ += escape(value);
        text_ += '"';
    }
}

void XmlWriter::open(std::string_view name, const Attributes &attributes)
{
    start(name, attributes);
    text_ += ">\n";
    ++depth_;
}

void XmlWriter::element(std::string_view name, const Attributes &attributes)
{
    start(name, attributes);
    text_ += "/>\n";
}

void XmlWriter::close(std::string_view name)
{
    --depth_;
    text_.append(static_cast<std::size_t>(depth_ > 0 ? depth_ : 0), ' ');
    text_ += "</";
    text_ += name;
    text_ += ">\n";
}

std::string XmlWriter::take()
{
    std::string result;
    result.swap(text_);
    depth_ = 0;
    return result;
}

std::string XmlWriter::escape(std::string_view value)
{
    std::string result;
    result.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '"':
            result += "&quot;";
            break;
        case '\'':
            result += "&apos;";
            break;
        default:
            result += c;
        }
    }
    return result;
}

} // namespace pylonix::feed
