// Start-up: application font and the chosen interface language, the OpenGL check, the
// single-instance token (a later copy hands its files to the running one and ends), then the
// study session with the lesson memory, opening the files named on the command line, until
// the tray's quit entry ends the event loop. With --align, a lesson text is placed in a
// lesson's sound and written out instead, without a window.
#include "app/instancechannel.h"
#include "app/studysession.h"
#include "lesson/lessonstore.h"
#include "lesson/textalignment.h"
#include "paths/apppaths.h"
#include "player/interfacelanguage.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSharedMemory>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool openGLAvailable()
{
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext ctx;
    return ctx.create() && ctx.makeCurrent(&surface);
}

// SIGTERM and SIGINT (a session logging out, Ctrl+C in a terminal) end the event loop
// like the tray's quit entry, so the single-instance token is released.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

void quitOnTerminationSignals(QApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

// The files named on the command line, absolute: a running copy may open them from
// another working folder.
QStringList filesOnCommandLine()
{
    QStringList files = QCoreApplication::arguments().mid(1);
    for (QString &f : files)
        f = QFileInfo(f).absoluteFilePath();
    return files;
}

// "vorlynplayer --align LESSON TEXT --output FILE": places the lesson text in the lesson's
// sound and writes its sentences, without a window; non-zero with a message on failure.
int alignCommand(int argc, char *argv[])
{
    // no display is needed: Qt's own text reader (HTML, Markdown) only wants a GUI application
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    interfacelanguage::install(&app, interfacelanguage::chosen());
    const QStringList args = QCoreApplication::arguments();
    const qsizetype output = args.indexOf(QStringLiteral("--output"));
    if (args.size() != 6 || args.value(1) != u"--align" || output != 4) {
        std::fputs(qPrintable(QCoreApplication::translate(
                       "main", "Usage: vorlynplayer --align LESSON TEXT --output FILE\n"
                               "FILE ends in .srt, .vtt, or .json (with the words' times).\n")),
                   stderr);
        return 2;
    }
    QString why;
    QStringList notes;
    const bool written = lesson::alignToFile(args[2], args[3], args[5], &why, &notes);
    for (const QString &note : notes)
        std::fputs(qPrintable(note + u'\n'), stderr);
    if (!written) {
        std::fputs(qPrintable(why + u'\n'), stderr);
        return 1;
    }
    return 0;
}

// How long a later copy tries to reach the running one, which may still be starting.
constexpr int handOverMs = 10000;

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--align") == 0)
        return alignCommand(argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // first of all, so a signal during a slow start-up still ends the program cleanly
    quitOnTerminationSignals(app);

    if (!QFontDatabase::families().contains(QStringLiteral("Mensch")))
        QFontDatabase::addApplicationFont(AppPaths::font());

    interfacelanguage::install(&app, interfacelanguage::chosen());

    if (!openGLAvailable()) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("OpenGL is needed"),
                        QStringLiteral("This system does not support OpenGL and this program "
                                       "cannot work without it."),
                        QMessageBox::Ok);
        box.exec();
        return -1;
    }

    // One copy per user: the token's key carries the user's id, so another user's copy on
    // the same machine neither keeps this one out nor is kept out by it. A segment left
    // behind by a crashed copy has no process attached any more: attaching and detaching
    // again removes it, so only a running copy keeps the next one out.
    auto token = std::make_unique<QSharedMemory>(
        QStringLiteral("SingleInstanceIdentify-%1").arg(::getuid()));
    for (int i = 0; i < 2; ++i) {
        if (token->attach(QSharedMemory::ReadOnly))
            token->detach();
    }
    const QStringList files = filesOnCommandLine();
    if (!token->create(1, QSharedMemory::ReadWrite)) {
        // the running copy opens the files and comes to the front
        if (InstanceChannel::send(files, handOverMs))
            return 0;
        qWarning("Vorlyn Player is running but does not answer on %s.",
                 qPrintable(InstanceChannel::name()));
        return 1;
    }
    // Listening at once: a later copy started meanwhile waits in the channel's queue.
    InstanceChannel channel;
    if (!channel.listen())
        qWarning("Later copies cannot hand their files over: %s",
                 qPrintable(InstanceChannel::name()));

    StudySession session;
    session.setLessonStore(std::make_unique<lesson::LessonStore>(AppPaths::lessonDatabase()));
    QObject::connect(&channel, &InstanceChannel::filesRequested, &session,
                     &StudySession::openHandedOver);
    session.start(files);
    QApplication::exec();
    if (token->isAttached())
        token->detach();
    token.reset();
    return 0;
}
