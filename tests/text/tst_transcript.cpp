#include "text/transcript.h"

#include <QTest>

class TestTranscript : public QObject
{
    Q_OBJECT

private slots:
    void sentences_data();
    void sentences();
    void speakers_data();
    void speakers();
};

void TestTranscript::sentences_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("abbreviations")
        << QStringLiteral(
               "Mr. Brown and Mrs. Smith met Dr. Jones on St. John's Road. They talked, e.g. "
               "about rain, i.e. weather. We woke at 7 a.m. Then we flew to the U.S. "
               "The U.S. Army met us. J. K. Rowling came, etc. and left.")
        << QStringList{QStringLiteral("Mr. Brown and Mrs. Smith met Dr. Jones on St. John's Road."),
                       QStringLiteral("They talked, e.g. about rain, i.e. weather."),
                       QStringLiteral("We woke at 7 a.m."),
                       QStringLiteral("Then we flew to the U.S."),
                       QStringLiteral("The U.S. Army met us."),
                       QStringLiteral("J. K. Rowling came, etc. and left.")};
    QTest::newRow("decimals and times")
        << QStringLiteral(u"It costs \u00A32.50, or 3.5 dollars. We meet at 10.30. Fine.")
        << QStringList{QStringLiteral(u"It costs \u00A32.50, or 3.5 dollars."),
                       QStringLiteral("We meet at 10.30."), QStringLiteral("Fine.")};
    QTest::newRow("ellipses")
        << QStringLiteral(u"Well... I think so. Wait\u2026 maybe. Hmm\u2026 Right... Go.")
        << QStringList{QStringLiteral("Well... I think so."), QStringLiteral(u"Wait\u2026 maybe."),
                       QStringLiteral(u"Hmm\u2026"), QStringLiteral("Right..."),
                       QStringLiteral("Go.")};
    QTest::newRow("quotes and brackets")
        << QStringLiteral("\"He left.\" She said it twice. (It rained.) Then \"Stop!\" he "
                          "shouted.")
        << QStringList{QStringLiteral("\"He left.\""), QStringLiteral("She said it twice."),
                       QStringLiteral("(It rained.)"),
                       QStringLiteral("Then \"Stop!\" he shouted.")};
    QTest::newRow("wrapped lines join, blank lines end")
        << QStringLiteral("This was wrapped\r\nby hand. It goes\non here\r\n\r\nNo full stop\n \n"
                          "We went to the shop with\nAnna and her brother.")
        << QStringList{QStringLiteral("This was wrapped by hand."),
                       QStringLiteral("It goes on here"), QStringLiteral("No full stop"),
                       QStringLiteral("We went to the shop with Anna and her brother.")};
    QTest::newRow("headings end")
        << QStringLiteral("Tea Talk\nIntroduction\nWelcome to the programme, I'm Neil.\nThe "
                          "history of tea\nTea was first drunk in China long ago.")
        << QStringList{QStringLiteral("Tea Talk"), QStringLiteral("Introduction"),
                       QStringLiteral("Welcome to the programme, I'm Neil."),
                       QStringLiteral("The history of tea"),
                       QStringLiteral("Tea was first drunk in China long ago.")};
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("only punctuation") << QStringLiteral("?! ... --\n\n.,; ()") << QStringList();
    const QString sentence = QStringLiteral("The cat sat on the mat and then it slept.");
    QTest::newRow("200,000 words")
        << (sentence + u'\n').repeated(20'000) << QStringList(20'000, sentence);
}

// Each sentence's text is the stretch of the transcript it comes from.
void TestTranscript::sentences()
{
    QFETCH(QString, text);
    QFETCH(QStringList, sentences);
    QStringList found;
    qsizetype previousEnd = 0;
    for (const TranscriptSentence &s : splitTranscript(text)) {
        QVERIFY(s.start >= previousEnd && s.end > s.start && s.end <= text.size());
        QCOMPARE(text.mid(s.start, s.end - s.start).simplified(), s.text);
        previousEnd = s.end;
        found.append(s.text);
    }
    QCOMPARE(found, sentences);
}

void TestTranscript::speakers_data()
{
    // each sentence as "speaker|text|spoken"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("labels")
        << QStringLiteral("NEIL: Hello. I'm Neil.\nRob: And I'm Rob.\nDr Smith:\nGood morning.")
        << QStringList{QStringLiteral("NEIL|Hello.|Hello."),
                       QStringLiteral("NEIL|I'm Neil.|I'm Neil."),
                       QStringLiteral("Rob|And I'm Rob.|And I'm Rob."),
                       QStringLiteral("Dr Smith|Good morning.|Good morning.")};
    QTest::newRow("stage directions inside a sentence")
        << QStringLiteral("ROB: [laughs] Yes, it is (music) funny (isn't it?) (the Dr said).")
        << QStringList{QStringLiteral("ROB|[laughs] Yes, it is (music) funny (isn't it?) (the Dr "
                                      "said).|Yes, it is funny (isn't it?) (the Dr said).")};
    QTest::newRow("stage directions alone on a line")
        << QStringLiteral("[MUSIC PLAYING]\nWelcome back\n(Applause) [laughs]\nThanks.")
        << QStringList{QStringLiteral("|[MUSIC PLAYING]|"),
                       QStringLiteral("|Welcome back|Welcome back"),
                       QStringLiteral("|(Applause) [laughs]|"), QStringLiteral("|Thanks.|Thanks.")};
    QTest::newRow("a heading ends the turn")
        << QStringLiteral("NEIL: Bye for now, and thanks for listening.\n[MUSIC]\nVocabulary\n"
                          "well-off means having plenty of money")
        << QStringList{QStringLiteral("NEIL|Bye for now, and thanks for listening.|Bye for now, "
                                      "and thanks for listening."),
                       QStringLiteral("NEIL|[MUSIC]|"), QStringLiteral("|Vocabulary|Vocabulary"),
                       QStringLiteral("|well-off means having plenty of money|well-off means "
                                      "having plenty of money")};
    QTest::newRow("no labels")
        << QStringLiteral("At 10:30: we met.\nHe said: come.\nThe Big Bad Wolf: no.\nsee http://x")
        << QStringList{QStringLiteral("|At 10:30: we met.|At 10:30: we met."),
                       QStringLiteral("|He said: come.|He said: come."),
                       QStringLiteral("|The Big Bad Wolf: no. see http://x|The Big Bad Wolf: no. "
                                      "see http://x")};
}

void TestTranscript::speakers()
{
    QFETCH(QString, text);
    QFETCH(QStringList, sentences);
    QStringList found;
    for (const TranscriptSentence &s : splitTranscript(text))
        found.append(s.speaker + u'|' + s.text + u'|' + s.spoken);
    QCOMPARE(found, sentences);
}

QTEST_GUILESS_MAIN(TestTranscript)
#include "tst_transcript.moc"
