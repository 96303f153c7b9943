// A lesson's text: the transcripts found beside a lesson, and each kind of transcript read
// into plain text, or refused with a reason.
#include "lesson/lessontext.h"

#include "testfiles.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A PDF with one page for each text, drawn as text or, for images, as a picture of it.
QByteArray pdf(const QStringList &pages, bool images)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        QImage picture(400, 60, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).drawText(picture.rect(), pages[i]);
        if (images)
            painter.drawImage(QRect(0, 0, 4000, 600), picture);
        else
            painter.drawText(QPointF(0, 600), pages[i]);
    }
    painter.end();
    return buffer.data();
}

} // namespace

class TestLessonText : public QObject
{
    Q_OBJECT

private slots:
    void filesBeside_data();
    void filesBeside();
    void readText_data();
    void readText();

private:
    QTemporaryDir dir;
};

void TestLessonText::filesBeside_data()
{
    QTest::addColumn<QString>("media");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("exact first, by kind")
        << u"lesson.mp4"_s
        << QStringList{u"lesson.en.txt"_s, u"lesson.pdf"_s,     u"lesson.en-GB.html"_s,
                       u"lesson.HTM"_s,    u"lesson.srt"_s,     u"lesson.md"_s,
                       u"lessons.txt"_s,   u"lesson.a.b.txt"_s, u"lesson.TXT"_s,
                       u"other.txt"_s}
        << QStringList{u"lesson.TXT"_s, u"lesson.md"_s,     u"lesson.HTM"_s,
                       u"lesson.pdf"_s, u"lesson.en.txt"_s, u"lesson.en-GB.html"_s};
    QTest::newRow("dotted name") << u"unit.1.mp3"_s
                                 << QStringList{u"unit.txt"_s, u"unit.1.zh.md"_s, u"unit.1.txt"_s}
                                 << QStringList{u"unit.1.txt"_s, u"unit.1.zh.md"_s};
    QTest::newRow("none") << u"lesson.mkv"_s << QStringList{u"lesson.srt"_s, u"lesson.doc"_s}
                          << QStringList{};
}

void TestLessonText::filesBeside()
{
    QFETCH(QString, media);
    QFETCH(QStringList, present);
    QFETCH(QStringList, expected);
    const QDir folder(dir.filePath(QLatin1String(QTest::currentDataTag())));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    for (const QString &name : present + QStringList{media})
        writeFile(folder.filePath(name), "x");
    for (QString &name : expected)
        name = folder.filePath(name);
    QCOMPARE(lesson::lessonTextFilesBeside(folder.filePath(media)), expected);
}

void TestLessonText::readText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("why");
    const auto row = [](const char *tag, const QString &name, const QByteArray &bytes,
                        const QString &text, const QString &why = {}) {
        QTest::newRow(tag) << name << bytes << text << why;
    };
    row("utf-8", u"a.txt"_s, "Hello,\r\n\xe4\xbd\xa0\xe5\xa5\xbd.\n", u"Hello,\n你好.\n"_s);
    row("windows-1252", u"a.txt"_s, "Don\x92t \x96 caf\xe9.", u"Don’t – café."_s);
    row("markdown", u"a.md"_s,
        "# Unit 1\n\nSome *words*, [a link](http://x.org).\n\n- one\n- two\n",
        u"Unit 1\nSome words, a link.\none\ntwo"_s);
    row("html", u"a.htm"_s,
        "<html><head><meta charset=\"iso-8859-7\"><title>T</title><style>p{color:red}</style>"
        "<script>var x;</script></head><body><p>Fish &amp; chips</p><script>f()</script>"
        "<p>\xea\xe1\xeb\xe7\xec\xdd\xf1\xe1<img src=\"a.png\"></p></body></html>",
        u"Fish & chips\nκαλημέρα"_s);
    row("pdf", u"a.pdf"_s, pdf({u"First page."_s, u"Second page."_s}, false),
        u"First page.\n\nSecond page."_s);
    row("pdf of images", u"a.pdf"_s, pdf({u"First page."_s}, true), {}, u"no text layer"_s);
    row("damaged pdf", u"a.pdf"_s, pdf({u"First page."_s}, false).left(300), {}, u"damaged"_s);
    row("not a pdf", u"a.PDF"_s, "Just text.", {}, u"damaged"_s);
    row("empty", u"a.txt"_s, "", {}, u"has no text"_s);
    row("blank markdown", u"a.md"_s, " \n\n#\n", {}, u"has no text"_s);
    row("over 20 MB", u"a.txt"_s, QByteArray(20 * 1024 * 1024 + 1, 'a'), {}, u"over 20 MB"_s);
    row("missing", u"a.txt"_s, QByteArray(), {}, u"Cannot open"_s);
}

void TestLessonText::readText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, why);
    const QDir folder(dir.filePath(QLatin1String(QTest::currentDataTag())));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    if (!bytes.isNull())
        writeFile(folder.filePath(name), bytes);
    QString reason;
    const std::optional<QString> read = lesson::readLessonText(folder.filePath(name), &reason);
    QCOMPARE(read.value_or(QString()), text);
    QVERIFY2(reason.contains(why) && (why.isEmpty() || reason.contains(name)), qPrintable(reason));
}

QTEST_MAIN(TestLessonText)
#include "tst_lessontext.moc"
