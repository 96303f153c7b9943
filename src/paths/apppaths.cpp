#include "paths/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The data tree of an installed program, VORLYN_INSTALLED_DATA relative to the
// executable's folder (<prefix>/share/vorlyn-player beside <prefix>/bin); empty when
// there is none, as for the build's run tree and the tests.
QString installedData()
{
    const QString dir =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" VORLYN_INSTALLED_DATA);
    return QFileInfo(dir).isDir() ? QDir::cleanPath(dir) : QString();
}

QString underRoot(const char *relative)
{
    return AppPaths::root() + QLatin1Char('/') + QLatin1String(relative);
}

} // namespace

QString AppPaths::root()
{
    const QString installed = installedData();
    return installed.isEmpty() ? QStringLiteral(".") : installed;
}

QString AppPaths::skinRoot()
{
    const QString installed = installedData();
    return installed.isEmpty() ? QCoreApplication::applicationDirPath() : installed;
}

QString AppPaths::skinSettings()
{
    return skinRoot() + QStringLiteral("/skin/skin.dat");
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
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/userDict.txt");
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
