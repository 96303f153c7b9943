#pragma once

#include <QIcon>
#include <QString>

// The icon of one of the editor's toolbar actions: the desktop theme's icon themeName, else
// the editor's own image (image: "/<file>.png" under the editor's image folder). GUI thread.
QIcon actionIcon(const QString &themeName, const QString &image);
