// The interface language: the program's texts and Qt's stock texts come out in the language
// chosen, or in the system's when none is, and in English when the program has no
// translation for the system's language; the choice is kept, and one that names no offered
// language reads as following the system. CTest runs it on a Chinese, a German and a "C"
// system.
#include "player/interfacelanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTest>
#include <QTranslator>

namespace {

bool systemIs(const QString &name)
{
    return QLocale::system().name() == name;
}

void forget()
{
    QSettings(QStringLiteral("vorlynplayer"), QStringLiteral("player"))
        .remove(QStringLiteral("interface/language"));
}

} // namespace

class TestInterfaceLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(systemIs(QStringLiteral("zh_CN")) || systemIs(QStringLiteral("de_DE")) ||
                     systemIs(QStringLiteral("C")),
                 "run with LC_ALL set to zh_CN.UTF-8, de_DE.UTF-8 or C, as CTest does");
        forget();
    }

    // each row leaves the interface untranslated and nothing chosen
    void cleanup()
    {
        qDeleteAll(
            QCoreApplication::instance()->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
        forget();
    }

    void install_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("save");    // Qt's button text
        QTest::addColumn<QString>("open");    // the player's menu entry
        QTest::addColumn<QString>("compare"); // the comparison dialog's button
        const QString zhSave = QStringLiteral("保存"), zhOpen = QStringLiteral("打开"),
                      zhCompare = QStringLiteral("比较");
        const QString enSave = QStringLiteral("Save"), enOpen = QStringLiteral("Open"),
                      enCompare = QStringLiteral("Compare");
        // only Chinese has a translation of its own; any other system language is English
        if (systemIs(QStringLiteral("zh_CN")))
            QTest::newRow("system") << QString() << zhSave << zhOpen << zhCompare;
        else
            QTest::newRow("system") << QString() << enSave << enOpen << enCompare;
        QTest::newRow("Chinese") << QStringLiteral("zh_CN") << zhSave << zhOpen << zhCompare;
        QTest::newRow("English") << QStringLiteral("en") << enSave << enOpen << enCompare;
    }

    void install()
    {
        QFETCH(QString, code);
        interfacelanguage::install(QCoreApplication::instance(), code);
        QTEST(QCoreApplication::translate("QPlatformTheme", "Save"), "save");
        QTEST(QCoreApplication::translate("Vk", "Open"), "open");
        QTEST(QCoreApplication::translate("DiffDialog", "比较"), "compare");
    }

    void chosen_data()
    {
        QTest::addColumn<QStringList>("made"); // the choices made, in turn
        QTest::addColumn<QString>("chosen");
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("English") << QStringList{QStringLiteral("en")} << QStringLiteral("en");
        QTest::newRow("Chinese") << QStringList{QStringLiteral("zh_CN")} << QStringLiteral("zh_CN");
        QTest::newRow("back to the system")
            << QStringList{QStringLiteral("zh_CN"), QString()} << QString();
        QTest::newRow("not offered") << QStringList{QStringLiteral("fr")} << QString();
    }

    void chosen()
    {
        QFETCH(QStringList, made);
        for (const QString &code : made)
            interfacelanguage::choose(code);
        QTEST(interfacelanguage::chosen(), "chosen");
    }
};

QTEST_GUILESS_MAIN(TestInterfaceLanguage)
#include "tst_interfacelanguage.moc"
