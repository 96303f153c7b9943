#include "lesson/lessonstore.h"

#include "lesson/storequery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace lesson {

ScoreSummary summarise(const Scores &scores)
{
    ScoreSummary s;
    s.total = int(scores.size());
    double sum = 0;
    for (const std::optional<SentenceScore> &score : scores) {
        if (score) {
            ++s.checked;
            sum += score->best;
        }
    }
    if (s.checked > 0)
        s.meanBest = sum / s.checked;
    return s;
}

SentenceScore withCheck(const std::optional<SentenceScore> &score, double accuracy,
                        const QDateTime &when)
{
    const double a = std::clamp(accuracy, 0.0, 1.0);
    SentenceScore next = score.value_or(SentenceScore{a, when, a, when});
    next.last = a;
    next.lastAt = when;
    if (a > next.best) {
        next.best = a;
        next.bestAt = when;
    }
    return next;
}

namespace {

// The schema as statements, each with the version that brought it; a database of an
// older version gets those of the newer ones. Times of the lesson's clock are seconds; a
// sentence is keyed by its ends in whole milliseconds and its text; dates are milliseconds
// since the epoch, UTC. A lesson without a place (never saved, or replaced since) has NULL
// position and marks; a loop end that lies nowhere is a NULL mark_out beside a position.
struct SchemaStep
{
    int version;
    const char *sql;
};
constexpr SchemaStep schema[] = {
    {1, "CREATE TABLE lesson ("
        " id INTEGER PRIMARY KEY,"
        " path TEXT NOT NULL UNIQUE,"
        " size INTEGER NOT NULL,"
        " modified_ms INTEGER NOT NULL,"
        " position REAL, mark_in REAL, mark_out REAL,"
        " speed REAL NOT NULL DEFAULT 1,"
        " subtitle_file TEXT NOT NULL DEFAULT '',"
        " drill_repetitions INTEGER NOT NULL,"
        " drill_pause REAL NOT NULL,"
        " drill_first_pass_speed REAL NOT NULL,"
        " drill_advance INTEGER NOT NULL,"
        " drill_rewind REAL NOT NULL,"
        " saved_ms INTEGER NOT NULL DEFAULT 0)"},
    {1, "CREATE TABLE score ("
        " lesson_id INTEGER NOT NULL REFERENCES lesson(id) ON DELETE CASCADE,"
        " start_ms INTEGER NOT NULL,"
        " end_ms INTEGER NOT NULL,"
        " text TEXT NOT NULL,"
        " best REAL NOT NULL, best_ms INTEGER NOT NULL,"
        " last REAL NOT NULL, last_ms INTEGER NOT NULL,"
        " PRIMARY KEY (lesson_id, start_ms, end_ms, text)) WITHOUT ROWID"},
    // the ends the learner gave sentences, per sentence source (its file's absolute path)
    // and sentence (its index among the source's sentences, and its text)
    {2, "CREATE TABLE sentence_fix ("
        " lesson_id INTEGER NOT NULL REFERENCES lesson(id) ON DELETE CASCADE,"
        " origin TEXT NOT NULL,"
        " sentence INTEGER NOT NULL,"
        " text TEXT NOT NULL,"
        " start_ms INTEGER NOT NULL,"
        " end_ms INTEGER NOT NULL,"
        " PRIMARY KEY (lesson_id, origin, sentence, text)) WITHOUT ROWID"},
    // What checks missed, to be reviewed: a sentence (kind 0, word empty) or a word of it
    // (kind 1). The lesson file is kept as it was at the check rather than referenced, so a
    // replaced or forgotten lesson leaves its items. Days are Julian day numbers of the
    // learner's local dates; missed holds the missed words one a line.
    {3, "CREATE TABLE review_item ("
        " id INTEGER PRIMARY KEY,"
        " kind INTEGER NOT NULL,"
        " lesson_path TEXT NOT NULL,"
        " lesson_size INTEGER NOT NULL,"
        " lesson_modified_ms INTEGER NOT NULL,"
        " origin TEXT NOT NULL,"
        " start_ms INTEGER NOT NULL,"
        " end_ms INTEGER NOT NULL,"
        " text TEXT NOT NULL,"
        " word TEXT NOT NULL,"
        " missed TEXT NOT NULL,"
        " stability REAL NOT NULL,"
        " difficulty REAL NOT NULL,"
        " due_day INTEGER NOT NULL,"
        " last_day INTEGER NOT NULL,"
        " reviews INTEGER NOT NULL,"
        " lapses INTEGER NOT NULL,"
        " UNIQUE (lesson_path, text, kind, word))"},
    {3, "CREATE INDEX review_item_due ON review_item (due_day)"},
    // Every check, for the learner's progress: its day (a Julian day number of the learner's
    // local date), lesson path, sentence text and accuracy, and each word it missed.
    {4, "CREATE TABLE check_log ("
        " id INTEGER PRIMARY KEY,"
        " day INTEGER NOT NULL,"
        " lesson_path TEXT NOT NULL,"
        " text TEXT NOT NULL,"
        " accuracy REAL NOT NULL)"},
    {4, "CREATE INDEX check_log_day ON check_log (day)"},
    {4, "CREATE TABLE check_miss ("
        " check_id INTEGER NOT NULL REFERENCES check_log(id) ON DELETE CASCADE,"
        " word TEXT NOT NULL)"},
    // the words grouped whatever their case without sorting the misses each time
    {4, "CREATE INDEX check_miss_word ON check_miss (word COLLATE NOCASE)"},
};
static_assert(std::end(schema)[-1].version == LessonStore::schemaVersion,
              "the last schema step is the version this program writes");

qint64 millis(double seconds)
{
    return std::llround(seconds * 1000);
}

QDateTime dateOf(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

bool isDamage(int rc)
{
    return (rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB;
}

// Whether file is no longer the one of that size and modification time.
bool fileChanged(const QString &file, qint64 size, qint64 modifiedMs)
{
    const QFileInfo info(file);
    return !info.exists() || info.size() != size ||
           info.lastModified().toMSecsSinceEpoch() != modifiedMs;
}

} // namespace

// Appends the review items of q's rows (REVIEW_ITEM_COLUMNS first) to items; the last step's
// result.
int readItems(Query &q, std::vector<ReviewItem> *items)
{
    int rc;
    while ((rc = q.step()) == SQLITE_ROW) {
        ReviewItem it;
        it.id = q.integer(0);
        it.kind = q.integer(1) == 0 ? ReviewItem::Kind::Sentence : ReviewItem::Kind::Word;
        it.lessonFile = q.text(2);
        it.lessonSize = q.integer(3);
        it.lessonModified = dateOf(q.integer(4));
        it.origin = q.text(5);
        it.start = q.integer(6) / 1000.0;
        it.end = q.integer(7) / 1000.0;
        it.text = q.text(8);
        it.word = q.text(9);
        it.missedWords = q.text(10).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        it.memory = review::MemoryState{q.real(11), q.real(12)};
        it.due = QDate::fromJulianDay(q.integer(13));
        it.lastReview = QDate::fromJulianDay(q.integer(14));
        it.reviews = int(q.integer(15));
        it.lapses = int(q.integer(16));
        it.needsFile = fileChanged(it.lessonFile, it.lessonSize, q.integer(4));
        items->push_back(std::move(it));
    }
    return rc;
}

void LessonStore::CloseDb::operator()(sqlite3 *d) const
{
    // A statement may still be open where a rejected file is closed: the connection then
    // goes once it is finalized, where sqlite3_close would refuse and leak it.
    sqlite3_close_v2(d);
}

LessonStore::LessonStore(const QString &databaseFile) : path(databaseFile)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString why;
    bool damaged = false;
    if (openDatabase(&why, &damaged) || (damaged && moveAside(why)))
        return;
    error_ = why;
    notice_ = tr("The lesson memory %1 cannot be used (%2): lessons will not be remembered.")
                  .arg(QDir::toNativeSeparators(path), why);
}

LessonStore::~LessonStore() = default;

bool LessonStore::exec(const char *sql)
{
    return db && sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void LessonStore::fail()
{
    error_ = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : error_;
}

bool LessonStore::openDatabase(QString *why, bool *damaged)
{
    *damaged = false;
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db.reset(raw);
    // A file that is not ours to use is closed as it was found: no checkpoint of its log
    // into it, and the log left where it is.
    const auto reject = [&](const QString &reason, bool damage) {
        *why = reason;
        *damaged = damage;
        if (db)
            sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        db.reset();
        return false;
    };
    const auto failed = [&](int code) {
        return reject(QString::fromUtf8(db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(code)),
                      isDamage(code));
    };
    if (rc != SQLITE_OK)
        return failed(rc);
    sqlite3_busy_timeout(db.get(), 2000);

    int version = 0;
    {
        Query q(db.get(), "PRAGMA user_version");
        if (q.step() != SQLITE_ROW)
            return failed(sqlite3_errcode(db.get()));
        version = int(q.integer(0));
    }
    if (version > schemaVersion)
        return reject(tr("it was written by a newer version of the program"), true);
    {
        Query q(db.get(), "PRAGMA quick_check");
        if (q.step() != SQLITE_ROW)
            return failed(sqlite3_errcode(db.get()));
        if (q.text(0) != QLatin1String("ok"))
            return reject(q.text(0), true);
    }
    // WAL: a save appends to the log and a crash keeps every committed save; NORMAL
    // syncs at checkpoints only, which loses nothing when the process dies
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=NORMAL") ||
        !exec("PRAGMA foreign_keys=ON"))
        return failed(sqlite3_errcode(db.get()));
    if (version < schemaVersion) {
        // one transaction: a database is at one version or the next, never between
        bool made = exec("BEGIN IMMEDIATE");
        for (const SchemaStep &step : schema) {
            if (step.version > version)
                made = made && exec(step.sql);
        }
        const QByteArray stamp = "PRAGMA user_version=" + QByteArray::number(schemaVersion);
        made = made && exec(stamp.constData()) && exec("COMMIT");
        if (!made) {
            const int code = sqlite3_errcode(db.get());
            exec("ROLLBACK");
            return failed(code);
        }
    }
    return true;
}

bool LessonStore::moveAside(const QString &reason)
{
    db.reset();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = path + QStringLiteral(".moved-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".moved-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(path, aside))
        return false;
    // the log and its index belong to the file moved aside: left here, they would be
    // replayed into the new one
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString side = path + QLatin1String(suffix);
        if (QFileInfo::exists(side) && !QFile::rename(side, aside + QLatin1String(suffix)))
            QFile::remove(side);
    }
    notice_ = tr("The lesson memory could not be read (%1). It was moved to %2, and a new "
                 "one was begun.")
                  .arg(reason, QDir::toNativeSeparators(aside));
    QString why;
    bool damaged = false;
    if (!openDatabase(&why, &damaged)) {
        error_ = why;
        notice_ += QLatin1Char(' ') + tr("The new one cannot be made either (%1).").arg(why);
    }
    return true;
}

qint64 LessonStore::lessonId(const QString &file, bool create)
{
    if (!db)
        return 0;
    const QFileInfo info(file);
    if (!info.exists())
        return 0;
    const QString key = info.absoluteFilePath();
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    Query find(db.get(), "SELECT id, size, modified_ms FROM lesson WHERE path = ?");
    find.bind(key);
    const int rc = find.step();
    if (rc == SQLITE_ROW) {
        const qint64 id = find.integer(0);
        if (find.integer(1) == size && find.integer(2) == modified)
            return id;
        // another recording under the same name: its place, scores and fixed sentences meant
        // the old one
        // a savepoint, since the caller may have a transaction open
        bool cleared = exec("SAVEPOINT replaced");
        cleared =
            cleared && Query(db.get(), "DELETE FROM score WHERE lesson_id = ?").bind(id).run();
        cleared = cleared &&
                  Query(db.get(), "DELETE FROM sentence_fix WHERE lesson_id = ?").bind(id).run();
        cleared = cleared && Query(db.get(), "UPDATE lesson SET size = ?, modified_ms = ?, "
                                             "position = NULL, mark_in = NULL, mark_out = NULL "
                                             "WHERE id = ?")
                                 .bind(size)
                                 .bind(modified)
                                 .bind(id)
                                 .run();
        if (cleared && exec("RELEASE replaced"))
            return id;
        fail();
        exec("ROLLBACK TO replaced");
        exec("RELEASE replaced");
        return 0;
    }
    if (rc != SQLITE_DONE) {
        fail();
        return 0;
    }
    if (!create)
        return 0;
    const DrillSettings d;
    if (!Query(db.get(), "INSERT INTO lesson (path, size, modified_ms, drill_repetitions, "
                         "drill_pause, drill_first_pass_speed, drill_advance, drill_rewind) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
             .bind(key)
             .bind(size)
             .bind(modified)
             .bind(qint64(d.repetitions))
             .bind(d.pauseSeconds)
             .bind(d.firstPassSpeed)
             .bind(qint64(d.advance))
             .bind(d.rewindSeconds)
             .run()) {
        fail();
        return 0;
    }
    return sqlite3_last_insert_rowid(db.get());
}

std::optional<LessonMemory> LessonStore::lesson(const QString &file)
{
    const qint64 id = lessonId(file, false);
    if (id == 0)
        return std::nullopt;
    Query q(db.get(), "SELECT position, mark_in, mark_out, speed, subtitle_file, "
                      "drill_repetitions, drill_pause, drill_first_pass_speed, drill_advance, "
                      "drill_rewind FROM lesson WHERE id = ?");
    q.bind(id);
    if (q.step() != SQLITE_ROW) {
        fail();
        return std::nullopt;
    }
    LessonMemory m;
    if (!q.isNull(0)) {
        m.place = LessonPlace{q.real(0), q.real(1),
                              q.isNull(2) ? std::numeric_limits<double>::infinity() : q.real(2)};
    }
    m.speed = q.real(3);
    m.subtitleFile = q.text(4);
    m.drill.repetitions = int(q.integer(5));
    m.drill.pauseSeconds = q.real(6);
    m.drill.firstPassSpeed = q.real(7);
    m.drill.advance = q.integer(8) != 0;
    m.drill.rewindSeconds = q.real(9);
    return m;
}

bool LessonStore::saveLesson(const QString &file, const LessonMemory &memory)
{
    const qint64 id = lessonId(file, true);
    if (id == 0)
        return false;
    const double nowhere = std::numeric_limits<double>::quiet_NaN();
    const LessonPlace place = memory.place.value_or(LessonPlace{nowhere, nowhere, nowhere});
    const DrillSettings &d = memory.drill;
    const bool saved =
        Query(db.get(), "UPDATE lesson SET position = ?, mark_in = ?, mark_out = ?, speed = ?, "
                        "subtitle_file = ?, drill_repetitions = ?, drill_pause = ?, "
                        "drill_first_pass_speed = ?, drill_advance = ?, drill_rewind = ?, "
                        "saved_ms = ? WHERE id = ?")
            .bind(place.positionSeconds)
            .bind(place.markInSeconds)
            .bind(place.markOutSeconds)
            .bind(memory.speed)
            .bind(memory.subtitleFile)
            .bind(qint64(d.repetitions))
            .bind(d.pauseSeconds)
            .bind(d.firstPassSpeed)
            .bind(qint64(d.advance))
            .bind(d.rewindSeconds)
            .bind(QDateTime::currentMSecsSinceEpoch())
            .bind(id)
            .run();
    if (!saved)
        fail();
    return saved;
}

bool LessonStore::forget(const QString &file)
{
    if (!db)
        return false;
    // the scores go with the row
    if (Query(db.get(), "DELETE FROM lesson WHERE path = ?")
            .bind(QFileInfo(file).absoluteFilePath())
            .run())
        return true;
    fail();
    return false;
}

Scores LessonStore::scores(const QString &file, const std::vector<Sentence> &sentences)
{
    Scores result(sentences.size());
    const qint64 id = lessonId(file, false);
    if (id == 0)
        return result;
    using Key = std::tuple<qint64, qint64, QString>;
    std::map<Key, SentenceScore> kept;
    Query q(db.get(), "SELECT start_ms, end_ms, text, best, best_ms, last, last_ms FROM score "
                      "WHERE lesson_id = ?");
    q.bind(id);
    int rc;
    while ((rc = q.step()) == SQLITE_ROW) {
        kept[Key{q.integer(0), q.integer(1), q.text(2)}] =
            SentenceScore{q.real(3), dateOf(q.integer(4)), q.real(5), dateOf(q.integer(6))};
    }
    if (rc != SQLITE_DONE)
        fail();
    for (size_t i = 0; i < sentences.size(); ++i) {
        const Sentence &s = sentences[i];
        const auto it = kept.find(Key{millis(s.start), millis(s.end), s.text});
        if (it != kept.end())
            result[i] = it->second;
    }
    return result;
}

std::optional<SentenceScore> LessonStore::recordScore(const QString &file, const Sentence &sentence,
                                                      double accuracy, const QDateTime &when)
{
    if (std::isnan(accuracy) || !exec("BEGIN IMMEDIATE"))
        return std::nullopt;
    const qint64 id = lessonId(file, true);
    const qint64 start = millis(sentence.start);
    const qint64 end = millis(sentence.end);
    std::optional<SentenceScore> kept;
    Query find(db.get(), "SELECT best, best_ms, last, last_ms FROM score WHERE lesson_id = ? "
                         "AND start_ms = ? AND end_ms = ? AND text = ?");
    find.bind(id).bind(start).bind(end).bind(sentence.text);
    const int found = id == 0 ? SQLITE_ERROR : find.step();
    if (found == SQLITE_ROW) {
        kept = SentenceScore{find.real(0), dateOf(find.integer(1)), find.real(2),
                             dateOf(find.integer(3))};
    }
    const SentenceScore score = withCheck(kept, accuracy, when);
    const bool written =
        (found == SQLITE_ROW || found == SQLITE_DONE) &&
        Query(db.get(), "INSERT OR REPLACE INTO score (lesson_id, start_ms, end_ms, text, best, "
                        "best_ms, last, last_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(id)
            .bind(start)
            .bind(end)
            .bind(sentence.text)
            .bind(score.best)
            .bind(score.bestAt.toMSecsSinceEpoch())
            .bind(score.last)
            .bind(score.lastAt.toMSecsSinceEpoch())
            .run() &&
        exec("COMMIT");
    if (!written) {
        fail();
        exec("ROLLBACK");
        return std::nullopt;
    }
    return score;
}

std::vector<SentenceFix> LessonStore::sentenceFixes(const QString &file, const QString &origin)
{
    std::vector<SentenceFix> fixes;
    const qint64 id = lessonId(file, false);
    if (id == 0)
        return fixes;
    Query q(db.get(), "SELECT sentence, text, start_ms, end_ms FROM sentence_fix "
                      "WHERE lesson_id = ? AND origin = ?");
    q.bind(id).bind(QFileInfo(origin).absoluteFilePath());
    int rc;
    while ((rc = q.step()) == SQLITE_ROW)
        fixes.push_back(SentenceFix{int(q.integer(0)), q.text(1), q.integer(2) / 1000.0,
                                    q.integer(3) / 1000.0});
    if (rc != SQLITE_DONE)
        fail();
    return fixes;
}

bool LessonStore::keepSentenceFix(const QString &file, const QString &origin,
                                  const SentenceFix &fix, const Sentence &before)
{
    if (!exec("BEGIN IMMEDIATE"))
        return false;
    const qint64 id = lessonId(file, true);
    const bool kept =
        id != 0 &&
        Query(db.get(), "INSERT OR REPLACE INTO sentence_fix (lesson_id, origin, sentence, text, "
                        "start_ms, end_ms) VALUES (?, ?, ?, ?, ?, ?)")
            .bind(id)
            .bind(QFileInfo(origin).absoluteFilePath())
            .bind(qint64(fix.sentence))
            .bind(fix.text)
            .bind(millis(fix.start))
            .bind(millis(fix.end))
            .run() &&
        Query(db.get(), "UPDATE OR REPLACE score SET start_ms = ?, end_ms = ? "
                        "WHERE lesson_id = ? AND start_ms = ? AND end_ms = ? AND text = ?")
            .bind(millis(fix.start))
            .bind(millis(fix.end))
            .bind(id)
            .bind(millis(before.start))
            .bind(millis(before.end))
            .bind(fix.text)
            .run() &&
        exec("COMMIT");
    if (!kept) {
        fail();
        exec("ROLLBACK");
    }
    return kept;
}

bool LessonStore::addReviewItems(const QString &file, const QString &origin,
                                 const Sentence &sentence, double accuracy,
                                 const QStringList &missedWords, const QDate &today)
{
    if (std::isnan(accuracy) || accuracy >= 1)
        return true;
    const QFileInfo info(file);
    if (!info.exists() || !exec("BEGIN IMMEDIATE"))
        return false;
    const auto add = [&](ReviewItem::Kind kind, const QString &word, review::Grade grade) {
        const review::MemoryState memory = scheduler.firstReview(grade);
        return Query(db.get(), "INSERT INTO review_item (kind, lesson_path, lesson_size, "
                               "lesson_modified_ms, origin, start_ms, end_ms, text, word, missed, "
                               "stability, difficulty, due_day, last_day, reviews, lapses) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 0) "
                               "ON CONFLICT DO NOTHING")
            .bind(qint64(kind))
            .bind(info.absoluteFilePath())
            .bind(info.size())
            .bind(info.lastModified().toMSecsSinceEpoch())
            .bind(origin.isEmpty() ? origin : QFileInfo(origin).absoluteFilePath())
            .bind(millis(sentence.start))
            .bind(millis(sentence.end))
            .bind(sentence.text)
            .bind(word)
            .bind(missedWords.join(QLatin1Char('\n')))
            .bind(memory.stability)
            .bind(memory.difficulty)
            .bind(today.addDays(scheduler.intervalDays(memory)).toJulianDay())
            .bind(today.toJulianDay())
            .run();
    };
    bool added = add(ReviewItem::Kind::Sentence, QString(),
                     review::gradeOfCheck(std::clamp(accuracy, 0.0, 1.0), false));
    // a check with no word right (nothing typed, say) leaves the sentence only: every word of
    // it as an item of its own would bury the words a learner really misses
    if (accuracy > 0) {
        for (const QString &word : missedWords)
            added = added && add(ReviewItem::Kind::Word, word, review::Grade::Again);
    }
    added = added && exec("COMMIT");
    if (!added) {
        fail();
        exec("ROLLBACK");
    }
    return added;
}

void LessonStore::setDesiredRetention(double retention)
{
    scheduler.desiredRetention =
        std::isfinite(retention) ? std::clamp(retention, minRetention, maxRetention) : 0.9;
}

int LessonStore::dueCount(const QDate &today)
{
    if (!db)
        return 0;
    Query q(db.get(), "SELECT count(*) FROM review_item WHERE due_day <= ?");
    q.bind(today.toJulianDay());
    if (q.step() != SQLITE_ROW) {
        fail();
        return 0;
    }
    return int(q.integer(0));
}

std::optional<ReviewItem> LessonStore::nextDue(const QDate &today, const QList<qint64> &passedOver)
{
    if (!db)
        return std::nullopt;
    // the index on due_day holds the rowid too: the first row of the index is the answer;
    // the ids passed over are numbers, written into the statement as such
    QByteArray sql = "SELECT " REVIEW_ITEM_COLUMNS " FROM review_item WHERE due_day <= ?";
    if (!passedOver.isEmpty()) {
        QByteArrayList ids;
        for (qint64 id : passedOver)
            ids.append(QByteArray::number(id));
        sql += " AND id NOT IN (" + ids.join(',') + ')';
    }
    sql += " ORDER BY due_day, id LIMIT 1";
    Query q(db.get(), sql.constData());
    q.bind(today.toJulianDay());
    std::vector<ReviewItem> items;
    if (readItems(q, &items) != SQLITE_DONE)
        fail();
    if (items.empty())
        return std::nullopt;
    return items.front();
}

std::vector<ReviewItem> LessonStore::itemsNeedingFile()
{
    std::vector<ReviewItem> items;
    if (!db)
        return items;
    // each lesson file as the items know it is looked at once
    Query files(db.get(), "SELECT DISTINCT lesson_path, lesson_size, lesson_modified_ms "
                          "FROM review_item");
    int rc;
    while ((rc = files.step()) == SQLITE_ROW) {
        if (!fileChanged(files.text(0), files.integer(1), files.integer(2)))
            continue;
        Query q(db.get(), "SELECT " REVIEW_ITEM_COLUMNS " FROM review_item WHERE lesson_path = ? "
                          "AND lesson_size = ? AND lesson_modified_ms = ? ORDER BY id");
        q.bind(files.text(0)).bind(files.integer(1)).bind(files.integer(2));
        if (readItems(q, &items) != SQLITE_DONE) {
            fail();
            return items;
        }
    }
    if (rc != SQLITE_DONE)
        fail();
    return items;
}

std::vector<ReviewItem> LessonStore::dueItemsOfSentence(const ReviewItem &item, const QDate &today)
{
    std::vector<ReviewItem> items;
    if (!db)
        return items;
    Query q(db.get(), "SELECT " REVIEW_ITEM_COLUMNS " FROM review_item WHERE lesson_path = ? "
                      "AND text = ? AND due_day <= ? ORDER BY kind, id");
    q.bind(item.lessonFile).bind(item.text).bind(today.toJulianDay());
    if (readItems(q, &items) != SQLITE_DONE)
        fail();
    return items;
}

bool LessonStore::recordReview(const ReviewItem &item, review::Grade grade, const QDate &today)
{
    if (!db)
        return false;
    const int elapsed = int(std::max<qint64>(0, item.lastReview.daysTo(today)));
    const review::MemoryState memory = scheduler.nextReview(item.memory, grade, elapsed);
    Query q(db.get(), "UPDATE review_item SET stability = ?, difficulty = ?, due_day = ?, "
                      "last_day = ?, reviews = reviews + 1, lapses = lapses + ? WHERE id = ?");
    q.bind(memory.stability)
        .bind(memory.difficulty)
        .bind(today.addDays(scheduler.intervalDays(memory)).toJulianDay())
        .bind(today.toJulianDay())
        .bind(qint64(grade == review::Grade::Again ? 1 : 0))
        .bind(item.id);
    if (!q.run() || sqlite3_changes(db.get()) != 1) {
        fail();
        return false;
    }
    return true;
}

std::optional<QDate> LessonStore::firstDueDay()
{
    if (!db)
        return std::nullopt;
    Query q(db.get(), "SELECT min(due_day) FROM review_item");
    if (q.step() != SQLITE_ROW) {
        fail();
        return std::nullopt;
    }
    if (q.isNull(0))
        return std::nullopt;
    return QDate::fromJulianDay(q.integer(0));
}

} // namespace lesson
