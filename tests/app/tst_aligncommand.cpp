// "vorlynplayer --align LESSON TEXT --output FILE" on a spoken lesson, without a display:
// the subtitles and the word times it writes read back, and its failures.
#include "lesson/sentences.h"

#include "support/spokenlesson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QStringList spoken = {QStringLiteral("Please close the window before you leave the room."),
                            QStringLiteral("Thank you for listening to this lesson.")};

} // namespace

class TestAlignCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void run_data();
    void run();

private:
    MediaFixtures fx;
    std::vector<SpokenSpan> spans;
};

void TestAlignCommand::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    spans = makeSpokenLesson(fx, QStringLiteral("lesson.wav"), spoken);
    QCOMPARE(spans.size(), size_t(2));
    QFile text(fx.path(QStringLiteral("lesson.txt")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    QVERIFY(text.write(spoken.join(u'\n').toUtf8()) > 0);
    QFile german(fx.path(QStringLiteral("german.txt")));
    QVERIFY(german.open(QIODevice::WriteOnly));
    QVERIFY(german.write("Der Hund läuft schnell über die Straße. Wir gehen morgen ins Kino.") > 0);
    // a book's worth of text for a few seconds of sound
    QFile book(fx.path(QStringLiteral("book.txt")));
    QVERIFY(book.open(QIODevice::WriteOnly));
    for (int i = 0; i < 5000; ++i)
        book.write(QByteArray("Sentence ") + QByteArray::number(i) +
                   " is not in the sound at all.\n");
}

void TestAlignCommand::run_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // part of what it says on failure
    const QString lesson = fx.path(QStringLiteral("lesson.wav"));
    const QString text = fx.path(QStringLiteral("lesson.txt"));
    QTest::newRow("srt") << QStringList{lesson, text, QStringLiteral("--output"),
                                        fx.path(QStringLiteral("out.srt"))}
                         << 0 << QString();
    QTest::newRow("json") << QStringList{lesson, text, QStringLiteral("--output"),
                                         fx.path(QStringLiteral("out.json"))}
                          << 0 << QString();
    QTest::newRow("another language")
        << QStringList{lesson, fx.path(QStringLiteral("german.txt")), QStringLiteral("--output"),
                       fx.path(QStringLiteral("german.srt"))}
        << 0 << QStringLiteral("Only 0 of the 2 sentences");
    QTest::newRow("text far longer than the sound")
        << QStringList{lesson, fx.path(QStringLiteral("book.txt")), QStringLiteral("--output"),
                       fx.path(QStringLiteral("book.srt"))}
        << 0 << QStringLiteral("of the 5000 sentences");
    QTest::newRow("no such text") << QStringList{lesson, fx.path(QStringLiteral("missing.txt")),
                                                 QStringLiteral("--output"),
                                                 fx.path(QStringLiteral("never.srt"))}
                                  << 1 << QStringLiteral("missing.txt");
    QTest::newRow("no sound") << QStringList{text, text, QStringLiteral("--output"),
                                             fx.path(QStringLiteral("never.vtt"))}
                              << 1 << QStringLiteral("lesson.txt");
    QTest::newRow("no output") << QStringList{lesson, text} << 2 << QStringLiteral("Usage");
}

void TestAlignCommand::run()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), fx.path(QStringLiteral("cache")));
    p.setProcessEnvironment(env);
    p.start(QDir::current().absoluteFilePath(QStringLiteral("vorlynplayer")),
            QStringList{QStringLiteral("--align")} + args);
    QVERIFY(p.waitForFinished(300000));
    const QString said = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), exitCode);
    QVERIFY2(said.contains(message), qPrintable(said));
    if (exitCode != 0) {
        QVERIFY(!QFile::exists(args.last()) || args.size() < 4);
        return;
    }
    const QString out = args.last();
    if (!message.isEmpty()) {
        QVERIFY(QFile::exists(out));
        return;
    }
    if (out.endsWith(u".srt")) {
        QString why;
        const std::optional<lesson::Sentences> read = lesson::readSubtitleFile(out, 0, &why);
        QVERIFY2(read, qPrintable(why));
        QCOMPARE(read->items.size(), spans.size());
        for (size_t i = 0; i < spans.size(); ++i) {
            QCOMPARE(read->items[i].text, spoken[qsizetype(i)]);
            // read back, a cue is padded once more
            QVERIFY(std::abs(read->items[i].start - spans[i].start) < 0.5);
        }
        return;
    }
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QJsonArray sentences =
        QJsonDocument::fromJson(f.readAll())[QLatin1String("sentences")].toArray();
    QCOMPARE(sentences.size(), qsizetype(spans.size()));
    const QJsonArray words = sentences[1][QLatin1String("words")].toArray();
    QCOMPARE(words.size(), qsizetype(7));
    QCOMPARE(words[0][QLatin1String("word")].toString(), u"Thank");
    double last = 0;
    for (const QJsonValue &w : words) {
        QVERIFY(w[QLatin1String("start")].toDouble() >= last &&
                w[QLatin1String("end")].toDouble() > w[QLatin1String("start")].toDouble());
        last = w[QLatin1String("end")].toDouble();
    }
    QVERIFY(std::abs(words[0][QLatin1String("start")].toDouble() - spans[1].start) < 0.3);
}

QTEST_GUILESS_MAIN(TestAlignCommand)
#include "tst_aligncommand.moc"
