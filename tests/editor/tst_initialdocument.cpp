// A document handed to the editor (the program's argument, a drop): a lesson's transcript
// named "<media>.html" is that lesson's, so opening another lesson starts that lesson's own
// transcript.
#include "editor/textedit.h"

#include "spelling/ctextcheckeredit.h"
#include "testfiles.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

QString lessonFolder;

QString transcriptText(const QString &path)
{
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(readAll(path)));
    return doc.toPlainText();
}

} // namespace

class TestInitialDocument final : public QObject
{
    Q_OBJECT

private slots:
    void argumentTranscriptStaysWithItsLesson();
};

void TestInitialDocument::argumentTranscriptStaysWithItsLesson()
{
    const QString a = lessonFolder + QStringLiteral("/a.mp3.html");
    const QString b = lessonFolder + QStringLiteral("/b.mp3.html");
    TextEdit editor;
    auto *text = editor.findChild<CTextCheckerEdit *>();
    QVERIFY(editor.openDocument(a));
    QCOMPARE(text->toPlainText(), QStringLiteral("alpha"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("a.mp3.html[*] - Rich Text"));

    QVERIFY(editor.fileSaveDefault(lessonFolder + QStringLiteral("/b.mp3")));
    QCOMPARE(text->toPlainText(), QString());
    QCOMPARE(transcriptText(b), QString());
    QCOMPARE(transcriptText(a), QStringLiteral("alpha"));
}

int main(int argc, char *argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    lessonFolder = dir.path();
    for (const char *media : {"/a.mp3", "/b.mp3"}) {
        QFile file(lessonFolder + QLatin1String(media));
        if (!file.open(QIODevice::WriteOnly) || file.write("media") != 5)
            return 1;
    }
    QFile transcript(lessonFolder + QStringLiteral("/a.mp3.html"));
    if (!transcript.open(QIODevice::WriteOnly) ||
        transcript.write("<html><body><p>alpha</p></body></html>") < 0)
        return 1;
    transcript.close();

    QApplication app(argc, argv);
    TestInitialDocument test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_initialdocument.moc"
