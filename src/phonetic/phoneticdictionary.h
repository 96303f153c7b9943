#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <memory>

// Read-only access to the enciphered word dictionary AppPaths::wordDatabase(): searches by caption
// and by typed pronunciation, and the full entry of one word. Owns its own connection,
// keyed with the dictionary's pass phrase and given its own REGEXP. GUI thread only;
// failures leave the results empty and keep the database's reason for the caller.
class PhoneticDictionary final
{
public:
    enum LimitMode
    {
        Limited = 0,
        AllRows = 1
    };

    PhoneticDictionary();
    ~PhoneticDictionary();
    PhoneticDictionary(const PhoneticDictionary &) = delete;
    PhoneticDictionary &operator=(const PhoneticDictionary &) = delete;

    // Opens and keys the database and registers REGEXP. Returns whether it is open.
    bool initDB();

    // Captions that the regular expression pattern (UTF-8) matches anywhere; at most 100
    // rows for Limited, all rows for any other limitMode.
    void searchByCaption(const QByteArray &pattern, int limitMode);

    // Captions whose pronunciation holds the typed tokens in order. Nothing runs for
    // input with a character outside the notation or for a limitMode other than 0 or 1.
    void searchByPhonetic(const QString &input, int limitMode);

    // Caption, "[pronunciation]" and explanation of every row whose caption equals
    // caption (UTF-8), three strings per row.
    const QStringList &lookupWord(const QByteArray &caption);

    const QStringList &results() const { return results_; }
    // Why the dictionary could not be opened or the last search could not read it; empty
    // when it answered (with or without rows).
    const QString &error() const { return error_; }

private:
    enum class Rows
    {
        CaptionOnly,
        FullEntry
    };
    void runQuery(const char *sql, const QByteArray &value, Rows rows);

    struct Close
    {
        // close_v2 never fails; statements are finalized before it runs anyway.
        void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Close> sqliteDB_;
    bool opened_ = false;
    QStringList results_;
    QString error_;
    // Set by REGEXP when the searched pattern, not the database, failed.
    bool patternRejected_ = false;
};
