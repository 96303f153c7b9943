// The program as a process: one copy at a time, and the token released by a normal end,
// by a termination signal, and even after a crash.
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

bool startPlayer(QProcess &p)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tokenFolder().path());
    p.setProcessEnvironment(env);
    p.setProgram(QStringLiteral("./vorlynplayer"));
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start();
    return p.waitForStarted(5000);
}

// Still running after the start-up had time to give up.
bool keepsRunning(QProcess &p)
{
    return !p.waitForFinished(2500) && p.state() == QProcess::Running;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void oneCopyAtATime();
    void aCrashedCopyDoesNotBlockTheNext();
    void anotherUsersCopyDoesNotKeepThisOneOut();
};

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
    QVERIFY(keepsRunning(crashed));
    ::kill(pid_t(crashed.processId()), SIGKILL);
    QVERIFY(crashed.waitForFinished(10000));

    QProcess next;
    QVERIFY(startPlayer(next));
    QVERIFY(keepsRunning(next));
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

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
