#include "player/recentlessons.h"

#include "player/playersettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString recentKey = QStringLiteral("lessons/recent");

} // namespace

RecentLessonsMenu::RecentLessonsMenu(QWidget *parent) : QMenu(tr("Recent Lessons"), parent)
{
    setObjectName(QStringLiteral("recentLessons"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &RecentLessonsMenu::fill);
    fill();
}

QStringList RecentLessonsMenu::lessons()
{
    return playerSettings().value(recentKey).toStringList();
}

void RecentLessonsMenu::add(const QString &file)
{
    const QString path = QFileInfo(file).absoluteFilePath();
    QStringList list = lessons();
    list.removeAll(path);
    list.prepend(path);
    playerSettings().setValue(recentKey, list.mid(0, maxLessons));
}

void RecentLessonsMenu::clearAll()
{
    playerSettings().remove(recentKey);
}

void RecentLessonsMenu::fill()
{
    clear();
    const QStringList list = lessons();
    for (const QString &path : list) {
        QAction *entry =
            addAction(QFileInfo(path).fileName(), this, [this, path] { emit lessonChosen(path); });
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setEnabled(QFileInfo(path).isFile());
    }
    addSeparator();
    QAction *clearEntry = addAction(tr("Clear"), this, [] { clearAll(); });
    clearEntry->setEnabled(!list.isEmpty());
}
