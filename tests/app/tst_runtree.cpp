// What the build puts into the run tree for the program to find: every location the
// program's paths name, the application font with every phonetic symbol, and complete
// translations.
#include "paths/apppaths.h"

#include <QDir>
#include <QFontDatabase>
#include <QRawFont>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

class TestRunTree : public QObject
{
    Q_OBJECT
private slots:
    void everyDataLocationIsThere_data();
    void everyDataLocationIsThere();
    void fontIsMenschWithPhoneticSymbols();
    void translationsAreComplete_data();
    void translationsAreComplete();
};

void TestRunTree::everyDataLocationIsThere_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("artwork") << AppPaths::skinImage(QStringLiteral("vorlynplayer.png"));
    QTest::newRow("editor image") << AppPaths::editorImages() + QStringLiteral("/filenew.png");
    QTest::newRow("default document") << AppPaths::defaultDocument();
    for (const char *pair : {"en_US", "en_GB"})
        for (const char *suffix : {".aff", ".dic"})
            QTest::addRow("%s%s", pair, suffix)
                << AppPaths::spellDictionary(QLatin1String(pair)) + QLatin1String(suffix);
    QTest::newRow("word database") << AppPaths::wordDatabase();
}

void TestRunTree::everyDataLocationIsThere()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo::exists(path), qPrintable(path));
}

void TestRunTree::fontIsMenschWithPhoneticSymbols()
{
    const int id = QFontDatabase::addApplicationFont(AppPaths::font());
    QVERIFY(id >= 0);
    QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("Mensch")});
    QVERIFY(
        QFile::exists(QFileInfo(AppPaths::font()).path() + QStringLiteral("/mensch-LICENSE.txt")));
    const QRawFont font(AppPaths::font(), 12);
    QVERIFY(font.isValid());
    for (QChar c : QStringLiteral("æðθŋɑəɡɔʃʌʒɛɪˈˌː"))
        QVERIFY2(font.supportsCharacter(c), qPrintable(QString(c)));
}

void TestRunTree::translationsAreComplete_data()
{
    QTest::addColumn<QString>("ts");
    const QDir sources(QStringLiteral(VORLYN_TRANSLATION_SOURCES));
    const QStringList files = sources.entryList({QStringLiteral("*.ts")});
    QVERIFY(!files.isEmpty());
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << sources.filePath(f);
}

void TestRunTree::translationsAreComplete()
{
    // every message of the source file comes out of the compiled file translated
    QFETCH(QString, ts);
    QTranslator translator;
    // app_zh_CN.ts holds the translation for the locale zh_CN
    const QString qm = AppPaths::translation(QFileInfo(ts).completeBaseName().section(u'_', 1));
    QVERIFY2(translator.load(qm), qPrintable(qm));

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            const QString source = xml.readElementText();
            const QString text = translator.translate(qPrintable(context), qPrintable(source));
            QVERIFY2(!text.isEmpty(), qPrintable(context + QStringLiteral(": ") + source));
            ++messages;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 0);
}

QTEST_MAIN(TestRunTree)
#include "tst_runtree.moc"
