#include "catalog/storage.h"

#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace kelmora::catalog {
namespace {

using ::testing::HasSubstr;

int64_t SchemaVersion(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, "SELECT version FROM schema_version", -1, &s, nullptr);
  const int64_t v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
  sqlite3_finalize(s);
  sqlite3_close(db);
  return v;
}

void Execute(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

TEST(CatalogStorage, TheSchemaIsMadeOnceAndTheEntriesOutliveTheConnection) {
  testing::TempDir dir;
  const std::string path = (dir / "c.db").string();
  ScriptRecord s;
  s.Title = "Ёлка 'x'; DROP TABLE scripts; --";
  s.Script = std::string("a\0b", 3);  // texts are bound with their length, never pasted into SQL
  s.Creator = {"a@b", "{1}"};
  int64_t id = 0;
  {
    const auto storage = OpenSqliteStorage(path);
    id = storage->InsertScript(s);
  }
  EXPECT_EQ(SchemaVersion(path), 1);
  const auto storage = OpenSqliteStorage(path);
  const auto found = storage->FindScript(id);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->Title, s.Title);
  EXPECT_EQ(found->Script, s.Script);
  EXPECT_TRUE(storage->ScriptTitleTaken("  ёЛКА 'X'; drop table SCRIPTS; --", 0));
  EXPECT_FALSE(storage->ScriptTitleTaken(s.Title, id));
  EXPECT_EQ(SchemaVersion(path), 1);
}

TEST(CatalogStorage, AFailedTransactionStoresNothing) {
  testing::TempDir dir;
  const auto storage = OpenSqliteStorage((dir / "c.db").string());
  SystemRecord record;
  record.Title = "x";
  EXPECT_THROW(storage->Transaction([&] {
    storage->InsertSystem(record);
    throw std::runtime_error("refused");
  }),
               std::runtime_error);
  EXPECT_TRUE(storage->ListSystems(4, 8).empty());
}

TEST(CatalogStorage, ADatabaseOfANewerSchemaIsNotTouched) {
  testing::TempDir dir;
  const std::string path = (dir / "c.db").string();
  OpenSqliteStorage(path);
  Execute(path, "UPDATE schema_version SET version = 99");
  try {
    OpenSqliteStorage(path);
    ADD_FAILURE() << "opened";
  } catch (const std::exception& e) {
    EXPECT_THAT(e.what(), HasSubstr("99"));
  }
  EXPECT_EQ(SchemaVersion(path), 99);
}

TEST(CatalogStorage, AFileThatIsNoDatabaseIsRefused) {
  testing::TempDir dir;
  const std::string path = (dir / "c.db").string();
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs("this is not a database file, just text long enough to have a header.....", f);
  std::fclose(f);
  EXPECT_THROW(OpenSqliteStorage(path), std::exception);
}

}  // namespace
}  // namespace kelmora::catalog
