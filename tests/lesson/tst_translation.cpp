// A translation's cues matched to a lesson's sentences by time.
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
    void translationsOf_data();
    void translationsOf();
};

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
}

void TestTranslation::translationsOf()
{
    QFETCH(Cues, cues);
    QTEST(lesson::translationsOf({cue(0, 2, u"one"_s), cue(2, 4, u"two"_s), cue(6, 7, u"three"_s)},
                                 cues),
          "texts");
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
