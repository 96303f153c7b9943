#pragma once

#include "phonetic/soundmatch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

// Read-only access to the enciphered word dictionary AppPaths::wordDatabase(): searches by caption
// and by typed pronunciation, and the full entry of one word. Owns its own connection,
// keyed with the dictionary's pass phrase. The searches rank what they find, so they run
// over a copy of every entry read into memory by the first of them (about 120,000
// entries, a few megabytes), with the same regular expressions. GUI thread only;
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

    // Opens and keys the database. Returns whether it is open.
    bool initDB();

    // Captions that the regular expression pattern (UTF-8) matches anywhere, the ones it
    // covers most of first; at most 100 rows for Limited, all rows for any other
    // limitMode. For a plain word, the captions spelt nearest it follow, from
    // nearMatchesFrom() on (at most 20 for Limited, 100 otherwise).
    void searchByCaption(const QByteArray &pattern, int limitMode);

    // Captions whose pronunciation holds the typed tokens in order, the entries the
    // typing covers most of first, the more common words first among equals (at most 100
    // rows for Limited); then the captions whose pronunciation sounds nearest the typing,
    // from nearMatchesFrom() on (at most 20 for Limited, 100 for AllRows). The typing is
    // read as learners write (see sounds::readLearnerTyping). Nothing runs for input with
    // a character outside the notation or for a limitMode other than 0 or 1.
    void searchByPhonetic(const QString &input, int limitMode);
    // Where the near matches of the last phonetic search begin in results(); its size
    // when there are none, and after any other search.
    int nearMatchesFrom() const { return nearFrom_ < 0 ? int(results_.size()) : nearFrom_; }

    // Reads every entry into memory for the searches, once (the first search does it
    // otherwise); false when the dictionary cannot be read, with error() saying why.
    bool prepare() { return loadEntries(); }

    // Caption, "[pronunciation]" and explanation of every row whose caption equals
    // caption (UTF-8), three strings per row.
    const QStringList &lookupWord(const QByteArray &caption);

    // The sounds of each pronunciation of the word caption (UTF-8), stress and length marks
    // left out (see sounds::soundsOfStored); none when the dictionary lacks the word. Leaves
    // results() as they are.
    std::vector<std::u32string> soundsOfWord(const QByteArray &caption);

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
    // Reads every entry into memory for the ranked searches, once; false when the
    // dictionary cannot be read.
    bool loadEntries();
    // Lists the words of the exact matches in their order, each once (at most 100 for
    // Limited), then the near matches of words not among them, nearest and most common
    // first.
    void listResults(const std::vector<int> &exact, std::vector<sounds::NearIndex::Match> near,
                     int limitMode);

    struct Entry
    {
        QString caption;
        QByteArray captionBytes; // as stored, which need not be UTF-8
        std::u32string lowerCaption;
        QByteArray stored;    // the pronunciation as stored, references and all
        int sounds = 0;       // how many sounds it has, marks left out
        int frequency = 0;    // how common the word is, 0 when unknown
        uint64_t symbols = 0; // which sounds occur in it, a bit per sound
    };
    std::vector<Entry> entries_;
    std::unique_ptr<sounds::NearIndex> nearIndex_;
    int nearFrom_ = -1; // -1: the last search had no near matches to list

    struct Close
    {
        // close_v2 never fails; statements are finalized before it runs anyway.
        void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
    };
    std::unique_ptr<sqlite3, Close> sqliteDB_;
    bool opened_ = false;
    QStringList results_;
    QString error_;
};
