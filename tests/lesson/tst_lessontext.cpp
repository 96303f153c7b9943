// A lesson's text: the transcripts found beside a lesson, and each kind read into plain text
// or refused with a reason.
#include "lesson/lessontext.h"

#include "testfiles.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// A PDF with a page for each text, drawn as text; an empty one is a page with only a picture.
static QByteArray pdf(const QStringList &pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    QImage scan(40, 6, QImage::Format_RGB32);
    scan.fill(Qt::gray);
    for (const QString &page : pages) {
        if (&page != &pages.first())
            writer.newPage();
        page.isEmpty() ? painter.drawImage(QRect(0, 0, 4000, 600), scan)
                       : painter.drawText(QPointF(0, 600), page);
    }
    painter.end();
    return buffer.data();
}

class TestLessonText : public QObject
{
    Q_OBJECT

private slots:
    void filesBeside();
    void readText_data();
    void readText();

private:
    QTemporaryDir dir;
};

// The naming rule is the subtitles' and is tested with them; here, the order of the kinds,
// and the learner's own transcripts ("lesson.mp4.html", the editor's name for it, and one of
// another lesson of the same name) left out.
void TestLessonText::filesBeside()
{
    QStringList expected;
    for (const QString &name :
         u"lesson.TXT lesson.md lesson.HTM lesson.pdf lesson.en.txt "
         "lesson.en-GB.html lesson.mp4 lesson.srt lessons.txt lesson.mp4.html lesson.mkv.html"_s
             .split(u' ')) {
        writeFile(dir.filePath(name), "x");
        expected += dir.filePath(name);
    }
    QCOMPARE(lesson::lessonTextFilesBeside(dir.filePath(u"lesson.mp4"_s)), expected.first(6));
}

void TestLessonText::readText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    // each row's file, named after the row; null bytes: no file at all
    const auto row = [this](const char *tag, const char *suffix, const QByteArray &bytes,
                            const QString &text, const QString &why = {}) {
        const QString file = dir.filePath(QLatin1String(tag) + QLatin1String(suffix));
        if (!bytes.isNull())
            writeFile(file, bytes);
        QTest::newRow(tag) << file << text << why;
    };
    row("utf-8", ".txt", "Hello,\r\n\xe4\xbd\xa0\xe5\xa5\xbd.\n", u"Hello,\n你好.\n"_s);
    row("windows-1252", ".txt", "Don\x92t \x96 caf\xe9.", u"Don’t – café."_s);
    row("markdown", ".md", "# Unit 1\n\nSome *words*, [a link](http://x.org).\n\n- one\n- two\n",
        u"Unit 1\nSome words, a link.\none\ntwo"_s);
    row("html", ".htm",
        "<html><head><meta charset=\"iso-8859-7\"><title>T</title><style>p{color:red}</style>"
        "<script>var x;</script></head><body><p>Fish &amp; chips</p><script>f()</script>"
        "<p>\xea\xe1\xeb\xe7\xec\xdd\xf1\xe1<img src=\"a.png\"></p></body></html>",
        u"Fish & chips\nκαλημέρα"_s);
    row("pdf", ".pdf", pdf({u"First page."_s, u""_s, u"Third page."_s}),
        u"First page.\n\nThird page."_s);
    row("pdf of images", ".pdf", pdf({u""_s}), {}, u"no text layer"_s);
    row("damaged pdf", ".PDF", pdf({u"First page."_s}).left(300), {}, u"damaged"_s);
    row("blank", ".md", " \n\n#\n", {}, u"has no text"_s);
    row("over 20 MB", ".txt", QByteArray(20 * 1024 * 1024 + 1, 'a'), {}, u"over 20 MB"_s);
    row("missing", ".txt", QByteArray(), {}, u"Cannot open"_s);
}

void TestLessonText::readText()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QString, why);
    QString reason;
    QCOMPARE(lesson::readLessonText(file, &reason).value_or(QString()), text);
    QVERIFY2(reason.contains(why) && (why.isEmpty() || reason.contains(file)), qPrintable(reason));
}

QTEST_MAIN(TestLessonText)
#include "tst_lessontext.moc"
