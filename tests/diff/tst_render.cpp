#include "diff/diffrender.h"

#include <QTest>

using Segments = QList<DiffSegment>;

namespace {

constexpr auto Del = DiffOperation::Delete;
constexpr auto Ins = DiffOperation::Insert;
constexpr auto Eq = DiffOperation::Equal;

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QString head()
{
    return s("<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
             "charset=UTF-8\" /></head>");
}

QString red(const char *text)
{
    return s("<font color=\"#FF0000\">") + s(text) + s("</font>");
}

QString blue(const char *text)
{
    return s("<font color=\"#0000FF\">") + s(text) + s("</font>");
}

QString span(const char *text)
{
    return s("<span>") + s(text) + s("</span>");
}

QString struck(const char *text)
{
    return s("<span><b style=\"text-decoration: line-through;\"><font color=\"#FF0000\">") +
           s(text) + s("</font></b></span>");
}

QString underlined(const char *text)
{
    return s("<span><b style=\"text-decoration: underline;\"><font color=\"#0000FF\">") + s(text) +
           s("</font></b></span>");
}

QString view(const QString &body)
{
    return head() + body + s("</html>");
}

} // namespace

class TestDiffRender : public QObject
{
    Q_OBJECT
private slots:
    void renderers_data();
    void renderers();
    void escapeForHtml_data();
    void escapeForHtml();
};

void TestDiffRender::renderers_data()
{
    QTest::addColumn<Segments>("segments");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("suggestion");

    QTest::newRow("empty list") << Segments{} << view({}) << view({}) << QString();
    QTest::newRow("bold tag shown as text")
        << Segments{{Eq, s("<b>")}} << view(red("") + span("&lt;b&gt;") + red(""))
        << view(blue("") + span("&lt;b&gt;") + blue("")) << span("&lt;b&gt;");
    QTest::newRow("line feed in every kind")
        << Segments{{Eq, s("a\n")}, {Del, s("b\nc")}, {Ins, s("\n")}}
        << view(red("") + span("a<br>") + red("") + red("b<br>c"))
        << view(blue("") + span("a<br>") + blue("") + blue("<br>"))
        << span("a<br>") + struck("b<br>c") + underlined("<br>");
    QTest::newRow("I cat it / I cut it")
        << Segments{{Eq, s("I c")}, {Del, s("a")}, {Ins, s("u")}, {Eq, s("t it")}}
        << view(red("") + span("I ") + red("c") + red("a") + red("t") + span(" it") + red(""))
        << view(blue("") + span("I ") + blue("c") + blue("u") + blue("t") + span(" it") + blue(""))
        << span("I c") + struck("a") + underlined("u") + span("t it");
    QTest::newRow("letters-only equality between changes")
        << Segments{{Eq, s("x ")}, {Del, s("a")}, {Eq, s("bc")}, {Ins, s("d")}, {Eq, s(" y")}}
        << view(red("") + span("x ") + red("") + red("a") + red("") + span("bc") + red("") +
                red("") + span(" y") + red(""))
        << view(blue("") + span("x ") + blue("") + blue("") + span("bc") + blue("") + blue("d") +
                blue("") + span(" y") + blue(""))
        << span("x ") + struck("a") + span("bc") + underlined("d") + span(" y");
    QTest::newRow("changed words on both sides of an equality")
        << Segments{{Eq, s("x")}, {Del, s("a")}, {Eq, s("bc de")}, {Del, s("f")}, {Eq, s("y")}}
        << view(red("") + span("") + red("x") + red("a") + red("bc") + span(" ") + red("de") +
                red("f") + red("y") + span("") + red(""))
        << view(blue("") + span("") + blue("x") + blue("bc") + span(" ") + blue("de") + blue("y") +
                span("") + blue(""))
        << span("x") + struck("a") + span("bc de") + struck("f") + span("y");
    // The only equality is both first and last, so neither of its ends is coloured.
    QTest::newRow("single equality between changes")
        << Segments{{Del, s("a")}, {Eq, s("bc de")}, {Ins, s("f")}}
        << view(red("a") + red("") + span("bc de") + red(""))
        << view(blue("") + span("bc de") + blue("") + blue("f"))
        << struck("a") + span("bc de") + underlined("f");
}

void TestDiffRender::renderers()
{
    QFETCH(Segments, segments);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, suggestion);
    QCOMPARE(renderFirstTextHtml(segments), first);
    QCOMPARE(renderSecondTextHtml(segments), second);
    QCOMPARE(renderSuggestionHtml(segments), suggestion);
}

void TestDiffRender::escapeForHtml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ampersand first") << s("&lt;") << s("&amp;lt;");
    QTest::newRow("line feed after the brackets") << s("<\n>") << s("&lt;<br>&gt;");
    QTest::newRow("blanks, quotes and returns kept") << s("a  \"b\"\r\n") << s("a  \"b\"\r<br>");
}

void TestDiffRender::escapeForHtml()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::escapeForHtml(text), expected);
}

QTEST_GUILESS_MAIN(TestDiffRender)
#include "tst_render.moc"
