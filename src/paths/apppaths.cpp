#include "paths/apppaths.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

QString underRoot(const char *relative)
{
    return AppPaths::root() + QLatin1Char('/') + QLatin1String(relative);
}

} // namespace

QString AppPaths::root()
{
    return QStringLiteral(".");
}

QString AppPaths::programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString AppPaths::skinSettings()
{
    return programDir() + QStringLiteral("/skin/skin.dat");
}

QString AppPaths::skinImage(const QString &name)
{
    return underRoot("skin/default/images/") + name;
}

QString AppPaths::editorImages()
{
    return underRoot("skin/default/images/win");
}

QString AppPaths::defaultDocument()
{
    return underRoot("skin/default/vorlynplayer.txt");
}

QString AppPaths::font()
{
    return underRoot("font/mensch.ttf");
}

QString AppPaths::translation(const QString &localeName)
{
    return underRoot("translations/app_") + localeName;
}

QString AppPaths::spellDictionary(const QString &pair)
{
    return underRoot("spell/dict/") + pair;
}

QString AppPaths::userDictionary()
{
    return underRoot("spell/users/userDict.txt");
}

QString AppPaths::wordDatabase()
{
    return underRoot("dict/words.db");
}

QString AppPaths::lessonDatabase()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/lessons.db");
}
