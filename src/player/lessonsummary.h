#pragma once

#include <QDialog>

class LessonController;
class QLabel;
class QWidget;

// The learner's progress through the lesson: the share of its sentences checked, their
// mean best accuracy, and a chart of each sentence's best accuracy in the lesson's order.
// Follows what its LessonController reports while it is open. GUI thread only.
class LessonSummary final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LessonSummary)

public:
    explicit LessonSummary(LessonController *lesson, QWidget *parent = nullptr);

    // The colour of an accuracy, 0 to 1: red through amber to green.
    static QColor scoreColour(double accuracy);

    QString checkedText() const;
    QString meanText() const;

private:
    void showScores();

    LessonController *lesson_; // not owned; outlives the dialog
    QLabel *checked = nullptr;
    QLabel *mean = nullptr;
    QWidget *chart = nullptr;
};
