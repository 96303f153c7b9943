#pragma once

#include <sqlite3.h>

#include <memory>

// How a prepared SQLite statement is held: one owner that finalizes it on every path.
// A statement belongs to the thread of its connection.
namespace sqlite {

struct Finalize
{
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};

using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

// sql prepared on db; null when SQLite refuses it (sqlite3_errmsg(db) says why).
Statement prepare(sqlite3 *db, const char *sql);

} // namespace sqlite
