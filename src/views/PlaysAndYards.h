#pragma once

#include <QString>
#include <string>

// A drive's plays and yards as every table shows them: "9 - 48", and "3 - -3"
// for a drive that lost ground, so that the minus of the yards never runs
// into the dash between the two numbers.
QString PlaysAndYardsText(const std::string &plays, const std::string &yards);
