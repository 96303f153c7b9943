// Plays a lesson with its memory in a database, as the program does but with a save
// interval of the caller's choosing, and prints its position every 100 ms, so that a test
// can kill it while it plays. Arguments: database, lesson file, save interval in ms, speed.
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: lessonplayer <database> <lesson> <interval ms> <speed>\n");
        return 2;
    }
    LessonController lesson;
    lesson.setStore(std::make_unique<lesson::LessonStore>(args[1]), args[3].toInt());
    if (!lesson.store()->isOpen() || !lesson.open(args[2]))
        return 1;
    lesson.setSpeed(args[4].toDouble());
    QTimer tell;
    QObject::connect(&tell, &QTimer::timeout, &lesson, [&lesson] {
        std::printf("position %.3f\n", lesson.positionSeconds());
        std::fflush(stdout);
    });
    tell.start(100);
    return QCoreApplication::exec();
}
