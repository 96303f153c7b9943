// The whole player playing one file until it is ended: the process that bench/cpu.sh
// measures from outside, beside ffplay. The file is chosen in the open dialog, as a
// learner does.
#include "openlesson.h"
#include "player/vk.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: playclip <media file>\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    // the player takes a command-line argument as the editor's document: it sees none
    int playerArgc = 1;
    QApplication app(playerArgc, argv);
    Vk window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    // a file that did not open leaves nothing to measure
    if (!bench::openLesson(window, file))
        return 1;
    return QApplication::exec();
}
