#include "lesson/filesbeside.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace lesson {

QStringList filesBeside(const QString &mediaFile, const QStringList &suffixes)
{
    const QFileInfo media(mediaFile);
    const QString base = media.completeBaseName();
    const QDir dir = media.absoluteDir();
    std::vector<QStringList> exact(size_t(suffixes.size()));
    std::vector<QStringList> tagged(size_t(suffixes.size()));
    const QStringList entries = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : entries) {
        if (!name.startsWith(base + u'.'))
            continue;
        const QString rest = name.mid(base.size() + 1);
        for (qsizetype i = 0; i < suffixes.size(); ++i) {
            const QString &suffix = suffixes[i];
            if (rest.compare(suffix, Qt::CaseInsensitive) == 0) {
                exact[size_t(i)] += dir.filePath(name);
            } else if (rest.endsWith(u'.' + suffix, Qt::CaseInsensitive)) {
                const QString tag = rest.chopped(suffix.size() + 1);
                if (!tag.isEmpty() && !tag.contains(u'.'))
                    tagged[size_t(i)] += dir.filePath(name);
            }
        }
    }
    QStringList files;
    for (const QStringList &list : exact)
        files += list;
    for (const QStringList &list : tagged)
        files += list;
    return files;
}

} // namespace lesson
