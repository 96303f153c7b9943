#include "spelling/spellingengine.h"

#include "paths/apppaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

#include <hunspell.h>

namespace {

const QString defaultEncoding = QStringLiteral("ISO8859-1");

// The encoding named by the affix file's first SET line, wherever it is: dictionaries put
// comment blocks and blank lines before it.
QString declaredEncoding(const QString &affixPath)
{
    QFile file(affixPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression setLine(QStringLiteral("^\\s*SET\\s+([A-Z0-9\\-]+)\\s*"),
                                            QRegularExpression::CaseInsensitiveOption);
    QTextStream in(&file);
    QString line;
    while (in.readLineInto(&line)) {
        const QRegularExpressionMatch m = setLine.match(line);
        if (m.hasMatch())
            return m.captured(1);
    }
    return {};
}

// Hunspell's names for a few charsets are aliases the toolkit does not know.
QTextCodec *codecFor(const QString &encoding)
{
    static const struct
    {
        QLatin1String hunspell;
        const char *toolkit;
    } aliases[] = {
        {QLatin1String("microsoft-cp1251"), "windows-1251"},
        {QLatin1String("ISO8859-11"), "TIS-620"},
        {QLatin1String("TIS620-2533"), "TIS-620"},
    };
    for (const auto &alias : aliases)
        if (encoding.compare(alias.hunspell, Qt::CaseInsensitive) == 0)
            return QTextCodec::codecForName(alias.toolkit);
    return QTextCodec::codecForName(encoding.toLatin1());
}

} // namespace

void SpellingEngine::HunspellDeleter::operator()(Hunhandle *h) const
{
    Hunspell_destroy(h);
}

SpellingEngine::SpellingEngine(const QString &dictionaryBase, const QString &userDictionary)
    : userDictionaryPath(userDictionary), encoding_(defaultEncoding)
{
    const QString affixPath = dictionaryBase + QStringLiteral(".aff");
    const QString wordListPath = dictionaryBase + QStringLiteral(".dic");
    hunspell.reset(Hunspell_create(QFile::encodeName(affixPath).constData(),
                                   QFile::encodeName(wordListPath).constData()));

    if (const QString declared = declaredEncoding(affixPath); !declared.isEmpty()) {
        encoding_ = declared;
        qDebug().noquote() << "Encoding set to" << encoding_;
    }
    codec = codecFor(encoding_);
    if (!codec) {
        qWarning().noquote() << "Encoding" << encoding_ << "is unknown; using" << defaultEncoding;
        encoding_ = defaultEncoding;
        codec = codecFor(encoding_);
    }

    loadUserDictionary();
}

SpellingEngine::~SpellingEngine() = default;

QString SpellingEngine::programDictionary(const QString &language)
{
    return AppPaths::spellDictionary(language == British ? British : American);
}

QByteArray SpellingEngine::toDictionary(QStringView word) const
{
    return codec->fromUnicode(word);
}

bool SpellingEngine::isCorrect(QStringView word) const
{
    return Hunspell_spell(hunspell.get(), toDictionary(word).constData()) != 0;
}

QStringList SpellingEngine::suggestionsFor(QStringView word) const
{
    char **list = nullptr;
    const int count = Hunspell_suggest(hunspell.get(), &list, toDictionary(word).constData());
    QStringList result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.append(codec->toUnicode(list[i]));
    if (list)
        Hunspell_free_list(hunspell.get(), &list, count);
    return result;
}

void SpellingEngine::acceptForSession(QStringView word)
{
    Hunspell_add(hunspell.get(), toDictionary(word).constData());
}

void SpellingEngine::loadUserDictionary()
{
    if (userDictionaryPath.isEmpty()) {
        qDebug("User dictionary not set.");
        return;
    }
    QFile file(userDictionaryPath);
    // a learner who has added no word yet has no list
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "User dictionary in" << userDictionaryPath << "could not be opened";
        return;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    // Line ends of any platform (LF, CR LF, lone CR), so a file edited elsewhere loads alike.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QString text = in.readAll();
    for (const QStringView line : QStringView(text).split(lineEnd)) {
        if (line.isEmpty())
            break;
        acceptForSession(line);
    }
}

void SpellingEngine::addToUserDictionary(const QString &word)
{
    if (word.trimmed().isEmpty() || word.contains(QLatin1Char('\n')) ||
        word.contains(QLatin1Char('\r')))
        return;
    acceptForSession(word);
    if (userDictionaryPath.isEmpty()) {
        qDebug("User dictionary not set.");
        return;
    }
    QDir().mkpath(QFileInfo(userDictionaryPath).absolutePath());
    QFile file(userDictionaryPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        qWarning().noquote() << "User dictionary in" << userDictionaryPath
                             << "could not be opened for appending a new word";
        return;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    out << word << '\n';
}
