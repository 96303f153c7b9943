// The whole player playing one file until it is ended: the process that bench/cpu.sh
// measures from outside, beside ffplay. The file is chosen in the open dialog, as a
// learner does.
#include "player/vk.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

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
    // the dialog takes its time to come up on a busy machine: look for it until it is there
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer, &file] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *name =
            dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name || !name->isVisible())
            return;
        answer.stop();
        name->setText(file);
        QTest::keyClick(name, Qt::Key_Return);
    });
    answer.start(100);
    window.on_actionOpen_activated();
    // a file that did not open leaves nothing to measure
    if (!window.currentMedia())
        return 1;
    return QApplication::exec();
}
