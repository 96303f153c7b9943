#pragma once

#include <QString>
#include <QStringList>

// How the files that belong to a lesson are found beside it: the one naming rule of its
// subtitles and its texts. Pure function of the folder's listing; any thread.
namespace lesson {

// The files beside mediaFile named after it, its name without its last extension as the
// base: "<base>.<suffix>" for each suffix in the order given, then the language-tagged
// "<base>.<tag>.<suffix>" (one tag, without dots) in the same order, by name within each
// suffix. Suffixes match in any case.
QStringList filesBeside(const QString &mediaFile, const QStringList &suffixes);

} // namespace lesson
