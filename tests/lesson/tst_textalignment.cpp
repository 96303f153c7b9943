// A lesson text beside a spoken lesson: its sentences placed in the sound with their words
// (a speaker label and a stage direction left out, a long sentence split at a comma), kept
// for the next opening, chosen over subtitles and remembered, and given up on closing.
#include "lesson/lessoncontroller.h"

#include "support/spokenlesson.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

namespace {

const QStringList spoken = {
    QStringLiteral("Please close the window before you leave the room."),
    QStringLiteral("The ticket costs 25 pounds."),
    QStringLiteral("When the weather is fine and the days are long, we like to walk along the "
                   "river to the old bridge and back again, and on the way home we often stop "
                   "at the little shop on the corner to buy fresh bread and apples for supper, and "
                   "then we sit by the fire and talk about the day until it is time for bed."),
    QStringLiteral("Thank you for listening to this lesson.")};

QString alignmentCache()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/alignments");
}

bool writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0;
}

} // namespace

class TestTextAlignment : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void placesSentencesAndWords();
    void reopensFromCache();
    void textChosenOverSubtitlesIsRemembered();
    void closingGivesUp();

private:
    MediaFixtures fx;
    std::vector<SpokenSpan> spans;
    QString lesson;
};

void TestTextAlignment::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QDir(alignmentCache()).removeRecursively();
    QVERIFY(fx.dir.isValid());
    lesson = fx.path(QStringLiteral("speech.wav"));
    spans = makeSpokenLesson(fx, QStringLiteral("speech.wav"), spoken);
    QCOMPARE(spans.size(), size_t(spoken.size()));
    QVERIFY(writeFile(fx.path(QStringLiteral("speech.txt")),
                      QStringLiteral("NEIL: %1\n[music]\n\nROB: %2 %3\n%4\n")
                          .arg(spoken[0], spoken[1], spoken[2], spoken[3])));
}

void TestTextAlignment::placesSentencesAndWords()
{
    LessonController c;
    QVERIFY(c.open(lesson));
    QTRY_COMPARE_WITH_TIMEOUT(c.sentences().source, lesson::SentenceSource::LessonText, 180000);
    QVERIFY(!c.isAligningText());
    QCOMPARE(c.lessonText(), fx.path(QStringLiteral("speech.txt")));
    const std::vector<lesson::Sentence> &items = c.sentences().items;
    QCOMPARE(items.size(), size_t(5)); // the long one in two
    const std::vector<size_t> spokenOf = {0, 1, 2, 2, 3};
    QString long_;
    for (size_t i = 0; i < items.size(); ++i) {
        const lesson::Sentence &s = items[i];
        const SpokenSpan &truth = spans[spokenOf[i]];
        QCOMPARE(s.unsure, lesson::Unsure::No);
        QVERIFY2(s.end - s.start <= 12.5, qPrintable(s.text));
        QVERIFY(!s.words.empty());
        for (const lesson::TimedWord &w : s.words) {
            QVERIFY(w.start >= s.start && w.end <= s.end + 1e-9 && w.start < w.end);
            QVERIFY(!s.text.mid(w.from, w.length).contains(u' '));
        }
        if (spokenOf[i] == 2) {
            long_ += (long_.isEmpty() ? QString() : QStringLiteral(" ")) + s.text;
            continue;
        }
        QCOMPARE(s.text, spoken[int(spokenOf[i])]);
        QVERIFY2(std::abs(s.start - truth.start) < 0.3 && std::abs(s.end - truth.end) < 0.4,
                 qPrintable(QStringLiteral("%1: %2 to %3, spoken %4 to %5")
                                .arg(s.text)
                                .arg(s.start)
                                .arg(s.end)
                                .arg(truth.start)
                                .arg(truth.end)));
    }
    // the long sentence is cut after one of its commas, and nothing of it is lost
    QCOMPARE(long_, spoken[2]);
    QVERIFY(items[2].text.endsWith(u','));
    // "25" is said as two words but highlighted as one
    QCOMPARE(items[1].words.size(), size_t(5));
    QCOMPARE(items[1].text.mid(items[1].words[3].from, items[1].words[3].length), u"25");
}

void TestTextAlignment::reopensFromCache()
{
    QVERIFY(!QDir(alignmentCache()).isEmpty());
    LessonController c;
    QSignalSpy progress(&c, &LessonController::analysisProgress);
    QVERIFY(c.open(lesson));
    QTRY_COMPARE_WITH_TIMEOUT(c.sentences().source, lesson::SentenceSource::LessonText, 30000);
    QCOMPARE(c.sentences().items.size(), size_t(5));
    // kept: nothing was placed anew, so no progress of it was told
    for (const QList<QVariant> &report : progress)
        QVERIFY(report[0].toDouble() == 0.0 || report[0].toDouble() == 1.0);
}

void TestTextAlignment::textChosenOverSubtitlesIsRemembered()
{
    const QString db = fx.path(QStringLiteral("lessons.sqlite"));
    QVERIFY(writeFile(fx.path(QStringLiteral("speech.srt")),
                      QStringLiteral("1\n00:00:01,000 --> 00:00:04,000\n%1\n").arg(spoken[0])));
    {
        LessonController c;
        c.setStore(std::make_unique<lesson::LessonStore>(db));
        QVERIFY(c.open(lesson));
        // subtitles come first when both are there
        QCOMPARE(c.sentences().source, lesson::SentenceSource::SubtitleFile);
        c.chooseLessonText(fx.path(QStringLiteral("speech.txt")));
        QTRY_COMPARE_WITH_TIMEOUT(c.sentences().source, lesson::SentenceSource::LessonText, 30000);
    }
    LessonController c;
    c.setStore(std::make_unique<lesson::LessonStore>(db));
    QVERIFY(c.open(lesson));
    QTRY_COMPARE_WITH_TIMEOUT(c.sentences().source, lesson::SentenceSource::LessonText, 30000);
    c.chooseSubtitleFile(fx.path(QStringLiteral("speech.srt")));
    QCOMPARE(c.sentences().source, lesson::SentenceSource::SubtitleFile);
    QVERIFY(c.lessonText().isEmpty());
    QFile::remove(fx.path(QStringLiteral("speech.srt")));
}

void TestTextAlignment::closingGivesUp()
{
    QDir(alignmentCache()).removeRecursively();
    LessonController c;
    QSignalSpy progress(&c, &LessonController::analysisProgress);
    QVERIFY(c.open(lesson));
    QVERIFY(c.isAligningText());
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last()[0].toDouble() > 0, 30000);
    c.close();
    QVERIFY(!c.isAligningText());
    QCOMPARE(progress.last()[0].toDouble(), 1.0);
    QVERIFY(c.sentences().items.empty());
    // given up before it ended: nothing was kept
    QVERIFY(QDir(alignmentCache()).isEmpty());
}

QTEST_GUILESS_MAIN(TestTextAlignment)
#include "tst_textalignment.moc"
