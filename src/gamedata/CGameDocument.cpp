#include "CGameDocument.h"

std::string CGameDocument::GetText(std::string_view xpath, std::string_view defaultText) const
{
    std::optional<std::string> text = FindText(xpath);
    return text ? std::move(*text) : std::string(defaultText);
}
