#pragma once

// Writes small enciphered dictionaries for the phonetic tests, in the store's table layout
// and through the store's cipher.
#include "dictcipher/dictcipher.h"

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include <sqlite3.h>

struct Row
{
    QByteArray caption, phonetic, explain;
};

inline const QByteArray storePassPhrase("quillox_tapesmithy_acoustic");

// Writes ./dict/words.db under dir, enciphered with pass.
inline bool writeDictionary(const QString &dir, const QList<Row> &rows, const QByteArray &pass)
{
    if (!QDir(dir).mkpath(QStringLiteral("dict")))
        return false;
    sqlite3 *db = nullptr;
    const QByteArray path = QDir(dir).filePath(QStringLiteral("dict/words.db")).toUtf8();
    bool ok = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              dictcipher::vfsName()) == SQLITE_OK &&
              dictcipher::key(db, pass.constData(), int(pass.size())) == SQLITE_OK &&
              sqlite3_exec(db,
                           "CREATE TABLE dict_word(w_caption TEXT, w_phonetic TEXT, "
                           "w_explain TEXT); BEGIN",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO dict_word VALUES(?, ?, ?)", -1, &insert,
                                  nullptr) == SQLITE_OK;
    for (const Row &row : rows) {
        if (!ok)
            break;
        sqlite3_bind_text(insert, 1, row.caption.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, row.phonetic.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, row.explain.constData(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
