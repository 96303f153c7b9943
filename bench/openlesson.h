#pragma once

// Opens a file in a shown player window as a learner does: through the open dialog,
// answered with the file's name once the dialog is up (it takes its time on a busy
// machine).
#include "player/vk.h"
#include "support/lessontestprobe.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace bench {

// The lesson's engine, which the benchmarks measure; null when the file did not open.
inline Media *openLesson(Vk &window, const QString &file)
{
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
    return LessonTestProbe::media(*window.lesson());
}

} // namespace bench
