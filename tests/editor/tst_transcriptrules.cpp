// The transcript rules without a window: which document is a lesson's transcript, and what
// becomes of the editor's document when a lesson opens, over files in a temporary folder.
#include "editor/transcriptrules.h"

#include "paths/apppaths.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(LessonSwitch::Then)

class TestTranscriptRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void lessonOfATranscript_data();
    void lessonOfATranscript();
    void openingALesson_data();
    void openingALesson();

private:
    // name in the temporary folder; "guide" is the practice guide; empty stays empty
    QString file(const QString &name) const;

    QTemporaryDir dir;
};

void TestTranscriptRules::initTestCase()
{
    QVERIFY(dir.isValid());
    for (const char *name : {"a.mp3", "b.mp3", "notes.txt"})
        writeFile(dir.filePath(QLatin1String(name)), "x");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mp3")));
}

QString TestTranscriptRules::file(const QString &name) const
{
    if (name == QLatin1String("guide"))
        return AppPaths::defaultDocument();
    return name.isEmpty() ? QString() : dir.filePath(name);
}

void TestTranscriptRules::lessonOfATranscript_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("lesson"); // empty: no lesson's transcript

    QTest::newRow("beside its media file") << "a.mp3.html"
                                           << "a.mp3";
    QTest::newRow("the suffix in capitals") << "a.mp3.HTML"
                                            << "a.mp3";
    QTest::newRow("another suffix") << "a.mp3.htm"
                                    << "";
    QTest::newRow("no media file beside it") << "gone.mp3.html"
                                             << "";
    QTest::newRow("a folder is no media file") << "folder.mp3.html"
                                               << "";
    QTest::newRow("a document saved as html") << "notes.txt.html"
                                              << "";
}

void TestTranscriptRules::lessonOfATranscript()
{
    QFETCH(QString, document);
    QFETCH(QString, lesson);
    QCOMPARE(TranscriptRules::lessonOf(file(document)), file(lesson));
}

void TestTranscriptRules::openingALesson_data()
{
    QTest::addColumn<QString>("fileName");    // the document's own file
    QTest::addColumn<QString>("lessonMedia"); // the lesson whose transcript it is
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("handedWith"); // the media file handed over with the document
    QTest::addColumn<bool>("existing");      // b.mp3.html exists
    QTest::addColumn<bool>("savesFirst");    // the typing goes to the document's own file
    QTest::addColumn<LessonSwitch::Then>("then");
    QTest::addColumn<bool>("clear");

    using T = LessonSwitch::Then;
    QTest::newRow("another lesson's typing is saved, the new transcript starts empty")
        << "a.mp3.html"
        << "a.mp3" << true << "" << false << true << T::StartTranscript << true;
    QTest::newRow("coming back from another lesson loads the transcript")
        << "a.mp3.html"
        << "a.mp3" << true << "" << true << true << T::LoadTranscript << false;
    QTest::newRow("the unchanged guide is not copied")
        << "guide"
        << "" << false << "" << false << false << T::StartTranscript << true;
    QTest::newRow("typing in the guide goes under the lesson's name, never into the guide")
        << "guide"
        << "" << true << "" << false << false << T::StartTranscript << false;
    QTest::newRow("typing in the guide neither replaces nor overwrites a transcript")
        << "guide"
        << "" << true << "" << true << false << T::KeepUntitled << false;
    QTest::newRow("untitled typing goes under the lesson's name")
        << ""
        << "" << true << "" << false << false << T::StartTranscript << false;
    QTest::newRow("untitled typing neither replaces nor overwrites a transcript")
        << ""
        << "" << true << "" << true << false << T::KeepUntitled << false;
    QTest::newRow("a file opened on its own is saved to itself, the transcript starts empty")
        << "notes.txt"
        << "" << true << "" << false << true << T::StartTranscript << true;
    QTest::newRow("a file handed over with the lesson starts its transcript")
        << "notes.txt"
        << "" << false << "b.mp3" << false << false << T::StartTranscript << false;
    QTest::newRow("a file handed over with another lesson does not")
        << "notes.txt"
        << "" << false << "a.mp3" << false << false << T::StartTranscript << true;
    QTest::newRow("a file handed over with the lesson does not replace its transcript")
        << "notes.txt"
        << "" << false << "b.mp3" << true << false << T::LoadTranscript << false;
    QTest::newRow("the same lesson whose transcript went keeps its text")
        << "b.mp3.html"
        << "b.mp3" << false << "" << false << false << T::StartTranscript << false;
}

void TestTranscriptRules::openingALesson()
{
    QFETCH(QString, fileName);
    QFETCH(QString, lessonMedia);
    QFETCH(bool, modified);
    QFETCH(QString, handedWith);
    QFETCH(bool, existing);
    QFETCH(bool, savesFirst);
    QFETCH(LessonSwitch::Then, then);
    QFETCH(bool, clear);

    const QString transcript = dir.filePath(QStringLiteral("b.mp3.html"));
    QFile::remove(transcript);
    if (existing)
        writeFile(transcript, "earlier work");

    const TranscriptDocument before{file(fileName), file(lessonMedia), modified, file(handedWith)};
    QCOMPARE(TranscriptRules::savesToOwnFile(before), savesFirst);
    // the editor asks again once that save is done
    const TranscriptDocument saved{before.fileName, before.lessonMedia, modified && !savesFirst,
                                   before.handedWith};
    const LessonSwitch to = TranscriptRules::switchTo(dir.filePath(QStringLiteral("b.mp3")), saved);
    QCOMPARE(to.then, then);
    QCOMPARE(to.transcript, transcript);
    QCOMPARE(to.media, dir.filePath(QStringLiteral("b.mp3")));
    if (then == LessonSwitch::Then::StartTranscript)
        QCOMPARE(to.clear, clear);
}

QTEST_GUILESS_MAIN(TestTranscriptRules)
#include "tst_transcriptrules.moc"
