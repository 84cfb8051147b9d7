#pragma once
// The table of statistic classes in the system's order. Each family file exposes its classes with
// their ordinals; this table merges the families, so adding a family adds one line to registry.cpp.

#include <vector>

#include "stats/custom_stat.h"

namespace kelmora::stats {

// Every class of the families built so far, ordered by TStatClass::Ordinal. Static constant data.
const std::vector<const TStatClass*>& RegisteredClasses();

}  // namespace kelmora::stats
