#pragma once

#include <QWidget>

class QLabel;
class QTimer;
namespace lesson {
class Drill;
}

// A line under the picture while the drill is on: the repetition playing ("2 of 3"), the
// pause counting down or waiting for the play key, and what is revealed of the sentence.
// Draws what its Drill reports. GUI thread only.
class DrillBar final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DrillBar)

public:
    explicit DrillBar(lesson::Drill *drill, QWidget *parent = nullptr);
    // Names the keys that show a hint and the whole sentence in the text's tooltip.
    void showRevealKeys(const QString &hint, const QString &sentence);

    QString statusText() const;
    QString revealedText() const;

private:
    void showRepetition(int sentence, int repetition, int total);
    void showPause(double seconds);
    void countDown();

    lesson::Drill *drill_; // not owned; outlives the bar
    QLabel *status = nullptr;
    QLabel *text = nullptr;
    QTimer *countdown = nullptr; // child: redraws a timed pause
};
