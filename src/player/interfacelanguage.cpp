#include "player/interfacelanguage.h"

#include "paths/apppaths.h"
#include "player/playersettings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace interfacelanguage {

namespace {

const QString languageKey = QStringLiteral("interface/language");

// Installs the translation found for file (QTranslator's fallbacks: "app_zh_TW" may load
// "app_zh"); a translator that found nothing is not kept.
void installTranslation(QCoreApplication *app, const QString &file, const QString &folder = {})
{
    auto *translator = new QTranslator(app);
    if (translator->load(file, folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QStringList choices()
{
    return {QString(), QStringLiteral("en"), QStringLiteral("zh_CN")};
}

QString chosen()
{
    const QString code = playerSettings().value(languageKey).toString();
    return choices().contains(code) ? code : QString();
}

void choose(const QString &code)
{
    // following the system is the absence of a choice
    if (code.isEmpty())
        playerSettings().remove(languageKey);
    else
        playerSettings().setValue(languageKey, code);
}

QString localeName(const QString &code)
{
    if (!code.isEmpty())
        return code;
    // The interface's own texts are written in Chinese: a system language without a
    // translation of ours would show them as they stand, so it gets English instead.
    const QString system = QLocale::system().name();
    QTranslator probe;
    return probe.load(AppPaths::translation(system)) ? system : QStringLiteral("en");
}

void install(QCoreApplication *app, const QString &code)
{
    const QString locale = localeName(code);
    if (QLocale(locale).language() != QLocale::English)
        installTranslation(app, QStringLiteral("qtbase_") + locale,
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // installed last, so it is asked first; without a file every text stays in its source
    // wording
    installTranslation(app, AppPaths::translation(locale));
}

} // namespace interfacelanguage
