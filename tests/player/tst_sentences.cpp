// The lesson's sentences in the player: the sentence list beside the main window (shown
// when sentences arrive, texts hidden until asked, a click loops a row, the key that loops
// the sentence under the playhead from the window and the editor), and the waveform
// strip's handles dragged to new marks; the checks' scores as the rows' colours and in the
// lesson summary; sentences placed unsure marked in the list.
#include "app/studysession.h"
#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "player/lessonsummary.h"
#include "player/sentencelist.h"
#include "player/vk.h"
#include "player/waveformstrip.h"
#include "spelling/ctextcheckeredit.h"
#include "support/mediafixtures.h"
#include "support/sentencefixtures.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

class TestSentences final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sentenceListFollowsTheLesson();
    void draggedHandleMovesTheMark_data();
    void draggedHandleMovesTheMark();
    void scoresShowAsColours();
    void unsureSentencesAreMarked();

private:
    MediaFixtures fx;
};

void TestSentences::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    // Matroska counts in milliseconds: the sentences' ends are exact marks. Without sound
    // the lesson's own pass finds nothing, and the test hands the list its sentences.
    QVERIFY(
        fx.make(QStringLiteral("lesson.mkv"),
                MediaFixtures::videoSource(QStringLiteral("160x120"), 6) + MediaFixtures::h264()));
}

void TestSentences::sentenceListFollowsTheLesson()
{
    StudySession session;
    Vk &window = *session.player();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    LessonController *lesson = window.lesson();
    auto *dock = window.findChild<QDockWidget *>(QStringLiteral("sentenceDock"));
    auto *list = window.findChild<SentenceList *>();
    auto *strip = window.findChild<WaveformStrip *>();
    QVERIFY(dock && list && strip);
    QVERIFY(lesson->open(fx.path(QStringLiteral("lesson.mkv"))));
    // the pass over the lesson's sound starts with it, and ends at once without sound
    QTRY_VERIFY_WITH_TIMEOUT(!lesson->isAnalysing(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!dock->isVisible(), 10000);
    const int narrow = window.width();
    QVERIFY(!strip->isVisible());

    // the speech pass running shows the list with its progress line
    lesson->setAnalysisProgress(0.25);
    QTRY_VERIFY_WITH_TIMEOUT(dock->isVisible(), 10000);
    // the window grows by the list, so the picture keeps its room
    QTRY_VERIFY_WITH_TIMEOUT(window.width() > narrow, 10000);
    auto *progress = list->findChild<QProgressBar *>(QStringLiteral("analysisProgress"));
    QVERIFY(progress->isVisible());
    QCOMPARE(progress->value(), progress->maximum() / 4);

    const lesson::SpeechAnalysis four = fourSentences();
    lesson->setSentences(four.sentences);
    lesson->setAnalysis(four);
    QVERIFY(!progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(strip->isVisible(), 10000);
    QTreeWidget *rows = list->rows();
    QCOMPARE(rows->topLevelItemCount(), 4);
    // the texts are the dictation's answers: hidden until asked
    for (int i = 0; i < 4; ++i)
        QVERIFY(!list->shownText(i).contains(four.sentences.items[size_t(i)].text));
    QVERIFY(list->findChild<QLabel *>(QStringLiteral("skippedCues"))->isVisible());

    const auto click = [rows](int row, int column) {
        const QModelIndex index = rows->model()->index(row, column);
        rows->scrollTo(index);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualRect(index).center());
    };
    // a row's circle shows its text alone; a click elsewhere on a row loops it
    click(1, SentenceList::EyeColumn);
    QCOMPARE(list->shownText(1), QStringLiteral("two"));
    QVERIFY(!list->shownText(2).contains(QLatin1String("three")));
    QCOMPARE(lesson->currentSentence(), -1);
    click(2, SentenceList::StartColumn);
    QCOMPARE(lesson->currentSentence(), 2);
    QCOMPARE(rows->topLevelItem(2)->background(SentenceList::StartColumn),
             list->palette().highlight());
    list->showAllTextsAction()->setChecked(true);
    for (int i = 0; i < 4; ++i) {
        const QString &text = four.sentences.items[size_t(i)].text;
        QCOMPARE(list->shownText(i), text);
        // a shown text is whole: in its tooltip, and in a column as wide as it is
        QCOMPARE(rows->topLevelItem(i)->toolTip(SentenceList::TextColumn), text);
        QVERIFY(rows->columnWidth(SentenceList::TextColumn) >=
                rows->fontMetrics().horizontalAdvance(text));
    }

    // Ins loops the sentence under the playhead, typed in the window or in the editor
    TextEdit *editor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *e = qobject_cast<TextEdit *>(w))
            editor = e;
    QVERIFY(editor);
    window.on_actionEidtor();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    for (QWidget *where : {static_cast<QWidget *>(&window),
                           static_cast<QWidget *>(editor->findChild<CTextCheckerEdit *>())}) {
        lesson->resetMarks();
        QCOMPARE(lesson->currentSentence(), -1);
        QTest::keyClick(where, Qt::Key_Insert);
        QVERIFY(lesson->currentSentence() >= 0);
    }
    window.on_actionEidtor();

    lesson->close();
    QTRY_VERIFY_WITH_TIMEOUT(!dock->isVisible() && !strip->isVisible(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(window.width(), narrow, 10000);
    QCOMPARE(rows->topLevelItemCount(), 0);
}

void TestSentences::draggedHandleMovesTheMark_data()
{
    // the loop is the third sentence, 3.0 to 4.1; pauses 2.6 to 3.0 and 4.1 to 4.4
    QTest::addColumn<double>("from"); // where the press is, seconds
    QTest::addColumn<double>("to");   // where the release is
    QTest::addColumn<double>("in");   // the engine's marks afterwards
    QTest::addColumn<double>("out");

    QTest::newRow("start later") << 3.0 << 3.4 << 3.4 << 4.1;
    QTest::newRow("start dropped near a pause snaps to its edge") << 3.0 << 2.64 << 2.6 << 4.1;
    QTest::newRow("end earlier") << 4.1 << 3.7 << 3.0 << 3.7;
    QTest::newRow("end later, beyond the pause") << 4.1 << 5.0 << 3.0 << 5.0;
    QTest::newRow("end past the start stops a picture after it") << 4.1 << 2.0 << 3.0 << 3.04;
    QTest::newRow("a press away from the handles moves nothing") << 3.5 << 3.8 << 3.0 << 4.1;
}

void TestSentences::draggedHandleMovesTheMark()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, in);
    QFETCH(double, out);

    LessonController lesson;
    WaveformStrip strip(&lesson);
    strip.resize(600, strip.height());
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    lesson.setAnalysis(fourSentences());
    lesson.loopSentence(2);
    QCOMPARE(lesson.currentSentence(), 2);

    const auto at = [&strip](double seconds) {
        return QPoint(int(std::lround(strip.xAt(seconds))), strip.height() / 2);
    };
    const QPoint target = at(to);
    QTest::mousePress(&strip, Qt::LeftButton, {}, at(from));
    QTest::mouseMove(&strip, target);
    if (from != 3.5) {
        // the handle follows the pointer, up to the other mark, before the engine is told
        const bool start = from == 3.0;
        const double shown = start ? qMin(to, 4.1) : qMax(to, 3.0);
        QCOMPARE(strip.grab().toImage().pixelColor(at(shown).x(), 2),
                 start ? QColor(96, 208, 120) : QColor(240, 150, 60));
        QCOMPARE(lesson.currentSentence(), 2);
    }
    QTest::mouseRelease(&strip, Qt::LeftButton, {}, target);
    // a pixel of the strip is about 12 ms of the lesson
    const double pixel = strip.viewSpan() / strip.width();
    QVERIFY2(
        qAbs(lesson.markInSeconds() - in) <= pixel && qAbs(lesson.markOutSeconds() - out) <= pixel,
        qPrintable(
            QStringLiteral("%1 to %2").arg(lesson.markInSeconds()).arg(lesson.markOutSeconds())));
}

// A sentence never checked shows no colour; a checked one its best score's, red for a poor
// one, green for a good one, changed as checks come in; the summary counts and averages
// the best scores.
void TestSentences::scoresShowAsColours()
{
    LessonController lesson;
    QVERIFY(lesson.open(fx.path(QStringLiteral("lesson.mkv"))));
    lesson.setSentences(fourSentences().sentences);
    SentenceList list(&lesson);
    LessonSummary summary(&lesson);
    QCOMPARE(summary.checkedText(), QStringLiteral("Sentences checked: 0 of 4 (0%)"));

    lesson.recordScore(0, 0.3);
    lesson.recordScore(2, 0.9);
    lesson.recordScore(2, 0.5); // a worse check keeps the best colour
    lesson.recordScore(7, 1.0); // no such sentence
    const auto hue = [&](int row) { return list.scoreColour(row).hsvHueF(); };
    QVERIFY(!list.scoreColour(1).isValid() && !list.scoreColour(3).isValid());
    QVERIFY2(hue(0) >= 0 && hue(0) < 30.0 / 360, qPrintable(QString::number(hue(0))));
    QVERIFY2(hue(2) > 90.0 / 360 && hue(2) < 150.0 / 360, qPrintable(QString::number(hue(2))));
    QCOMPARE(summary.checkedText(), QStringLiteral("Sentences checked: 2 of 4 (50%)"));
    QCOMPARE(summary.meanText(), QStringLiteral("Mean best accuracy: 60%"));
    // the chart as drawn: labels left of the bars and under them, a bar in its colour
    auto *chart = summary.findChild<QWidget *>(QStringLiteral("scoreChart"));
    QVERIFY(chart);
    const QImage drawn = chart->grab().toImage();
    const int w = drawn.width();
    const int h = drawn.height();
    const QColor ink = chart->palette().text().color();
    const auto inkIn = [&](const QRect &r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += qAbs(qGray(drawn.pixel(x, y)) - qGray(ink.rgb())) < 60;
        return n;
    };
    const int labels = chart->fontMetrics().horizontalAdvance(QStringLiteral("100%"));
    const int line = chart->fontMetrics().height();
    QVERIFY(inkIn(QRect(0, line + 2, labels, h - 3 * line)) > 20); // 0%, 50%, 100%
    QVERIFY(inkIn(QRect(labels + 20, h - 2 * line, w - labels - 30, 2 * line - 1)) > 20);
    // the third sentence's bar, 90% best, in green just above the axis
    const double left = labels + 10;
    const double step = (w - 8 - left - 1) / 4;
    const QColor third = drawn.pixelColor(int(left + 1 + step * 2.5), h - 2 * line - 12);
    QVERIFY2(third.hsvHueF() > 90.0 / 360, qPrintable(third.name()));

    lesson.recordScore(0, 1.0);
    QVERIFY(hue(0) > 90.0 / 360);
    lesson.forgetLesson();
    QVERIFY(!list.scoreColour(0).isValid() && !list.scoreColour(2).isValid());
    QCOMPARE(summary.meanText(), QStringLiteral("No sentence has been checked yet."));
}

// A lesson text's sentence placed unsure shows an amber "?" that says why; sure ones show
// none, and without an unsure sentence the mark's column is gone.
void TestSentences::unsureSentencesAreMarked()
{
    LessonController lesson;
    SentenceList list(&lesson);
    list.resize(500, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    lesson::Sentences placed = fourSentences().sentences;
    placed.source = lesson::SentenceSource::LessonText;
    placed.items[1].unsure = lesson::Unsure::NotHeard;
    placed.items[3].unsure = lesson::Unsure::OtherSound;
    lesson.setTextAlignment(placed);

    QTreeWidget *rows = list.rows();
    QVERIFY(!rows->isColumnHidden(SentenceList::UnsureColumn));
    const QImage drawn = rows->viewport()->grab().toImage();
    const auto amber = [&](int row) {
        const QRect cell = rows->visualRect(rows->model()->index(row, SentenceList::UnsureColumn));
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = drawn.pixelColor(x, y);
                n += c.hsvSaturation() > 150 && c.hsvHue() >= 25 && c.hsvHue() <= 55;
            }
        }
        return n;
    };
    const QString notHeard =
        QStringLiteral("Not heard in the sound: its place is a guess between its neighbours.");
    const QString otherSound = QStringLiteral("Much other sound around it: its place may be off.");
    const QStringList tips{QString(), notHeard, QString(), otherSound};
    for (int row = 0; row < 4; ++row) {
        const QString tip = tips[row];
        QCOMPARE(rows->topLevelItem(row)->toolTip(SentenceList::UnsureColumn), tip);
        QVERIFY2((amber(row) > 20) == !tip.isEmpty(), qPrintable(QString::number(row)));
    }

    lesson.setTextAlignment(fourSentences().sentences);
    QVERIFY(rows->isColumnHidden(SentenceList::UnsureColumn));
}

QTEST_MAIN(TestSentences)
#include "tst_sentences.moc"
