#pragma once
// A demo catalogue: for 5 to 8 values the full wheel and a greedy covering wheel, and two example
// scripts, published through the catalogue's own requests as one demo user.

#include <string>

#include "catalog/storage.h"

namespace kelmora::catalog {

struct SeedCounts {
  int Systems = 0;
  int Scripts = 0;
};

// The demo user the seed publishes as.
inline constexpr const char* SeedAuthor = "Kelmora (демо)";
inline constexpr const char* SeedMail = "demo@kelmora.invalid";
inline constexpr const char* SeedInstall = "{00000000-0000-4000-8000-00000000DE40}";

// Adds what is missing (entries already there, by title, are kept) and says how many were added.
SeedCounts Seed(Storage& storage, int64_t now);
// The same on the database file (made when missing).
SeedCounts SeedDemo(const std::string& db_path);

}  // namespace kelmora::catalog
