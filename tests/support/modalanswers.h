#pragma once

// Answers the next modal dialog as a learner would, once it is up: a file dialog by typing
// a name, a message box by pressing one of its buttons. GUI tests only.
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs handle on the next modal dialog of type T once it is up.
template <typename T> void onNextModal(std::function<void(T *)> handle)
{
    QTimer::singleShot(50, qApp, [handle] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            handle(dialog);
        else
            onNextModal<T>(handle);
    });
}

// Answers the next file dialog: types the name and presses Enter.
inline void chooseFile(const QString &path)
{
    onNextModal<QFileDialog>([path](QFileDialog *dialog) {
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

// Answers the next message box with button, noting its text.
inline void answerBox(QMessageBox::StandardButton button, QString *textSeen = nullptr)
{
    onNextModal<QMessageBox>([button, textSeen](QMessageBox *box) {
        if (textSeen)
            *textSeen = box->text();
        box->button(button)->click();
    });
}
