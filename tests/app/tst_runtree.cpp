// What the build puts into the run tree for the program to find: the application font
// with every phonetic symbol, and complete translations.
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
    void fontIsMenschWithPhoneticSymbols();
    void translationsAreComplete_data();
    void translationsAreComplete();
};

void TestRunTree::fontIsMenschWithPhoneticSymbols()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral("./font/mensch.ttf"));
    QVERIFY(id >= 0);
    QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{QStringLiteral("Mensch")});
    QVERIFY(QFile::exists(QStringLiteral("./font/mensch-LICENSE.txt")));
    const QRawFont font(QStringLiteral("./font/mensch.ttf"), 12);
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
    const QString qm = QStringLiteral("./translations/") + QFileInfo(ts).completeBaseName();
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
