#pragma once

#include <QMenu>

// The lessons opened last, newest first, kept in the player's settings (the learner's
// configuration folder), and the menu that reopens them: one entry per lesson, greyed out
// when its file has gone, and an entry that clears the list. The menu is filled anew each
// time it opens, so the player's context menu and the tray menu can share it. GUI thread
// only.
class RecentLessonsMenu final : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecentLessonsMenu)

public:
    // How many lessons the list keeps.
    static constexpr int maxLessons = 10;

    explicit RecentLessonsMenu(QWidget *parent = nullptr);

    // The remembered lessons, newest first.
    static QStringList lessons();
    // file (made absolute) becomes the newest entry, once.
    static void add(const QString &file);
    static void clearAll();

signals:
    void lessonChosen(const QString &file);

private:
    void fill();
};
