#pragma once

#include <QWidget>

#include <vector>

class LessonController;
class QAction;
class QLabel;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;

// The lesson's sentences as rows (start, length, a mark on a sentence placed unsure, and a
// subtitle's text, hidden until the learner reveals it, since it is the dictation's
// answer), the one looped highlighted; a click loops a row. Under the rows a line shows
// the speech pass running, and one the cues the subtitles had to leave out. Draws what its
// LessonController reports. GUI thread only.
class SentenceList final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SentenceList)

public:
    enum Column
    {
        EyeColumn,
        StartColumn,
        LengthColumn,
        // a "?" where the lesson text's place of the sentence may be wrong, the why as its
        // tooltip
        UnsureColumn,
        TextColumn,
    };

    explicit SentenceList(LessonController *lesson, QWidget *parent = nullptr);
    // Names the key that loops the sentence under the playhead in the list's tooltip.
    void showLoopKey(const QString &key);

    // Checkable: every text shown, whatever each row's own state.
    QAction *showAllTextsAction() const { return showAllAction; }
    QTreeWidget *rows() const { return tree; }
    // What a row shows for its text now.
    QString shownText(int index) const;
    // The colour a row shows for its score; invalid for a sentence never checked.
    QColor scoreColour(int index) const;

private:
    void fill();
    void showTexts();
    void showCurrent(int index);
    void showProgress(double fraction);
    void showScores();
    void showUnsure();
    void clicked(QTreeWidgetItem *item, int column);
    void toggleText(int index);
    void showMenu(const QPoint &pos);
    QString clockText(double seconds) const;

    LessonController *lesson_; // not owned; outlives the list
    QTreeWidget *tree = nullptr;
    QProgressBar *progress = nullptr;
    QLabel *progressLabel = nullptr;
    QWidget *progressLine = nullptr;
    QLabel *notesLabel = nullptr;
    QAction *showAllAction = nullptr;
    // per row: its text shown
    std::vector<bool> revealed;
    int highlighted = -1;
};
