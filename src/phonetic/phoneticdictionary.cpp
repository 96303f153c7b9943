#include "phonetic/phoneticdictionary.h"

#include "dictcipher/dictcipher.h"
#include "paths/apppaths.h"
#include "phonetic/dictionarypassphrase.h"
#include "phonetic/phonetictokens.h"

#include <QDebug>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace {

// A compiled pattern with its match buffer. Matching runs on the UTF-8 bytes SQLite holds,
// with no conversion per row: a search while typing tests every row of the dictionary.
struct CompiledPattern
{
    pcre2_code *code = nullptr;
    pcre2_match_data *matchData = nullptr;

    ~CompiledPattern()
    {
        pcre2_match_data_free(matchData);
        pcre2_code_free(code);
    }
};

void deletePattern(void *pattern)
{
    delete static_cast<CompiledPattern *>(pattern);
}

std::unique_ptr<CompiledPattern> compilePattern(const unsigned char *text, int bytes)
{
    auto pattern = std::make_unique<CompiledPattern>();
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pattern->code =
        pcre2_compile(text, PCRE2_SIZE(bytes), PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP,
                      &error, &errorOffset, nullptr);
    if (!pattern->code)
        return nullptr;
    // Without the JIT (not every machine allows it) the interpreter gives the same answers.
    pcre2_jit_compile(pattern->code, PCRE2_JIT_COMPLETE);
    pattern->matchData = pcre2_match_data_create_from_pattern(pattern->code, nullptr);
    return pattern->matchData ? std::move(pattern) : nullptr;
}

// regexp(pattern, value): true when pattern matches anywhere in value. The compiled
// pattern is kept as the statement's auxiliary data, so a search compiles it once and
// not once per row. An invalid pattern, or one that exhausts the matcher's limits, is an
// error, which ends the query with no rows; the function's user data, a bool, then says
// that the pattern and not the database failed.
void regexpFunction(sqlite3_context *context, int, sqlite3_value **args)
{
    const auto reject = [context](const char *why) {
        *static_cast<bool *>(sqlite3_user_data(context)) = true;
        sqlite3_result_error(context, why, -1);
    };
    const unsigned char *value = sqlite3_value_text(args[1]);
    if (!value) {
        sqlite3_result_int(context, 0);
        return;
    }
    const int valueBytes = sqlite3_value_bytes(args[1]);
    auto *pattern = static_cast<CompiledPattern *>(sqlite3_get_auxdata(context, 0));
    std::unique_ptr<CompiledPattern> fresh;
    if (!pattern) {
        const unsigned char *patternText = sqlite3_value_text(args[0]);
        fresh = patternText ? compilePattern(patternText, sqlite3_value_bytes(args[0])) : nullptr;
        if (!fresh) {
            reject("invalid regular expression");
            return;
        }
        pattern = fresh.get();
    }
    const int rc = pcre2_match(pattern->code, value, PCRE2_SIZE(valueBytes), 0, 0,
                               pattern->matchData, nullptr);
    if (rc < 0 && rc != PCRE2_ERROR_NOMATCH) {
        reject("regular expression too complex");
        return;
    }
    sqlite3_result_int(context, rc >= 0);
    // SQLite owns the pattern from here on, and deletes it at once if it cannot keep it.
    if (fresh)
        sqlite3_set_auxdata(context, 0, fresh.release(), deletePattern);
}

struct Finalize
{
    void operator()(sqlite3_stmt *stmt) const { sqlite3_finalize(stmt); }
};

} // namespace

PhoneticDictionary::PhoneticDictionary()
{
    if (!initDB())
        qDebug("initDB(): Error");
}

PhoneticDictionary::~PhoneticDictionary() = default;

bool PhoneticDictionary::initDB()
{
    sqlite3 *db = nullptr;
    const int openRc =
        sqlite3_open_v2(AppPaths::wordDatabase().toUtf8().constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, dictcipher::vfsName());
    sqliteDB_.reset(db);
    if (openRc != SQLITE_OK || dictcipher::key(sqliteDB_.get(), dictionaryPassPhrase,
                                               int(sizeof dictionaryPassPhrase - 1)) != SQLITE_OK) {
        error_ = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(openRc));
        sqliteDB_.reset();
        opened_ = false;
        return opened_;
    }
    opened_ = true;
    // Searches scan the caption index (a few megabytes); a cache that holds it spares
    // deciphering every page again on each key the learner types.
    sqlite3_exec(sqliteDB_.get(), "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    if (sqlite3_create_function_v2(sqliteDB_.get(), "regexp", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   &patternRejected_, regexpFunction, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
        qDebug("sqlite3_create_function_v2(sqliteDB_, \"regexp\"): Error");
    return opened_;
}

void PhoneticDictionary::searchByCaption(const QByteArray &pattern, int limitMode)
{
    runQuery(limitMode == Limited
                 ? "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ? LIMIT 100;"
                 : "SELECT w_caption FROM dict_word WHERE w_caption REGEXP ?",
             pattern, Rows::CaptionOnly);
}

void PhoneticDictionary::searchByPhonetic(const QString &input, int limitMode)
{
    results_.clear();
    // One token walk: an empty pattern means the input is no phonetic sequence. The walk
    // reads the typing in the stored alphabet, or an ɪ would look for a symbol the
    // dictionary never writes.
    const QByteArray pattern = phoneticToPattern(toNotationAlphabet(input));
    if (pattern.isEmpty() || (limitMode != Limited && limitMode != AllRows))
        return;
    runQuery(limitMode == Limited
                 ? "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ? LIMIT 100;"
                 : "SELECT w_caption FROM dict_word WHERE w_phonetic REGEXP ?;",
             pattern, Rows::CaptionOnly);
}

const QStringList &PhoneticDictionary::lookupWord(const QByteArray &caption)
{
    runQuery("SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?", caption,
             Rows::FullEntry);
    return results_;
}

// The value is bound, not spliced into the text, so quotes in what the learner typed can
// neither break the statement nor change it.
void PhoneticDictionary::runQuery(const char *sql, const QByteArray &value, Rows rows)
{
    results_.clear();
    if (!opened_)
        return;
    error_.clear();
    patternRejected_ = false;
    const auto fail = [this] {
        if (!patternRejected_)
            error_ = QString::fromUtf8(sqlite3_errmsg(sqliteDB_.get()));
    };
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(sqliteDB_.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
        return fail();
    const std::unique_ptr<sqlite3_stmt, Finalize> stmt(raw);
    if (sqlite3_bind_text(raw, 1, value.constData(), int(value.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        return fail();
    const auto column = [raw](int i) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(raw, i));
        return QString::fromUtf8(text, sqlite3_column_bytes(raw, i));
    };
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        results_.append(column(0));
        if (rows == Rows::FullEntry) {
            results_.append(QLatin1Char('[') + decodeEntities(column(1)) + QLatin1Char(']'));
            results_.append(column(2).replace(QLatin1String("<br/>"), QLatin1String("\n")));
        }
    }
    // A damaged page ends the walk: the rows read so far stay, with the reason.
    if (rc != SQLITE_DONE)
        fail();
}
