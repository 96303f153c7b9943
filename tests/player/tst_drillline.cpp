// The drill's line while a revealed sentence with word times plays: the word being heard
// painted highlighted and readable, a click on a word playing on from it, and the
// translation beside the lesson shown once the sentence is checked or asked for.
#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"
#include "player/drillbar.h"
#include "player/vk.h"
#include "support/mediafixtures.h"
#include "testfiles.h"

#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QStringList words{u"alpha"_s, u"beta"_s, u"gamma"_s, u"delta"_s};

double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

// Where a word's middle is painted in the label.
QPoint wordMiddle(const QLabel *label, int word)
{
    const QFontMetrics fm = label->fontMetrics();
    const int left = fm.horizontalAdvance(QStringList(words.mid(0, word + 1)).join(u' ')) -
                     fm.horizontalAdvance(words[word]) / 2;
    return {label->contentsRect().left() + left, label->contentsRect().center().y()};
}

// The word painted on the highlight's colour (-1 for none), and the contrast of the ink on it.
int paintedHeardWord(QLabel *label, double *contrast)
{
    const QImage shot = label->grab().toImage();
    const QRgb highlight = label->palette().color(QPalette::Highlight).rgb();
    int left = shot.width(), right = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == highlight)
                left = std::min(left, x), right = std::max(right, x);
    double ink = luminance(highlight);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = left; x <= right; ++x)
            ink = std::max(ink, luminance(shot.pixel(x, y)));
    *contrast = (ink + 0.05) / (luminance(highlight) + 0.05);
    for (int w = 0; w < words.size(); ++w)
        if (right >= 0 && std::abs(wordMiddle(label, w).x() - (left + right) / 2) < 10)
            return w;
    return -1;
}

} // namespace

class TestDrillLine final : public QObject
{
    Q_OBJECT

private slots:
    void wordsFollowTheSoundAndTheTranslationWaits();
    void reviewSessionShowsItsLineAndSummary();

private:
    MediaFixtures fx;
};

void TestDrillLine::wordsFollowTheSoundAndTheTranslationWaits()
{
    QVERIFY(fx.makeClip(u"lesson.mp4"_s, {.picture = "160x120", .seconds = 7, .audio = "aac"}));
    writeFile(fx.path(u"lesson.zh.srt"_s), u"1\n00:00:00,600 --> 00:00:05,400\n你好\n"_s.toUtf8());

    Vk window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    LessonController *lesson = window.lesson();
    QVERIFY(lesson->open(fx.path(u"lesson.mp4"_s)));
    QTRY_VERIFY_WITH_TIMEOUT(!lesson->isAnalysing(), 30000);
    // one repetition, then the drill waits: only a click plays the sentence again
    lesson::DrillSettings once;
    once.repetitions = 1;
    lesson->setDrillSettings(once);
    const double t = lesson->startSeconds();
    lesson::Sentences given;
    given.source = lesson::SentenceSource::LessonText;
    given.items.resize(1);
    lesson::Sentence &s = given.items[0];
    s.start = t + 0.5, s.end = t + 5.5, s.text = words.join(u' ');
    for (int w = 0, from = 0; w < words.size(); from += words[w].size() + 1, ++w)
        s.words.push_back(
            {.from = from, .length = words[w].size(), .start = t + 1.0 + w, .end = t + 1.8 + w});
    lesson->setSentences(given);
    lesson->loopSentence(0);
    lesson->drill()->setOn(true);
    lesson->drill()->revealSentence();

    auto *bar = window.findChild<DrillBar *>();
    auto *label = bar->findChild<QLabel *>(u"drillText"_s);
    QTRY_VERIFY_WITH_TIMEOUT(label->isVisible(), 10000);
    double contrast = 0;
    for (int w : {1, 3})
        QTRY_COMPARE_WITH_TIMEOUT(paintedHeardWord(label, &contrast), w, 10000);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
    QTRY_VERIFY_WITH_TIMEOUT(lesson->isHeld(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(paintedHeardWord(label, &contrast), -1, 10000);

    // the click on a word plays on from it: only it can, the drill waiting
    QTest::mouseClick(label, Qt::LeftButton, {}, wordMiddle(label, 1));
    QTRY_COMPARE_WITH_TIMEOUT(paintedHeardWord(label, &contrast), 1, 10000);

    // the translation beside the lesson shows once the sentence is checked, or on Alt+T
    QCOMPARE(bar->translationText(), QString());
    lesson->recordScore(0, 0.5);
    QCOMPARE(bar->translationText(), u"你好"_s);
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    QCOMPARE(bar->translationText(), QString());
}

// The contrast of the lightest ink on the label's background.
double inkContrast(QLabel *label)
{
    const QImage shot = label->grab().toImage();
    const double ground = luminance(label->palette().color(QPalette::Window).rgb());
    double ink = ground;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ink = std::max(ink, luminance(shot.pixel(x, y)));
    return (ink + 0.05) / (ground + 0.05);
}

// Alt+V starts a review of a missed sentence: the line over the sentence says so, readable,
// naming the check's key; the check grades it; Alt+N ends the session with its summary.
void TestDrillLine::reviewSessionShowsItsLineAndSummary()
{
    QVERIFY(fx.makeClip(u"review.mp4"_s, {.picture = "160x120", .seconds = 4, .audio = "aac"}));
    writeFile(fx.path(u"review.srt"_s), "1\n00:00:00,500 --> 00:00:02,500\nalpha beta\n");
    QTemporaryDir data;
    Vk window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    LessonController *lesson = window.lesson();
    lesson->setStore(std::make_unique<lesson::LessonStore>(data.filePath(u"lessons.db"_s)));
    QVERIFY(lesson->open(fx.path(u"review.mp4"_s)));
    QCOMPARE(lesson->sentences().items.size(), size_t(1));
    // missed a month ago: due today
    QVERIFY(lesson->store()->addReviewItems(lesson->fileName(), lesson->sentences().origin,
                                            lesson->sentences().items[0], 0.5, {u"beta"_s},
                                            QDate::currentDate().addDays(-30)));

    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    auto *line = window.findChild<DrillBar *>()->findChild<QLabel *>(u"drillReview"_s);
    QTRY_VERIFY_WITH_TIMEOUT(line->isVisible(), 10000);
    QVERIFY2(line->text().contains(u"Alt+C"_s), qPrintable(line->text()));
    const double contrast = inkContrast(line);
    QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));

    lesson->recordCheck(0, 1.0, {});
    QVERIFY2(line->text().contains(u"2 of 2"_s), qPrintable(line->text()));
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QMessageBox *summary = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((summary = window.findChild<QMessageBox *>()) && summary->isVisible(),
                             10000);
    QVERIFY2(summary->text().contains(u"reviewed, 2 recalled"_s), qPrintable(summary->text()));
    QVERIFY(line->isHidden());
}

QTEST_MAIN(TestDrillLine)
#include "tst_drillline.moc"
