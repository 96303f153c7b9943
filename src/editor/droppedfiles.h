#pragma once

#include <QStringList>

class QMimeData;

// The local files a drag carries, in its order; none for dragged text. Any thread.
QStringList droppedFiles(const QMimeData *data);
