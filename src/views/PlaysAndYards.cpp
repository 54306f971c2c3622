#include "views/PlaysAndYards.h"

QString PlaysAndYardsText(const std::string &plays, const std::string &yards)
{
    return QString::fromStdString(plays + " - " + yards);
}
