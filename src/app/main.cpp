// Start-up: application font and translation, the OpenGL check, the single-instance
// token, then the main window with the lesson memory until the tray's quit entry ends the
// event loop.
#include "lesson/lessonstore.h"
#include "paths/apppaths.h"
#include "player/vk.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSharedMemory>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // first of all, so a signal during a slow start-up still ends the program cleanly
    quitOnTerminationSignals(app);

    if (!QFontDatabase::families().contains(QStringLiteral("Mensch")))
        QFontDatabase::addApplicationFont(AppPaths::font());

    QTranslator translator;
    // without a file every text stays in its source wording
    (void)translator.load(AppPaths::translation(QLocale::system().name()));
    QApplication::installTranslator(&translator);

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
    if (!token->create(1, QSharedMemory::ReadWrite))
        return 0;

    Vk window;
    window.setLessonStore(std::make_unique<lesson::LessonStore>(AppPaths::lessonDatabase()));
    window.show();
    QApplication::exec();
    if (token->isAttached())
        token->detach();
    token.reset();
    return 0;
}
