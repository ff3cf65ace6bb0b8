#pragma once

#include <functional>
#include <vector>

namespace zdawnik {

class SqliteDatabase;

// The layout of the history database. Its version is PRAGMA user_version; each version has one step
// that brings a database of the version before it up to it, so a database of any earlier version is
// brought up step by step, never rebuilt.
using SchemaStep = std::function<void(SqliteDatabase&)>;

// The steps this program knows: step i brings version i up to version i + 1.
const std::vector<SchemaStep>& SchemaSteps();

// The version this program writes: the number of its steps.
int CurrentSchemaVersion();

// The program's mark in PRAGMA application_id: a database without it is not this program's.
inline constexpr int HistoryApplicationId = 0x5A44574E; // "ZDWN"

// Takes the database from its version up to steps.size(), in one transaction: the database is left at
// its old version or at the new one. Throws ESqlite on a failure.
void MigrateSchema(SqliteDatabase& db, const std::vector<SchemaStep>& steps);

} // namespace zdawnik
