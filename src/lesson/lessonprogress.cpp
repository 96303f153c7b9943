// The learner's progress in the lesson store: the log of checks written, and read back as the
// checks by day, the review items due by day and the words missed most.
#include "lesson/lessonstore.h"

#include "sqlite/statement.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace lesson {

namespace {

void bindText(sqlite3_stmt *stmt, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

bool LessonStore::logCheck(const QString &file, const QString &text, double accuracy,
                           const QStringList &missedWords, const QDateTime &when)
{
    if (std::isnan(accuracy) || !exec("BEGIN IMMEDIATE"))
        return false;
    const sqlite::Statement check = sqlite::prepare(
        db.get(), "INSERT INTO check_log (day, lesson_path, text, accuracy) VALUES (?, ?, ?, ?)");
    const sqlite::Statement miss =
        sqlite::prepare(db.get(), "INSERT INTO check_miss (check_id, word) VALUES (?, ?)");
    bool logged = check && miss;
    if (logged) {
        sqlite3_bind_int64(check.get(), 1, when.toLocalTime().date().toJulianDay());
        bindText(check.get(), 2, QFileInfo(file).absoluteFilePath());
        bindText(check.get(), 3, text);
        sqlite3_bind_double(check.get(), 4, std::clamp(accuracy, 0.0, 1.0));
        logged = sqlite3_step(check.get()) == SQLITE_DONE;
    }
    const qint64 id = sqlite3_last_insert_rowid(db.get());
    for (const QString &word : missedWords) {
        if (!logged)
            break;
        sqlite3_reset(miss.get());
        sqlite3_bind_int64(miss.get(), 1, id);
        bindText(miss.get(), 2, word);
        logged = sqlite3_step(miss.get()) == SQLITE_DONE;
    }
    logged = logged && exec("COMMIT");
    if (!logged) {
        fail();
        exec("ROLLBACK");
    }
    return logged;
}

LearningProgress LessonStore::progress(const QDate &today)
{
    LearningProgress p;
    p.today = today;
    p.due.assign(LearningProgress::dueDays, 0);
    if (!db)
        return p;
    const qint64 last = today.toJulianDay();
    // each of a query's rows handed to row(); error() says why when the query fails
    const auto read = [this](const sqlite::Statement &q, const auto &row) {
        int rc = q ? SQLITE_ROW : SQLITE_ERROR;
        while (q && (rc = sqlite3_step(q.get())) == SQLITE_ROW)
            row(q.get());
        if (rc != SQLITE_DONE)
            fail();
    };

    const sqlite::Statement days =
        sqlite::prepare(db.get(), "SELECT day, count(*), avg(accuracy) FROM check_log "
                                  "WHERE day BETWEEN ? AND ? GROUP BY day ORDER BY day");
    std::vector<DayChecks> checked;
    if (days) {
        sqlite3_bind_int64(days.get(), 1, last - LearningProgress::checkDays + 1);
        sqlite3_bind_int64(days.get(), 2, last);
    }
    read(days, [&](sqlite3_stmt *q) {
        checked.push_back({QDate::fromJulianDay(sqlite3_column_int64(q, 0)),
                           sqlite3_column_int(q, 1), sqlite3_column_double(q, 2)});
    });
    if (!checked.empty()) {
        const qint64 first = std::min(checked.front().day.toJulianDay(),
                                      last - LearningProgress::fewestCheckDays + 1);
        for (qint64 d = first; d <= last; ++d)
            p.checks.push_back({QDate::fromJulianDay(d)});
        for (const DayChecks &c : checked)
            p.checks[size_t(c.day.toJulianDay() - first)] = c;
    }

    // grouped in the index's order; the overdue ones count on today
    const sqlite::Statement due = sqlite::prepare(
        db.get(), "SELECT due_day, count(*) FROM review_item WHERE due_day < ? GROUP BY due_day");
    if (due)
        sqlite3_bind_int64(due.get(), 1, last + LearningProgress::dueDays);
    read(due, [&](sqlite3_stmt *q) {
        p.due[size_t(std::max<qint64>(0, sqlite3_column_int64(q, 0) - last))] +=
            sqlite3_column_int(q, 1);
    });

    // one word whatever its case, shown as the lower-case spelling when there is one
    const sqlite::Statement words = sqlite::prepare(
        db.get(), "SELECT max(word) AS shown, count(*) AS misses FROM check_miss "
                  "GROUP BY word COLLATE NOCASE ORDER BY misses DESC, shown COLLATE NOCASE "
                  "LIMIT ?");
    if (words)
        sqlite3_bind_int(words.get(), 1, LearningProgress::mostMissedWords);
    read(words, [&](sqlite3_stmt *q) {
        p.missedWords.push_back(
            {QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(q, 0)),
                               sqlite3_column_bytes(q, 0)),
             sqlite3_column_int(q, 1)});
    });
    return p;
}

} // namespace lesson
