// A lesson's sentences saved as subtitles and JSON: SRT and WebVTT read back by the lesson's
// own subtitle reader, JSON parsed back with its word times, and files that cannot be
// written left as they were.
#include "lesson/sentences.h"
#include "lesson/subtitlewriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace lesson;

namespace {

// The lesson's clock starts here, as a file with a start time has it.
constexpr double clockStart = 10;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Sentence sentence(double start, double end, const QString &text)
{
    Sentence s;
    s.start = start;
    s.end = end;
    s.text = text;
    return s;
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestSubtitleWriter : public QObject
{
    Q_OBJECT

private slots:
    void subtitlesReadBackAsWritten_data();
    void subtitlesReadBackAsWritten();
    void jsonKeepsTheWordTimes();
    void failureLeavesTheFileAlone_data();
    void failureLeavesTheFileAlone();

private:
    QTemporaryDir dir;
};

void TestSubtitleWriter::subtitlesReadBackAsWritten_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("srt") << QStringLiteral("srt");
    QTest::newRow("webvtt") << QStringLiteral("vtt");
}

void TestSubtitleWriter::subtitlesReadBackAsWritten()
{
    QFETCH(QString, suffix);
    Sentences written;
    // the first starts before the clock does; times finer than a millisecond; one without
    // text; texts that break lines, hold an arrow, start like a cue timing, use markup
    // characters and other scripts; one past an hour
    written.items = {
        sentence(9.8, 11.2, QStringLiteral("Before the clock")),
        sentence(11.5, 12.7504, QStringLiteral("First line\nsecond line\n\nafter a blank line")),
        sentence(13.0, 14.0, QString()),
        sentence(14.2, 15.1, QStringLiteral("a --> b")),
        sentence(15.5, 16.25, QStringLiteral("12 --> 13 is a range")),
        sentence(17.0, 18.3336, QStringLiteral("x & y < z &amp; w>")),
        sentence(19.0, 21.0, QStringLiteral("你好，世界 — café\r\nnaïve")),
        sentence(3735.5, 3740.123, QStringLiteral("An hour later")),
    };
    const QString file = dir.filePath(QStringLiteral("lesson.") + suffix);
    QString why;
    QVERIFY2(writeSentencesFile(file, written, clockStart, &why), qPrintable(why));

    // what the reader makes of the cues that were meant: times within the clock, texts
    // with their line breaks as spaces, "…" for none
    std::vector<Sentence> cues;
    for (const Sentence &s : written.items)
        cues.push_back(sentence(std::max(s.start, clockStart), s.end,
                                s.text.isEmpty() ? QStringLiteral("…") : s.text.simplified()));
    QStringList notes;
    const std::vector<Sentence> expected = sentencesFromCues(cues, notes);
    QVERIFY(notes.isEmpty());

    const std::optional<Sentences> read = readSubtitleFile(file, clockStart, &why);
    QVERIFY2(read, qPrintable(why));
    QVERIFY2(read->notes.isEmpty(), qPrintable(read->notes.join(u'\n')));
    QCOMPARE(read->items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(read->items[i].text, expected[i].text);
        QVERIFY2(std::abs(read->items[i].start - expected[i].start) < 0.001,
                 qPrintable(QString::number(read->items[i].start)));
        QVERIFY2(std::abs(read->items[i].end - expected[i].end) < 0.001,
                 qPrintable(QString::number(read->items[i].end)));
    }
}

void TestSubtitleWriter::jsonKeepsTheWordTimes()
{
    Sentences written;
    Sentence heard = sentence(10.5, 12.0, QStringLiteral("Hello, wide world"));
    heard.words = {{0, 5, 10.5, 10.9}, {7, 4, 11.0, 11.3}, {12, 5, 11.4, 11.9}};
    Sentence guessed = sentence(12.5, 13.5, QStringLiteral("Not heard"));
    guessed.unsure = Unsure::NotHeard;
    written.items = {heard, guessed};
    const QString file = dir.filePath(QStringLiteral("lesson.json"));
    QString why;
    QVERIFY2(writeSentencesFile(file, written, clockStart, &why), qPrintable(why));

    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(file), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray sentences = doc.object().value(QStringLiteral("sentences")).toArray();
    QCOMPARE(sentences.size(), 2);
    const QJsonObject first = sentences[0].toObject();
    QCOMPARE(first.value(QStringLiteral("start")).toDouble(), 0.5);
    QCOMPARE(first.value(QStringLiteral("end")).toDouble(), 2.0);
    QCOMPARE(first.value(QStringLiteral("text")).toString(), heard.text);
    QCOMPARE(first.value(QStringLiteral("unsure")), QJsonValue(false));
    QStringList words;
    for (const QJsonValue &w : first.value(QStringLiteral("words")).toArray())
        words += QStringLiteral("%1 %2-%3")
                     .arg(w[QStringLiteral("word")].toString())
                     .arg(w[QStringLiteral("start")].toDouble())
                     .arg(w[QStringLiteral("end")].toDouble());
    QCOMPARE(words, (QStringList{QStringLiteral("Hello 0.5-0.9"), QStringLiteral("wide 1-1.3"),
                                 QStringLiteral("world 1.4-1.9")}));
    const QJsonObject second = sentences[1].toObject();
    QCOMPARE(second.value(QStringLiteral("unsure")), QJsonValue(true));
    QCOMPARE(second.value(QStringLiteral("words")).toArray().size(), 0);
}

void TestSubtitleWriter::failureLeavesTheFileAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");
    QTest::newRow("unknown suffix") << QStringLiteral("lesson.txt") << QString();
    QTest::newRow("read-only folder")
        << QStringLiteral("lesson.srt") << QStringLiteral("read-only");
    QTest::newRow("full disk") << QStringLiteral("lesson.vtt") << QStringLiteral("full");
}

void TestSubtitleWriter::failureLeavesTheFileAlone()
{
    QFETCH(QString, name);
    QFETCH(QString, fault);
    const QString folder = dir.filePath(QLatin1String(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + u'/' + name;
    const QByteArray before("what was there before\n");
    QVERIFY(writeAll(file, before));
    Sentences sentences;
    // more than the file size limit below allows
    for (int i = 0; i < 200; ++i)
        sentences.items.push_back(
            sentence(clockStart + i, clockStart + i + 0.5,
                     QStringLiteral("Sentence number %1 of the lesson").arg(i)));

    // As root, permissions do not stop writes, so the folder is mounted read-only over
    // itself; a file size limit fails writes the way a full disk does, for anyone.
    QStringList unmount;
    const auto restore = qScopeGuard([&] {
        if (!unmount.isEmpty())
            QProcess::execute(QStringLiteral("umount"), unmount);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        unlimited.rlim_cur = unlimited.rlim_max;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        signal(SIGXFSZ, SIG_DFL);
    });
    QString reason = QStringLiteral(".srt, .vtt or .json");
    if (fault == QLatin1String("read-only")) {
        if (geteuid() != 0) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            reason = QStringLiteral("Permission denied");
        } else {
            if (QProcess::execute(QStringLiteral("mount"),
                                  {QStringLiteral("--bind"), folder, folder}) != 0)
                QSKIP("cannot bind-mount the folder");
            unmount = QStringList{folder};
            if (QProcess::execute(
                    QStringLiteral("mount"),
                    {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), folder}) != 0)
                QSKIP("cannot make the folder read-only");
            reason = QStringLiteral("Read-only file system");
        }
    } else if (fault == QLatin1String("full")) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        limit.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        reason = QStringLiteral("File too large");
    }

    QString why;
    QVERIFY(!writeSentencesFile(file, sentences, clockStart, &why));
    QVERIFY2(why.contains(name) && why.contains(reason), qPrintable(why));
    QCOMPARE(readAll(file), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{name});
}

QTEST_GUILESS_MAIN(TestSubtitleWriter)
#include "tst_subtitlewriter.moc"
