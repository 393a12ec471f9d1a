// The memory SQLite works with in the Notes database files.
#pragma once

namespace lnstore {

// Gives SQLite its memory functions, before SQLite is first used; later calls do nothing. Called by
// every opening of a database file.
void UseOwnSqliteMemory();

}  // namespace lnstore
