#include "editor/actionicon.h"

#include "paths/apppaths.h"

QIcon actionIcon(const QString &themeName, const QString &image)
{
    return QIcon::fromTheme(themeName, QIcon(AppPaths::editorImages() + image));
}
