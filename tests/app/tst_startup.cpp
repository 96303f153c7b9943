// The program as a process: one copy at a time, and the token released by a normal end,
// by a termination signal, and even after a crash; files named on the command line, opened
// by their content, and handed by a later copy to the one that runs.
#include "support/mediafixtures.h"
#include "testfiles.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QSharedMemory>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

// The token's key file lies in the temporary folder: a folder of the test's own keeps its
// copies apart from a player the learner runs on the same machine.
QTemporaryDir &tokenFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// The running copy's channel, a socket in the temporary folder; made once it listens.
QString channel()
{
    return tokenFolder().filePath(QStringLiteral("vorlynplayer-%1").arg(::getuid()));
}

// When the channel was made; invalid while there is none.
QDateTime channelMade()
{
    return QFileInfo(channel()).lastModified();
}

// Lessons and documents, each named as the other kind: only the content tells them apart.
MediaFixtures &files()
{
    static MediaFixtures fx;
    return fx;
}
QString lesson()
{
    return files().path(QStringLiteral("lesson.txt"));
}
QString notes()
{
    return files().path(QStringLiteral("notes.mp4"));
}
QString transcript()
{
    return lesson() + QStringLiteral(".html");
}

// Started from the run tree unless folder names another working folder (the program then
// finds none of its data, which a copy that hands its files over does not need).
bool startPlayer(QProcess &p, const QStringList &args = {}, const QString &folder = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tokenFolder().path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), tokenFolder().filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), tokenFolder().filePath(QStringLiteral("cache")));
    p.setProcessEnvironment(env);
    p.setProgram(QDir::current().absoluteFilePath(QStringLiteral("vorlynplayer")));
    p.setArguments(args);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start();
    return p.waitForStarted(5000);
}

// Still running after the start-up had time to give up.
bool keepsRunning(QProcess &p)
{
    return !p.waitForFinished(2500) && p.state() == QProcess::Running;
}

bool stopPlayer(QProcess &p)
{
    ::kill(pid_t(p.processId()), SIGTERM);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

// A later copy started in the lessons' folder with a relative name hands it over and ends.
bool handOverLesson()
{
    QProcess later;
    if (!startPlayer(later, {QStringLiteral("lesson.txt")}, files().dir.path()))
        return false;
    return later.waitForFinished(30000) && later.exitStatus() == QProcess::NormalExit &&
           later.exitCode() == 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void oneCopyAtATime();
    void aCrashedCopyDoesNotBlockTheNext();
    void anotherUsersCopyDoesNotKeepThisOneOut();
    void commandLineOpensByContent_data();
    void commandLineOpensByContent();
    void aLaterCopyHandsItsFileToTheRunningOne();
};

void TestStartup::initTestCase()
{
    QVERIFY(tokenFolder().isValid());
    QVERIFY(files().dir.isValid());
    QVERIFY(files().make(QStringLiteral("lesson.txt"),
                         MediaFixtures::toneSource(2) +
                             QStringList{QStringLiteral("-c:a"), QStringLiteral("aac"),
                                         QStringLiteral("-f"), QStringLiteral("mp4")}));
    writeFile(notes(), "<html><body><p>notes typed before</p></body></html>");
}

void TestStartup::init()
{
    QFile::remove(transcript());
}

void TestStartup::oneCopyAtATime()
{
    QProcess first;
    QVERIFY(startPlayer(first));
    QVERIFY(keepsRunning(first));

    QProcess second;
    QVERIFY(startPlayer(second));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // a termination signal ends the first copy like the tray's quit entry
    ::kill(pid_t(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(first.exitCode(), 0);

    QProcess third;
    QVERIFY(startPlayer(third));
    QVERIFY(keepsRunning(third));
    ::kill(pid_t(third.processId()), SIGTERM);
    QVERIFY(third.waitForFinished(10000));
}

void TestStartup::aCrashedCopyDoesNotBlockTheNext()
{
    QProcess crashed;
    QVERIFY(startPlayer(crashed));
    // listening: a copy started now would hand its files over
    QTRY_VERIFY_WITH_TIMEOUT(channelMade().isValid(), 30000);
    ::kill(pid_t(crashed.processId()), SIGKILL);
    QVERIFY(crashed.waitForFinished(10000));
    // the crashed copy's channel is left behind
    const QDateTime stale = channelMade();
    QVERIFY(stale.isValid());

    QProcess next;
    QVERIFY(startPlayer(next));
    QTRY_VERIFY_WITH_TIMEOUT(channelMade().isValid() && channelMade() != stale, 30000);
    // ... and made anew: the next copy takes files from a later one
    QVERIFY(handOverLesson());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(transcript()), 30000);
    ::kill(pid_t(next.processId()), SIGTERM);
    QVERIFY(next.waitForFinished(10000));
    QCOMPARE(next.exitCode(), 0);
}

void TestStartup::anotherUsersCopyDoesNotKeepThisOneOut()
{
    // the tokens of other users' running copies, in the same temporary folder: one of
    // another user id, and the machine-wide one that kept every other user out
    qputenv("TMPDIR", QFile::encodeName(tokenFolder().path()));
    QSharedMemory other(QStringLiteral("SingleInstanceIdentify-%1").arg(::getuid() + 1));
    QVERIFY2(other.create(1), qPrintable(other.errorString()));
    QSharedMemory machineWide(QStringLiteral("SingleInstanceIdentify"));
    QVERIFY2(machineWide.create(1), qPrintable(machineWide.errorString()));

    QProcess mine;
    QVERIFY(startPlayer(mine));
    QVERIFY(keepsRunning(mine));
    ::kill(pid_t(mine.processId()), SIGTERM);
    QVERIFY(mine.waitForFinished(10000));
    QCOMPARE(mine.exitCode(), 0);
}

void TestStartup::commandLineOpensByContent_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("typed"); // what the lesson's transcript starts with

    QTest::newRow("a media file becomes the lesson, and its transcript is started")
        << QStringList{lesson()} << QByteArray();
    QTest::newRow("a document becomes the editor's, and starts the lesson's transcript")
        << QStringList{notes(), lesson()} << QByteArray("notes typed before");
}

void TestStartup::commandLineOpensByContent()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, typed);
    QProcess player;
    QVERIFY(startPlayer(player, args));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(transcript()), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(readAll(transcript()).contains(typed), 10000);
    QVERIFY(stopPlayer(player));
    // the document itself is left as it was
    QCOMPARE(readAll(notes()), QByteArray("<html><body><p>notes typed before</p></body></html>"));
}

void TestStartup::aLaterCopyHandsItsFileToTheRunningOne()
{
    QProcess running;
    QVERIFY(startPlayer(running, {notes()}));
    QTRY_VERIFY_WITH_TIMEOUT(channelMade().isValid(), 30000);
    QVERIFY(!QFile::exists(transcript()));

    QVERIFY(handOverLesson());
    // the running copy opened it with a transcript of its own: the document opened before,
    // on its own, stays in its own file and is no part of it
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(transcript()), 30000);
    QVERIFY(!readAll(transcript()).contains("notes typed before"));
    QCOMPARE(running.state(), QProcess::Running);
    QVERIFY(stopPlayer(running));
    QCOMPARE(readAll(notes()), QByteArray("<html><body><p>notes typed before</p></body></html>"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
