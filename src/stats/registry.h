#pragma once
// The table of statistic classes in the system's order. Each family file exposes its classes with
// their ordinals; this table merges the families, so adding a family adds one line to registry.cpp
// (with the name of the family's description page).

#include <string_view>
#include <vector>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// Every class of the families built so far, ordered by TStatClass::Ordinal. Static constant data.
const std::vector<const TStatClass*>& RegisteredClasses();

// The family a class belongs to, as the name of its description page ("numbers" for the number
// statistics); empty for a class of no family (a test's own class).
std::string_view FamilyPage(const TStatClass& cls);
// Every family's page name, in the order of the families.
std::vector<std::string_view> FamilyPages();

}  // namespace kelmora::stats
