// The learner's progress in the lesson store: the log of checks written, and read back as the
// checks by day, the review items due by day and the words missed most.
#include "lesson/lessonstore.h"
#include "lesson/storequery.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace lesson {

bool LessonStore::logCheck(const QString &file, const QString &text, double accuracy,
                           const QStringList &missedWords, const QDateTime &when)
{
    if (std::isnan(accuracy) || !exec("BEGIN IMMEDIATE"))
        return false;
    bool logged = Query(db.get(), "INSERT INTO check_log (day, lesson_path, text, accuracy) "
                                  "VALUES (?, ?, ?, ?)")
                      .bind(when.toLocalTime().date().toJulianDay())
                      .bind(QFileInfo(file).absoluteFilePath())
                      .bind(text)
                      .bind(std::clamp(accuracy, 0.0, 1.0))
                      .run();
    const qint64 id = sqlite3_last_insert_rowid(db.get());
    for (const QString &word : missedWords) {
        logged = logged && Query(db.get(), "INSERT INTO check_miss (check_id, word) VALUES (?, ?)")
                               .bind(id)
                               .bind(word)
                               .run();
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
    const auto read = [this](Query &q, const auto &row) {
        int rc;
        while ((rc = q.step()) == SQLITE_ROW)
            row(q);
        if (rc != SQLITE_DONE)
            fail();
    };

    Query days(db.get(), "SELECT day, count(*), avg(accuracy) FROM check_log "
                         "WHERE day BETWEEN ? AND ? GROUP BY day ORDER BY day");
    days.bind(last - LearningProgress::checkDays + 1).bind(last);
    std::vector<DayChecks> checked;
    read(days, [&](const Query &q) {
        checked.push_back({QDate::fromJulianDay(q.integer(0)), int(q.integer(1)), q.real(2)});
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
    Query due(db.get(),
              "SELECT due_day, count(*) FROM review_item WHERE due_day < ? GROUP BY due_day");
    due.bind(last + LearningProgress::dueDays);
    read(due, [&](const Query &q) {
        p.due[size_t(std::max<qint64>(0, q.integer(0) - last))] += int(q.integer(1));
    });

    // one word whatever its case, shown as the lower-case spelling when there is one
    Query words(db.get(), "SELECT max(word) AS shown, count(*) AS misses FROM check_miss "
                          "GROUP BY word COLLATE NOCASE ORDER BY misses DESC, "
                          "shown COLLATE NOCASE LIMIT ?");
    words.bind(qint64(LearningProgress::mostMissedWords));
    read(words, [&](const Query &q) { p.missedWords.push_back({q.text(0), int(q.integer(1))}); });
    return p;
}

} // namespace lesson
