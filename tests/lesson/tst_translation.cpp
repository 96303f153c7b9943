// What the learner reads beside a sentence: the word heard at a time, the cues of a
// translation matched to the sentences, and the translation found beside a lesson.
#include "lesson/translation.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Cues = std::vector<lesson::Sentence>;

static lesson::Sentence cue(double start, double end, const QString &text)
{
    lesson::Sentence s;
    s.start = start;
    s.end = end;
    s.text = text;
    return s;
}

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void wordAt_data();
    void wordAt();
    void translationsOf_data();
    void translationsOf();
    void translationBeside_data();
    void translationBeside();
};

void TestTranslation::wordAt_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("word");
    // two words, 1.0-1.5 and 2.0-2.5
    QTest::newRow("before the first") << 0.9 << -1;
    QTest::newRow("the first's start") << 1.0 << 0;
    QTest::newRow("between them") << 1.5 << -1;
    QTest::newRow("in the second") << 2.4 << 1;
    QTest::newRow("after the last") << 2.5 << -1;
}

void TestTranslation::wordAt()
{
    QFETCH(double, seconds);
    QTEST(lesson::wordAt({{.from = 0, .length = 3, .start = 1.0, .end = 1.5},
                          {.from = 4, .length = 3, .start = 2.0, .end = 2.5}},
                         seconds),
          "word");
}

void TestTranslation::translationsOf_data()
{
    QTest::addColumn<Cues>("cues");
    QTest::addColumn<QStringList>("texts");
    // sentences 0-2, 2-4 and 6-7
    QTest::newRow("a cue each") << Cues{cue(0.1, 1.9, u"一"_s), cue(2.2, 3.8, u"二"_s)}
                                << QStringList{u"一"_s, u"二"_s, {}};
    QTest::newRow("two cues joined")
        << Cues{cue(0, 1, u"a"_s), cue(1, 2, u"b"_s)} << QStringList{u"a b"_s, {}, {}};
    QTest::newRow("across two: the larger overlap")
        << Cues{cue(1.5, 4, u"x"_s)} << QStringList{{}, u"x"_s, {}};
    QTest::newRow("a long cue over a short sentence")
        << Cues{cue(5, 9, u"y"_s)} << QStringList{{}, {}, u"y"_s};
    QTest::newRow("too little overlap") << Cues{cue(3.7, 6.2, u"z"_s)} << QStringList{{}, {}, {}};
    QTest::newRow("between sentences") << Cues{cue(4.2, 5.8, u"w"_s)} << QStringList{{}, {}, {}};
    QTest::newRow("no cues") << Cues{} << QStringList{{}, {}, {}};
}

void TestTranslation::translationsOf()
{
    QFETCH(Cues, cues);
    QTEST(lesson::translationsOf({cue(0, 2, u"one"_s), cue(2, 4, u"two"_s), cue(6, 7, u"three"_s)},
                                 cues),
          "texts");
}

void TestTranslation::translationBeside_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("sentences");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("translation");
    const QStringList three{u"/l/a.b.en.srt"_s, u"/l/a.b.de.vtt"_s, u"/l/a.b.zh.srt"_s};
    QTest::newRow("the learner's language first")
        << three << u"/l/a.b.en.srt"_s << u"zh_CN"_s << u"/l/a.b.zh.srt"_s;
    QTest::newRow("else another tag")
        << three << u"/l/a.b.en.srt"_s << u"en"_s << u"/l/a.b.de.vtt"_s;
    QTest::newRow("not the sentences' own language")
        << three << u"/l/a.b.zh.srt"_s << u"zh_CN"_s << u"/l/a.b.en.srt"_s;
    QTest::newRow("beside an untagged file") << QStringList{u"/l/a.b.srt"_s, u"/l/a.b.zh.srt"_s}
                                             << u"/l/a.b.srt"_s << u"en"_s << u"/l/a.b.zh.srt"_s;
    QTest::newRow("one language only")
        << QStringList{u"/l/a.b.en.srt"_s} << u"/l/a.b.en.srt"_s << u"en"_s << QString();
}

void TestTranslation::translationBeside()
{
    QFETCH(QStringList, files);
    QFETCH(QString, sentences);
    QFETCH(QString, locale);
    QTEST(lesson::translationBeside(files, u"/l/a.b.mp4"_s, sentences, locale), "translation");
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
