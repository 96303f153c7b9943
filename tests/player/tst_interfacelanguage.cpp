// The interface language on a Chinese system: the program's texts and Qt's stock texts come
// out in the language chosen, or in the system's when none is; the choice is kept, and one
// that names no offered language reads as following the system. The test's environment
// makes the system Chinese.
#include "player/interfacelanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTest>
#include <QTranslator>

namespace {

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
        QVERIFY2(QLocale::system().name() == QStringLiteral("zh_CN"),
                 "run with LC_ALL=zh_CN.UTF-8, as CTest does");
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
        QTest::newRow("system") << QString() << zhSave << zhOpen << zhCompare;
        QTest::newRow("Chinese") << QStringLiteral("zh_CN") << zhSave << zhOpen << zhCompare;
        QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("Save")
                                 << QStringLiteral("Open") << QStringLiteral("Compare");
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
