// The page cipher: known-answer values computed independently (Python's hashlib and the
// openssl command line), and databases written and read through the cipher VFS in a
// temporary folder: what lands on disk, wrong and empty pass phrases, page sizes, journals.
#include "dictcipher/dictcipher.h"
#include "dictcipher/pagecipher.h"
#include "testfiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <iterator>
#include <memory>

namespace {

struct DbClose
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, DbClose>;

const QByteArray passPhrase("quillox_tapesmithy_acoustic");

Db openKeyed(const QString &path, const QByteArray &pass)
{
    sqlite3 *raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, dictcipher::vfsName());
    Db db(raw);
    if (rc != SQLITE_OK ||
        dictcipher::key(db.get(), pass.constData(), int(pass.size())) != SQLITE_OK)
        return {};
    return db;
}

int exec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// The rows' text: distinct, easy to search for in raw bytes.
QByteArray rowText(int i)
{
    return "plainmarker-" + QByteArray::number(i) + QByteArray(40, 'x');
}

// Writes rows rows of rowText through a keyed connection with the given page size.
bool writeRows(sqlite3 *db, int pageSize, int rows)
{
    const QByteArray pragma = "PRAGMA page_size=" + QByteArray::number(pageSize);
    if (exec(db, pragma.constData()) != SQLITE_OK ||
        exec(db, "CREATE TABLE t(id INTEGER PRIMARY KEY, v TEXT)") != SQLITE_OK ||
        exec(db, "BEGIN") != SQLITE_OK)
        return false;
    for (int i = 0; i < rows; ++i) {
        const QByteArray sql =
            "INSERT INTO t VALUES(" + QByteArray::number(i) + ",'" + rowText(i) + "')";
        if (exec(db, sql.constData()) != SQLITE_OK)
            return false;
    }
    return exec(db, "COMMIT") == SQLITE_OK;
}

// Count of rows whose text is intact, or -1 when the query fails.
int intactRows(sqlite3 *db, int *errorCode = nullptr)
{
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT id, v FROM t", -1, &stmt, nullptr);
    int count = 0;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(stmt)) != SQLITE_ROW)
            break;
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
        if (text && rowText(sqlite3_column_int(stmt, 0)) == text)
            ++count;
    }
    sqlite3_finalize(stmt);
    if (errorCode)
        *errorCode = rc;
    return rc == SQLITE_DONE ? count : -1;
}

} // namespace

class TestCipher : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers();
    void callsLeaveNoState();
    void roundTrip_data();
    void roundTrip();
    void wrongPassPhrase();
    void emptyPassPhraseStaysPlain();
    void journals_data();
    void journals();
    void hotJournalRecovery();
    void temporaryFiles();
    void keyNeedsCipherFile();
};

void TestCipher::knownAnswers()
{
    using namespace dictcipher;
    const DerivedKey key = deriveKey(passPhrase.constData(), int(passPhrase.size()));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(key.data()), 32).toHex(),
             QByteArray("e68bf81c6d3ac5f0ff6984fc0e7d1263df4f825f557934667de8feed59020fc4"));
    // Only the first 32 bytes of a pass phrase count.
    const QByteArray prefix(32, 'k');
    QVERIFY(deriveKey((prefix + "one").constData(), 35) ==
            deriveKey((prefix + "other").constData(), 37));
    const DerivedKey padOnly = deriveKey("", 0);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(padOnly.data()), 32).toHex(),
             QByteArray("e36e1031fbe92304fa62a6e8b5abf35753631818b5eb3c25a035427ec4d52f68"));
    const PageKey page7 = pageKey(key, 7);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(page7.data()), 32).toHex(),
             QByteArray("d796a1387844d214b12a8c095fe96e32170f49b77b6a663659a5af3e1efab2dd"));
    const PageIv iv7 = pageIv(7);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(iv7.data()), 16).toHex(),
             QByteArray("888e6e0d9bbcb5e10410faaee4d1c8c2"));

    QByteArray page(512, Qt::Uninitialized);
    for (int i = 0; i < page.size(); ++i)
        page[i] = char((i * 7 + 3) & 0xFF);
    const QByteArray plain = page;
    PageCipher cipher(key);
    auto *bytes = reinterpret_cast<std::uint8_t *>(page.data());
    QVERIFY(cipher.encipherPage(bytes, std::size_t(page.size()), 7));
    QCOMPARE(QCryptographicHash::hash(page, QCryptographicHash::Sha256).toHex(),
             QByteArray("0bfd6684452c2c584961efa3bdec37f3833bcceef5ea3598cd2962cfb469f7c0"));
    QVERIFY(cipher.decipherPage(bytes, std::size_t(page.size()), 7));
    QCOMPARE(page, plain);
}

// One cipher serves every call of its file and keeps its contexts between calls, so a call
// must leave nothing behind for the next: mixed directions, pages, prefixes and journal
// offsets give what a fresh cipher gives, and a journal transformed piece by piece at
// unaligned offsets equals the same bytes transformed in one call.
void TestCipher::callsLeaveNoState()
{
    using namespace dictcipher;
    const DerivedKey key = deriveKey(passPhrase.constData(), int(passPhrase.size()));
    QByteArray data(4096, Qt::Uninitialized);
    for (int i = 0; i < data.size(); ++i)
        data[i] = char((i * 31 + 5) & 0xFF);
    enum Kind
    {
        Encipher,
        Decipher,
        Journal
    };
    struct Call
    {
        Kind kind;
        int size;
        std::uint32_t pageNumber;
        std::int64_t offset;
    };
    const auto run = [](PageCipher &cipher, const Call &call, QByteArray &bytes) {
        auto *raw = reinterpret_cast<std::uint8_t *>(bytes.data());
        switch (call.kind) {
        case Encipher:
            return cipher.encipherPage(raw, std::size_t(call.size), call.pageNumber);
        case Decipher:
            return cipher.decipherPage(raw, std::size_t(call.size), call.pageNumber);
        case Journal:
            return cipher.transformJournal(raw, std::size_t(call.size), call.offset);
        }
        return false;
    };
    PageCipher shared(key);
    const Call calls[] = {{Encipher, 4096, 3, 0},  {Journal, 37, 0, 5},
                          {Decipher, 32, 1, 0},    {Decipher, 1024, 9, 0},
                          {Journal, 100, 0, 4095}, {Encipher, 512, 0xFFFFFFFF, 0},
                          {Journal, 16, 0, 0},     {Decipher, 4096, 3, 0},
                          {Encipher, 16, 2, 0},    {Journal, 4096, 0, 1LL << 40}};
    for (const Call &call : calls) {
        QByteArray reused = data.left(call.size);
        QByteArray fresh = reused;
        PageCipher freshCipher(key);
        QVERIFY(run(shared, call, reused));
        QVERIFY(run(freshCipher, call, fresh));
        QCOMPARE(reused, fresh);
    }

    QByteArray whole = data;
    QVERIFY(PageCipher(key).transformJournal(reinterpret_cast<std::uint8_t *>(whole.data()),
                                             std::size_t(whole.size()), 0));
    QByteArray pieces = data;
    const int cuts[] = {0, 7, 16, 33, 1000, 1001, 2048, 4096};
    for (std::size_t i = 0; i + 1 < std::size(cuts); ++i)
        QVERIFY(shared.transformJournal(reinterpret_cast<std::uint8_t *>(pieces.data()) + cuts[i],
                                        std::size_t(cuts[i + 1] - cuts[i]), cuts[i]));
    QCOMPARE(pieces, whole);
}

void TestCipher::roundTrip_data()
{
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<int>("rows");
    QTest::newRow("smallest pages") << 512 << 2000;
    QTest::newRow("1 KiB, one page") << 1024 << 3;
    QTest::newRow("default pages") << 4096 << 5000;
    QTest::newRow("largest pages") << 65536 << 3000;
}

// Every page on disk is the enciphered form of a page that holds a valid database:
// page 1 deciphers to the SQLite header, and no row text is readable on disk.
void TestCipher::roundTrip()
{
    QFETCH(int, pageSize);
    QFETCH(int, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.db"));
    {
        Db db = openKeyed(path, passPhrase);
        QVERIFY(db && writeRows(db.get(), pageSize, rows));
    }
    const QByteArray disk = readAll(path);
    QVERIFY(disk.size() >= pageSize && disk.size() % pageSize == 0);
    QVERIFY(!disk.startsWith("SQLite format 3"));
    QVERIFY(!disk.contains("plainmarker"));

    using namespace dictcipher;
    dictcipher::PageCipher cipher(deriveKey(passPhrase.constData(), int(passPhrase.size())));
    QByteArray first = disk.left(pageSize);
    QVERIFY(cipher.decipherPage(reinterpret_cast<std::uint8_t *>(first.data()),
                                std::size_t(pageSize), 1));
    QVERIFY(first.startsWith(QByteArray("SQLite format 3", 16)));
    const int recorded = (uchar(first[16]) << 8 | uchar(first[17]));
    QCOMPARE(recorded == 1 ? 65536 : recorded, pageSize);
    QCOMPARE(int(disk.size() / pageSize), int(uchar(first[28]) << 24 | uchar(first[29]) << 16 |
                                              uchar(first[30]) << 8 | uchar(first[31])));

    Db db = openKeyed(path, passPhrase);
    QVERIFY(db);
    QCOMPARE(intactRows(db.get()), rows);
    QCOMPARE(exec(db.get(), "PRAGMA integrity_check"), SQLITE_OK);
}

void TestCipher::wrongPassPhrase()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wrong.db"));
    {
        Db db = openKeyed(path, passPhrase);
        QVERIFY(db && writeRows(db.get(), 1024, 50));
    }
    const QByteArray before = readAll(path);
    Db db = openKeyed(path, "not the pass phrase");
    QVERIFY(db);
    int rc = SQLITE_OK;
    QCOMPARE(intactRows(db.get(), &rc), -1);
    QCOMPARE(rc, SQLITE_NOTADB);
    // SQLite 3.40 words this result "file is not a database".
    QCOMPARE(QByteArray(sqlite3_errmsg(db.get())), QByteArray(sqlite3_errstr(SQLITE_NOTADB)));
    db.reset();
    QCOMPARE(readAll(path), before);
}

void TestCipher::emptyPassPhraseStaysPlain()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.db"));
    {
        Db db = openKeyed(path, QByteArray());
        QVERIFY(db && writeRows(db.get(), 4096, 20));
    }
    const QByteArray disk = readAll(path);
    QVERIFY(disk.startsWith(QByteArray("SQLite format 3", 16)));
    QVERIFY(disk.contains("plainmarker-19"));
    sqlite3 *raw = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &raw), SQLITE_OK);
    Db plain(raw);
    QCOMPARE(intactRows(plain.get()), 20);
}

void TestCipher::journals_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QString>("journalSuffix");
    QTest::newRow("persistent rollback journal")
        << QByteArray("PERSIST") << QStringLiteral("-journal");
    QTest::newRow("write-ahead log") << QByteArray("WAL") << QStringLiteral("-wal");
}

// A transaction that changes every row is rolled back, then one is committed; the
// journal left on disk holds old pages but none of their text, and the rows read back.
void TestCipher::journals()
{
    QFETCH(QByteArray, mode);
    QFETCH(QString, journalSuffix);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.db"));
    Db db = openKeyed(path, passPhrase);
    QVERIFY(db && writeRows(db.get(), 1024, 300));
    QCOMPARE(exec(db.get(), ("PRAGMA journal_mode=" + mode).constData()), SQLITE_OK);

    QCOMPARE(exec(db.get(), "BEGIN"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "UPDATE t SET v = 'changed'"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "DELETE FROM t WHERE id % 2 = 0"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "ROLLBACK"), SQLITE_OK);
    QCOMPARE(intactRows(db.get()), 300);

    QCOMPARE(exec(db.get(), "UPDATE t SET v = v || '' WHERE id < 200"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "DELETE FROM t WHERE id >= 250"), SQLITE_OK);
    const QByteArray journal = readAll(path + journalSuffix);
    QVERIFY(journal.size() > 1024);
    QVERIFY(!journal.contains("plainmarker"));
    QVERIFY(!readAll(path).contains("plainmarker"));

    db = openKeyed(path, passPhrase);
    QVERIFY(db);
    QCOMPARE(intactRows(db.get()), 250);
}

// A crash in the middle of a transaction leaves changed pages in the database file and the
// old ones in the journal; the next keyed connection must decipher the journal to roll back.
void TestCipher::hotJournalRecovery()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("live.db"));
    const QString crashed = dir.filePath(QStringLiteral("crashed.db"));
    Db db = openKeyed(path, passPhrase);
    QVERIFY(db && writeRows(db.get(), 1024, 400));
    // A one-page cache spills changed pages into the file before the commit.
    QCOMPARE(exec(db.get(), "PRAGMA cache_size=1"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "BEGIN"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "UPDATE t SET v = 'changed'"), SQLITE_OK);
    const QByteArray journal = readAll(path + QStringLiteral("-journal"));
    QVERIFY(journal.size() > 1024);
    QVERIFY(!journal.contains("plainmarker"));
    QVERIFY(QFile::copy(path, crashed));
    QVERIFY(QFile::copy(path + QStringLiteral("-journal"), crashed + QStringLiteral("-journal")));
    QCOMPARE(exec(db.get(), "ROLLBACK"), SQLITE_OK);
    db.reset();

    Db recovered = openKeyed(crashed, passPhrase);
    QVERIFY(recovered);
    QCOMPARE(intactRows(recovered.get()), 400);
    QCOMPARE(exec(recovered.get(), "PRAGMA integrity_check"), SQLITE_OK);
}

// VACUUM rebuilds the database through a temporary copy, which a small cache makes spill
// to disk; it goes through the cipher under its own key and must come back intact.
void TestCipher::temporaryFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vacuum.db"));
    Db db = openKeyed(path, passPhrase);
    QVERIFY(db && writeRows(db.get(), 1024, 3000));
    QCOMPARE(exec(db.get(), "PRAGMA temp_store=FILE"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "PRAGMA cache_size=10"), SQLITE_OK);
    QCOMPARE(exec(db.get(), "DELETE FROM t WHERE id >= 1000"), SQLITE_OK);
    const qint64 before = readAll(path).size();
    QCOMPARE(exec(db.get(), "VACUUM"), SQLITE_OK);
    QVERIFY(readAll(path).size() < before);
    QCOMPARE(intactRows(db.get()), 1000);
    db = openKeyed(path, passPhrase);
    QVERIFY(db);
    QCOMPARE(intactRows(db.get()), 1000);
}

// Keying a connection that does not run on the cipher VFS would silently leave it plain.
void TestCipher::keyNeedsCipherFile()
{
    QTemporaryDir dir;
    sqlite3 *raw = nullptr;
    QCOMPARE(
        sqlite3_open(QFile::encodeName(dir.filePath(QStringLiteral("x.db"))).constData(), &raw),
        SQLITE_OK);
    Db db(raw);
    QCOMPARE(dictcipher::key(db.get(), passPhrase.constData(), int(passPhrase.size())),
             SQLITE_MISUSE);
}

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
