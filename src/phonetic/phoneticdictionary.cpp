#include "phonetic/phoneticdictionary.h"

#include "dictcipher/dictcipher.h"
#include "paths/apppaths.h"
#include "phonetic/dictionarypassphrase.h"
#include "phonetic/phonetictokens.h"
#include "phonetic/soundmatch.h"
#include "sqlite/statement.h"

#include <QDebug>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <unordered_set>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace {

// A compiled pattern with its match buffer. Matching runs on the bytes the dictionary
// stores, with no conversion per entry: a search while typing tests every entry.
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

// A bit for each sound of the notation (the last bit for any other), so that an entry
// that lacks a sound of the typing is passed over without running the pattern.
uint64_t symbolBits(std::u32string_view sounds)
{
    constexpr std::u32string_view known = U"abdefhijklmnoprstuvwzæðŋɑɔəʃʌʒθɡɛ";
    uint64_t bits = 0;
    for (const char32_t c : sounds) {
        const size_t at = known.find(c);
        bits |= uint64_t(1) << (at == known.npos ? 63 : at);
    }
    return bits;
}

// How many near matches a search lists after the exact ones.
constexpr int nearLimited = 20;
constexpr int nearAllRows = 100;
constexpr int exactLimited = 100;

// The farthest a near match may sound from the typing: about one wrong consonant, and a
// little more for each sound typed.
double nearDistanceFor(size_t sounds)
{
    return 0.6 + 0.15 * double(sounds);
}

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
    return opened_;
}

void PhoneticDictionary::searchByCaption(const QByteArray &pattern, int limitMode)
{
    results_.clear();
    nearFrom_ = -1;
    if (!loadEntries())
        return;
    const std::unique_ptr<CompiledPattern> compiled = compilePattern(
        reinterpret_cast<const unsigned char *>(pattern.constData()), int(pattern.size()));
    if (!compiled)
        return; // not a pattern: nothing matches it
    std::vector<int> exact;
    for (size_t e = 0; e < entries_.size(); ++e) {
        const QByteArray &caption = entries_[e].captionBytes;
        const int rc =
            pcre2_match(compiled->code, reinterpret_cast<const unsigned char *>(caption.data()),
                        PCRE2_SIZE(caption.size()), 0, 0, compiled->matchData, nullptr);
        if (rc >= 0)
            exact.push_back(int(e));
        else if (rc != PCRE2_ERROR_NOMATCH)
            return; // a pattern too complex for the matcher finds nothing
    }
    // the words the pattern covers most of first ("colour" before "watercolour"), the
    // common words first among those, then in the dictionary's order
    std::stable_sort(exact.begin(), exact.end(), [this](int a, int b) {
        const Entry &x = entries_[size_t(a)];
        const Entry &y = entries_[size_t(b)];
        if (x.captionBytes.size() != y.captionBytes.size())
            return x.captionBytes.size() < y.captionBytes.size();
        return x.frequency > y.frequency;
    });
    // A word typed as it is heard may be spelt wrong: the nearest spellings follow.
    static const QRegularExpression plainWord(QStringLiteral("^[A-Za-z'-]{3,}$"));
    const QString typed = QString::fromUtf8(pattern);
    std::vector<sounds::NearIndex::Match> near;
    if (plainWord.match(typed).hasMatch()) {
        const std::u32string word = typed.toLower().toStdU32String();
        for (size_t e = 0; e < entries_.size(); ++e) {
            const std::u32string &caption = entries_[e].lowerCaption;
            if (std::abs(int(caption.size()) - int(word.size())) > 2)
                continue;
            const double d = sounds::spellingDistanceWithin(word, caption, 2);
            if (d > 0 && d <= 2)
                near.push_back({int(e), d});
        }
    }
    listResults(exact, std::move(near), limitMode);
}

void PhoneticDictionary::searchByPhonetic(const QString &input, int limitMode)
{
    results_.clear();
    nearFrom_ = -1;
    // One token walk: an empty pattern means the input is no phonetic sequence. The walk
    // reads the typing in the stored alphabet, or an ɪ would look for a symbol the
    // dictionary never writes.
    const QString typing = sounds::readLearnerTyping(input);
    const QByteArray pattern = learnerToPattern(sounds::readLearnerLetters(input));
    if (pattern.isEmpty() || (limitMode != Limited && limitMode != AllRows) || !loadEntries())
        return;
    const std::unique_ptr<CompiledPattern> compiled = compilePattern(
        reinterpret_cast<const unsigned char *>(pattern.constData()), int(pattern.size()));
    if (!compiled)
        return;
    const std::u32string typed = sounds::soundsOf(typing);
    // the letters that stand for more than one vowel need none of them in particular; g
    // is the notation's ɡ
    std::u32string certain = sounds::soundsOf(sounds::readLearnerLetters(input));
    std::erase_if(certain, [](char32_t c) {
        return std::u32string_view(U"aoeə").find(c) != std::u32string_view::npos;
    });
    std::replace(certain.begin(), certain.end(), U'g', U'ɡ');
    const uint64_t needed = symbolBits(certain);

    // The design's search: the typed sounds in order anywhere in the pronunciation.
    std::vector<int> exact;
    for (size_t e = 0; e < entries_.size(); ++e) {
        const Entry &entry = entries_[e];
        if ((entry.symbols & needed) != needed)
            continue;
        const auto *text = reinterpret_cast<const unsigned char *>(entry.stored.constData());
        if (pcre2_match(compiled->code, text, PCRE2_SIZE(entry.stored.size()), 0, 0,
                        compiled->matchData, nullptr) >= 0)
            exact.push_back(int(e));
    }
    // The entries the typing covers most of first ("lisn" is all of listen and only part
    // of lysine), the common words first among those.
    std::stable_sort(exact.begin(), exact.end(), [this](int a, int b) {
        const Entry &x = entries_[size_t(a)];
        const Entry &y = entries_[size_t(b)];
        if (x.sounds != y.sounds)
            return x.sounds < y.sounds;
        return x.frequency > y.frequency;
    });
    listResults(exact, nearIndex_->nearest(typed, nearDistanceFor(typed.size())), limitMode);
}

void PhoneticDictionary::listResults(const std::vector<int> &exact,
                                     std::vector<sounds::NearIndex::Match> near, int limitMode)
{
    // one row for each word, which may have several pronunciations (a strong and a weak
    // form); a near match only for a word the exact search did not find, listed or not
    std::unordered_set<QString> listed;
    for (const int e : exact) {
        if (listed.insert(entries_[size_t(e)].caption).second &&
            (limitMode != Limited || results_.size() < exactLimited))
            results_.append(entries_[size_t(e)].caption);
    }
    nearFrom_ = int(results_.size());
    // at the same distance, the more common word first
    std::stable_sort(near.begin(), near.end(), [this](const auto &a, const auto &b) {
        if (a.distance != b.distance)
            return a.distance < b.distance;
        return entries_[size_t(a.entry)].frequency > entries_[size_t(b.entry)].frequency;
    });
    const int nearMax = nearFrom_ + (limitMode == Limited ? nearLimited : nearAllRows);
    for (const auto &m : near) {
        if (results_.size() >= nearMax)
            break;
        const QString &caption = entries_[size_t(m.entry)].caption;
        if (listed.insert(caption).second)
            results_.append(caption);
    }
}

bool PhoneticDictionary::loadEntries()
{
    if (nearIndex_)
        return true;
    if (!opened_)
        return false;
    const auto rowsOf = [this](const char *sql, const auto &onRow) {
        const sqlite::Statement stmt = sqlite::prepare(sqliteDB_.get(), sql);
        if (!stmt)
            return false;
        int rc;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
            onRow(stmt.get());
        return rc == SQLITE_DONE;
    };
    const auto text = [](sqlite3_stmt *stmt, int i) {
        return QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                          sqlite3_column_bytes(stmt, i));
    };
    // how common each word is, where the dictionary says so
    QHash<QString, int> frequency;
    rowsOf("SELECT w_caption, w_count FROM dict_word_frequency", [&](sqlite3_stmt *stmt) {
        frequency.insert(QString::fromUtf8(text(stmt, 0)), sqlite3_column_int(stmt, 1));
    });
    std::vector<Entry> entries;
    std::vector<std::u32string> pronunciations;
    const bool read = rowsOf(
        // the pronunciation index holds both columns: a scan of it reads a fraction of the
        // pages a scan of the table with its explanations would decipher
        "SELECT w_caption, w_phonetic FROM dict_word", [&](sqlite3_stmt *stmt) {
            Entry entry;
            entry.captionBytes = text(stmt, 0);
            entry.caption = QString::fromUtf8(entry.captionBytes);
            entry.lowerCaption = entry.caption.toLower().toStdU32String();
            entry.stored = text(stmt, 1);
            std::u32string s = sounds::soundsOfStored(
                std::string_view(entry.stored.constData(), size_t(entry.stored.size())));
            entry.sounds = int(s.size());
            entry.symbols = symbolBits(s);
            entry.frequency = frequency.value(entry.caption);
            entries.push_back(std::move(entry));
            pronunciations.push_back(std::move(s));
        });
    if (!read) {
        error_ = QString::fromUtf8(sqlite3_errmsg(sqliteDB_.get()));
        return false;
    }
    entries_ = std::move(entries);
    nearIndex_ = std::make_unique<sounds::NearIndex>(std::move(pronunciations));
    error_.clear();
    return true;
}

const QStringList &PhoneticDictionary::lookupWord(const QByteArray &caption)
{
    runQuery("SELECT w_caption, w_phonetic, w_explain FROM dict_word WHERE w_caption=?", caption,
             Rows::FullEntry);
    return results_;
}

std::vector<std::u32string> PhoneticDictionary::soundsOfWord(const QByteArray &caption)
{
    std::vector<std::u32string> sounds;
    if (!opened_)
        return sounds;
    const sqlite::Statement stmt =
        sqlite::prepare(sqliteDB_.get(), "SELECT w_phonetic FROM dict_word WHERE w_caption=?");
    if (!stmt)
        return sounds;
    sqlite3_stmt *const raw = stmt.get();
    if (sqlite3_bind_text(raw, 1, caption.constData(), int(caption.size()), SQLITE_TRANSIENT) !=
        SQLITE_OK)
        return sounds;
    while (sqlite3_step(raw) == SQLITE_ROW)
        sounds.push_back(
            sounds::soundsOfStored({reinterpret_cast<const char *>(sqlite3_column_text(raw, 0)),
                                    size_t(sqlite3_column_bytes(raw, 0))}));
    return sounds;
}

// The value is bound, not spliced into the text, so quotes in what the learner typed can
// neither break the statement nor change it.
void PhoneticDictionary::runQuery(const char *sql, const QByteArray &value, Rows rows)
{
    results_.clear();
    nearFrom_ = -1;
    if (!opened_)
        return;
    error_.clear();
    const auto fail = [this] { error_ = QString::fromUtf8(sqlite3_errmsg(sqliteDB_.get())); };
    const sqlite::Statement stmt = sqlite::prepare(sqliteDB_.get(), sql);
    if (!stmt)
        return fail();
    sqlite3_stmt *const raw = stmt.get();
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
