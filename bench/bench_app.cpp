// The whole player under the headless X server: time from launch to the window, from
// choosing a file to its first picture on screen, and the process's CPU seconds per
// second of media while it plays 1080p and 360p H.264 clips for 20 s.
#include "benchsupport.h"

#include "lesson/lessoncontroller.h"
#include "media/picturesource.h"
#include "player/glrenderwidget.h"
#include "player/screenwidget.h"
#include "player/vk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

QElapsedTimer sinceLaunch;

// Opens file through the idle screen's button and the file dialog, as a learner does;
// returns the milliseconds from the dialog's answer to the first picture on screen.
double openAndTimeFirstPicture(Vk &window, const QString &file)
{
    double answeredAt = -1;
    QTimer::singleShot(200, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(file);
        answeredAt = double(sinceLaunch.nsecsElapsed()) / 1e6;
        QTest::keyClick(name, Qt::Key_Return);
    });
    auto *view = window.findChild<GLRenderWidget *>();
    double shownAt = -1;
    bool pictureArrived = false;
    QObject::connect(view, &GLRenderWidget::frameSwapped, view, [&] {
        if (pictureArrived && shownAt < 0)
            shownAt = double(sinceLaunch.nsecsElapsed()) / 1e6;
    });
    auto *screen = window.findChild<QScreenWidget *>();
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    PictureSource *pictures = window.lesson()->pictures();
    if (!pictures)
        return -1;
    QObject::connect(pictures, &PictureSource::frameReady, view, [&] { pictureArrived = true; });
    for (int i = 0; i < 1000 && shownAt < 0; ++i)
        QTest::qWait(10);
    return shownAt < 0 ? -1 : shownAt - answeredAt;
}

void playFor(Vk &window, const QString &file, const char *label, int seconds)
{
    const double firstPicture = openAndTimeFirstPicture(window, file);
    const double cpu0 = bench::selfCpuSeconds();
    QTest::qWait(seconds * 1000);
    const double cpu = bench::selfCpuSeconds() - cpu0;
    const QString clip = QStringLiteral("\"clip\": \"%1\"").arg(QString::fromLatin1(label));
    bench::print("open_to_first_picture_on_screen_ms", firstPicture, "ms", clip);
    bench::print("player_cpu_per_media_second", cpu / seconds, "s/s", clip);
    window.on_actionStop();
}

} // namespace

int main(int argc, char *argv[])
{
    sinceLaunch.start();
    QApplication app(argc, argv);
    Vk window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    bench::print("launch_to_window_ms", double(sinceLaunch.nsecsElapsed()) / 1e6, "ms");

    MediaFixtures clips(bench::ffmpegTimeoutMs);
    const int seconds = 20;
    const QString hd = QStringLiteral("clip1080.mp4");
    const QString sd = QStringLiteral("clip360.mp4");
    if (!clips.makeClip(hd, bench::clip("1920x1080", seconds + 5)) ||
        !clips.makeClip(sd, bench::clip("640x360", seconds + 5)))
        return 1;
    playFor(window, clips.path(hd), "1920x1080 H.264 + AAC", seconds);
    playFor(window, clips.path(sd), "640x360 H.264 + AAC", seconds);
    return 0;
}
