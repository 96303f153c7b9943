#pragma once

#include "lesson/lessonprogress.h"

#include <QWidget>

class DayChart;
class QGridLayout;
class QLabel;

// The learner's progress over all lessons: the mean accuracy and the number of sentences
// checked on each of the last days, the review items due on each day of the coming two
// weeks, and the words checks missed most, each a button that asks for the word's phonetic
// lookup. The charts are painted in the colours of the window's palette. It shows what it is
// given; its charts and word buttons are children. GUI thread only.
class ProgressWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressWindow)

public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void showProgress(const lesson::LearningProgress &progress);

    // The colour of bars on the palette's base (or window): its highlight, made lighter or
    // darker where it would not stand out (at a contrast under 3:1).
    static QColor barColour(const QPalette &palette, QPalette::ColorRole on = QPalette::Base);

signals:
    // The learner clicked a missed word to look it up.
    void wordChosen(const QString &word);

private:
    DayChart *accuracy = nullptr;
    DayChart *checked = nullptr;
    DayChart *due = nullptr;
    // the missed words' buttons and bars, remade for each progress shown
    QWidget *words = nullptr;
    QGridLayout *wordRows = nullptr;
    QLabel *noWords = nullptr;
};
