#pragma once

// What the lesson store's source files share inside the lesson library: how a statement is
// run and how review items are read from its rows. The store's thread only.

#include "lesson/lessonstore.h"
#include "sqlite/statement.h"

#include <QString>

#include <cmath>
#include <vector>

namespace lesson {

// One prepared statement, its parameters bound in order.
class Query
{
public:
    Query(sqlite3 *db, const char *sql) : stmt(sqlite::prepare(db, sql)) {}
    Query &bind(qint64 v)
    {
        sqlite3_bind_int64(stmt.get(), ++next, v);
        return *this;
    }
    Query &bind(double v)
    {
        // NULL for a value that is no number of the lesson's clock
        if (std::isfinite(v))
            sqlite3_bind_double(stmt.get(), ++next, v);
        else
            sqlite3_bind_null(stmt.get(), ++next);
        return *this;
    }
    Query &bind(const QString &v)
    {
        const QByteArray utf8 = v.toUtf8();
        sqlite3_bind_text(stmt.get(), ++next, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error; an invalid statement gives SQLITE_ERROR.
    int step() { return stmt ? sqlite3_step(stmt.get()) : SQLITE_ERROR; }
    bool run() { return step() == SQLITE_DONE; }
    bool isNull(int i) const { return sqlite3_column_type(stmt.get(), i) == SQLITE_NULL; }
    qint64 integer(int i) const { return sqlite3_column_int64(stmt.get(), i); }
    double real(int i) const { return sqlite3_column_double(stmt.get(), i); }
    QString text(int i) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), i)),
                                 sqlite3_column_bytes(stmt.get(), i));
    }

private:
    sqlite::Statement stmt;
    int next = 0;
};

// The columns of a review item, in the order readItems() reads them.
#define REVIEW_ITEM_COLUMNS                                                                        \
    "id, kind, lesson_path, lesson_size, lesson_modified_ms, origin, start_ms, end_ms, text, "     \
    "word, missed, stability, difficulty, due_day, last_day, reviews, lapses"

// Appends the review items of q's rows (REVIEW_ITEM_COLUMNS first) to items; the last step's
// result.
int readItems(Query &q, std::vector<ReviewItem> *items);

} // namespace lesson
