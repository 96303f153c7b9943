#include "sqlite/statement.h"

namespace sqlite {

Statement prepare(sqlite3 *db, const char *sql)
{
    // SQLite leaves the pointer null when it refuses the statement
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    return Statement(raw);
}

} // namespace sqlite
