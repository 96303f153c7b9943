// The main window on real clips, built as the program builds it: opening through the idle
// screen's button and the file dialog, the keys and the key delegate, the slider's rules,
// stop, the fixes for a file that cannot be played and for a desktop without a system tray;
// and the window alone, with a lesson of its own.
#include "app/studysession.h"
#include "player/vk.h"

#include "lesson/lessoncontroller.h"
#include "player/editorlink.h"

#include "player/controlbutton.h"
#include "player/glrenderwidget.h"
#include "player/screenwidget.h"
#include "player/seekslider.h"
#include "support/lessontestprobe.h"
#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

// Answers the next modal dialog: a file dialog with file, a message box by closing it.
void answerNextDialog(const QString &file, QString *messageSeen = nullptr)
{
    QTimer::singleShot(100, qApp, [file, messageSeen] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            // as a learner would: type the name and press Enter
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (messageSeen)
                *messageSeen = box->text();
            box->accept();
        } else {
            answerNextDialog(file, messageSeen); // not up yet
        }
    });
}

// The x range of the loop band painted on the slider, or (-1, -1).
QPair<int, int> loopBand(QSeekSlider *slider)
{
    const QImage img = slider->grab().toImage();
    int first = -1;
    int last = -1;
    for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, 5);
        if (qAbs(c.red() - 209) < 12 && qAbs(c.green() - 201) < 12 && qAbs(c.blue() - 134) < 12) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

} // namespace

class TestVk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensAClipFromTheIdleScreen();
    void clockShowsTheLessonsOwnTime_data();
    void clockShowsTheLessonsOwnTime();
    void marksFromKeysAndTheLoopRepeats();
    void playPauseKeysAndDelegate();
    void nudgesMoveATenthOfASecond_data();
    void nudgesMoveATenthOfASecond();
    void flagsFollowTheClampedMarks();
    void sliderDragRules();
    void firstTimingTickAfterASliderSeekIsSkipped();
    void commandsWhileTheSoundCloses_data();
    void commandsWhileTheSoundCloses();
    void aLessonOpenedWhileAnotherPlays();
    void audioOnlyLessonShowsItsCoverOrItsName_data();
    void audioOnlyLessonShowsItsCoverOrItsName();
    void unknownLengthIsShownAsUnknown();
    void escapeLeavesFullScreen();
    void nextSegmentAtTheEndDoesNothing();
    void stopClosesTheFile();
    void aFileThatCannotPlaySaysWhy();
    void closingWithoutTrayQuits();
    void fullScreenDropsTheSkinAndGetsItBack();
    void aWindowAloneHasALessonOfItsOwn();

private:
    Media *media() const { return LessonTestProbe::media(*window->lesson()); }
    LessonController *lesson() const { return window->lesson(); }
    // Presses the control bar's stop button as a learner would.
    void clickStop()
    {
        auto *bar = window->findChild<ControlButton *>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 6 + 10, 12));
    }
    QLabel *label(const char *name) const
    {
        return window->findChild<QLabel *>(QLatin1String(name));
    }
    void open(const QString &file);
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(window, Qt::Key(k), mods);
    }

    MediaFixtures fx;
    std::unique_ptr<StudySession> session;
    Vk *window = nullptr;
};

void TestVk::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    QVERIFY(fx.make(QStringLiteral("lesson.mp4"),
                    MediaFixtures::videoSource(QStringLiteral("320x240"), 8) +
                        MediaFixtures::toneSource(8) + MediaFixtures::h264() +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("aac")}));
    // Matroska counts in milliseconds
    QVERIFY(
        fx.make(QStringLiteral("lesson.mkv"),
                MediaFixtures::videoSource(QStringLiteral("320x240"), 6) + MediaFixtures::h264()));
    QVERIFY(
        fx.make(QStringLiteral("lesson.ts"),
                MediaFixtures::videoSource(QStringLiteral("320x240"), 6) + MediaFixtures::h264()));
    QVERIFY(fx.make(QStringLiteral("speech.mp3"),
                    MediaFixtures::toneSource(6) +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}));
    QVERIFY(fx.make(
        QStringLiteral("cover.mp3"),
        QStringList{QStringLiteral("-i"), fx.path(QStringLiteral("speech.mp3")),
                    QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                    QStringLiteral("color=c=red:size=64x64:duration=1"), QStringLiteral("-map"),
                    QStringLiteral("0:a"), QStringLiteral("-map"), QStringLiteral("1:v"),
                    QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-c:a"),
                    QStringLiteral("copy"), QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
                    QStringLiteral("-disposition:v"), QStringLiteral("attached_pic")}));
    QVERIFY(
        fx.make(QStringLiteral("raw.h264"),
                MediaFixtures::videoSource(QStringLiteral("320x240"), 4) + MediaFixtures::h264()));
    QFile text(fx.path(QStringLiteral("notes.mp4")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a film\n");
}

void TestVk::init()
{
    session = std::make_unique<StudySession>();
    window = session->player();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestVk::cleanup()
{
    session.reset();
    window = nullptr;
}

void TestVk::open(const QString &file)
{
    auto *screen = window->findChild<QScreenWidget *>();
    QVERIFY(screen && screen->isVisible());
    answerNextDialog(fx.path(file));
    // the open button lies 35 to 60 pixels below the middle of the idle screen
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    QVERIFY(lesson()->isOpen());
}

void TestVk::opensAClipFromTheIdleScreen()
{
    QSignalSpy playing(window, &Vk::isPlay);
    QSignalSpy dirPath(window, &Vk::setDirPath);
    open(QStringLiteral("lesson.mp4"));
    QCOMPARE(playing.count(), 1);
    QCOMPARE(playing.at(0).at(0).toBool(), true);
    QCOMPARE(dirPath.at(0).at(0).toString(), fx.path(QStringLiteral("lesson.mp4")));
    QVERIFY(!window->findChild<QScreenWidget *>()->isVisible());
    QCOMPARE(label("durationLabel")->text(), QStringLiteral("00:00:08"));

    // pictures reach the view and the position label moves on
    auto *view = window->findChild<GLRenderWidget *>();
    QVERIFY(view->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:01"), 5000);
    const QImage frame = view->grabFramebuffer();
    int lit = 0;
    for (int y = 0; y < frame.height(); y += 8)
        for (int x = 0; x < frame.width(); x += 8)
            lit += qGray(frame.pixel(x, y)) > 40;
    QVERIFY2(lit > 100, qPrintable(QString::number(lit)));
}

void TestVk::clockShowsTheLessonsOwnTime_data()
{
    QTest::addColumn<double>("speed");
    for (const double speed : {0.5, 0.75, 1.0, 1.5})
        QTest::addRow("%gx", speed) << speed;
}

// The labels read the lesson's own time at every speed: slowed down, its 8 s stay 8 s.
void TestVk::clockShowsTheLessonsOwnTime()
{
    QFETCH(double, speed);
    // the speed is set before the lesson opens, as a remembered speed is
    window->lesson()->setSpeed(speed);
    open(QStringLiteral("lesson.mp4"));
    QCOMPARE(label("durationLabel")->text(), QStringLiteral("00:00:08"));
    QTRY_COMPARE_WITH_TIMEOUT(label("positionLabel")->text(), QStringLiteral("00:00:02"), 30000);
    // read as soon as the label turned: a clock that ran at the speed's rate would have
    // turned below 2 s (slower) or at 3 s and later (faster)
    const double at = window->lesson()->positionSeconds();
    QVERIFY2(at >= 2.0 && at < 3.0, qPrintable(QString::number(at)));
}

void TestVk::marksFromKeysAndTheLoopRepeats()
{
    open(QStringLiteral("lesson.mp4"));
    Media *m = media();
    QTRY_VERIFY(m->currentClock() > 1.0);
    key(Qt::Key_F7);
    const int64_t in = m->markIn();
    QVERIFY(in > 0);
    QTRY_VERIFY(double(m->position() - in) * m->timeBase().num / m->timeBase().den > 0.8);
    key(Qt::Key_F8);
    const int64_t out = m->markOut();
    QVERIFY(out > in);
    auto *slider = window->findChild<QSeekSlider *>();
    // the handle, right at the new loop end, would hide the band's end: it goes to the
    // start until the next timing tick
    slider->setValue(0);
    const auto band = loopBand(slider);
    const double d = double(m->endTime());
    // the band's round caps reach three pixels beyond the flags
    QVERIFY2(qAbs(band.first - slider->width() * double(in) / d) <= 4,
             qPrintable(QString::number(band.first)));
    QVERIFY2(qAbs(band.second - slider->width() * double(out) / d) <= 4,
             qPrintable(QString::number(band.second)));

    // the loop then repeats: the position falls back to the loop start
    int loops = 0;
    int64_t last = m->position();
    QElapsedTimer t;
    t.start();
    while (loops < 2 && t.elapsed() < 8000) {
        QTest::qWait(20);
        const int64_t now = m->position();
        loops += now < last;
        last = now;
        // pictures decoded before the mark was set may still pass it once
        if (loops > 0)
            QVERIFY(now <= out + m->timeBase().den / m->timeBase().num / 20);
    }
    QCOMPARE(loops, 2);
}

void TestVk::playPauseKeysAndDelegate()
{
    open(QStringLiteral("lesson.mp4"));
    QSignalSpy playing(window, &Vk::isPlay);
    key(Qt::Key_Space);
    QVERIFY(lesson()->isStopped());
    key(Qt::Key_F5);
    QVERIFY(!lesson()->isStopped());
    // keys with a modifier do nothing
    key(Qt::Key_Space, Qt::ShiftModifier);
    key(Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(!lesson()->isStopped());
    // the editor's forwarded codes: F5 toggles, codes outside F1 to F5 do nothing
    session->editorLink()->keyDelegateTrigger(0x01000034);
    QVERIFY(lesson()->isStopped());
    session->editorLink()->keyDelegateTrigger(0x0100002f);
    session->editorLink()->keyDelegateTrigger(0x01000035);
    session->editorLink()->keyDelegateTrigger(Qt::Key_Space);
    QVERIFY(lesson()->isStopped());
    QCOMPARE(playing.count(), 3);
    QCOMPARE(playing.at(0).at(0).toBool(), false);
    QCOMPARE(playing.at(1).at(0).toBool(), true);
    QCOMPARE(playing.at(2).at(0).toBool(), false);
}

void TestVk::nudgesMoveATenthOfASecond_data()
{
    // the same step whatever the container counts in
    QTest::addColumn<QString>("file");
    QTest::newRow("Matroska, 1/1000") << QStringLiteral("lesson.mkv");
    QTest::newRow("MP4, 1/12800") << QStringLiteral("lesson.mp4");
    QTest::newRow("MPEG-TS, 1/90000") << QStringLiteral("lesson.ts");
    QTest::newRow("mp3") << QStringLiteral("speech.mp3");
}

void TestVk::nudgesMoveATenthOfASecond()
{
    QFETCH(QString, file);
    open(file);
    Media *m = media();
    const auto seconds = [m](int64_t t) { return media::toSeconds(t, m->timeBase()); };
    const int64_t s = m->startTime();
    m->setMarkOutAt(s + m->ticksFromSeconds(4));
    m->setMarkInAt(s + m->ticksFromSeconds(2));
    const int64_t in = m->markIn();
    const int64_t out = m->markOut();
    key(Qt::Key_F1);
    QVERIFY2(qAbs(seconds(in - m->markIn()) - 0.1) < 1e-3, qPrintable(file));
    session->editorLink()->keyDelegateTrigger(Qt::Key_F2); // F2 from the editor
    QCOMPARE(m->markIn(), in);
    key(Qt::Key_F3);
    QVERIFY(qAbs(seconds(out - m->markOut()) - 0.1) < 1e-3);
    key(Qt::Key_F4);
    QCOMPARE(m->markOut(), out);
    key(Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(m->markIn(), in);
}

void TestVk::flagsFollowTheClampedMarks()
{
    open(QStringLiteral("lesson.mkv"));
    Media *m = media();
    auto *slider = window->findChild<QSeekSlider *>();
    m->setMarkOutAt(2600);
    m->setMarkInAt(2000);
    // the start cannot pass the end: ten nudges stop a picture before it, and so does its
    // flag (a flag where the start was asked to go would paint a band beyond the loop's end)
    for (int i = 0; i < 10; ++i)
        key(Qt::Key_F2);
    QCOMPARE(m->markIn(), int64_t(2600 - 40));
    const auto band = loopBand(slider);
    QVERIFY2(band.second - band.first <= 8,
             qPrintable(QStringLiteral("%1 to %2").arg(band.first).arg(band.second)));
}

void TestVk::sliderDragRules()
{
    open(QStringLiteral("lesson.mkv"));
    Media *m = media();
    const double d = double(m->endTime());
    m->setMarkOutAt(3000);
    m->setMarkInAt(2000);
    QList<int64_t> shown;
    connect(m, &Media::frameReady, this, [&](int id) { shown << m->picture(id)->ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && shown.last() >= 2000, 20000);
    m->pause(true);
    const int64_t pausedAt = m->position();

    // before the loop start: the start moves there; past the loop end: the end moves
    // there; exactly on a mark: nothing changes. None of them seeks.
    window->on_actionSeek(1000 / d);
    QCOMPARE(m->markIn(), int64_t(d * (1000 / d)));
    window->on_actionSeek(5000 / d);
    QCOMPARE(m->markOut(), int64_t(d * (5000 / d)));
    const int64_t in = m->markIn();
    window->on_actionSeek(double(in) / d);
    QCOMPARE(m->markIn(), in);
    shown.clear();
    m->pause(false);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
    QVERIFY2(shown.first() > pausedAt && shown.first() < pausedAt + 500,
             qPrintable(QStringLiteral("%1 after %2").arg(shown.first()).arg(pausedAt)));

    // inside the loop: a seek there, the next picture shown is the one at the target
    m->pause(true);
    shown.clear();
    window->on_actionSeek(4500 / d);
    m->pause(false);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);
    QVERIFY2(shown.first() >= int64_t(d * (4500 / d)) && shown.first() < 4600,
             qPrintable(QString::number(shown.first())));
}

void TestVk::firstTimingTickAfterASliderSeekIsSkipped()
{
    open(QStringLiteral("lesson.mp4"));
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:01"), 20000);
    auto *slider = window->findChild<QSeekSlider *>();
    // the handle's x, from its top colour
    const auto handleAt = [slider] {
        const QImage img = slider->grab().toImage();
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, 2);
            if (qAbs(c.red() - 118) < 12 && qAbs(c.green() - 169) < 12 && qAbs(c.blue() - 196) < 12)
                return x;
        }
        return -1;
    };
    const int x = slider->width() * 3 / 4;
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, 4));
    // the tick right after the click would draw the handle back at the old position
    window->refreshTiming();
    QVERIFY2(qAbs(handleAt() - x) <= 4, qPrintable(QString::number(handleAt())));
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:06"), 20000);
}

void TestVk::nextSegmentAtTheEndDoesNothing()
{
    open(QStringLiteral("lesson.mkv"));
    Media *m = media();
    m->setMarkInAt(2000);
    QSignalSpy marking(m, &Media::markingChanged);
    key(Qt::Key_F9); // the loop already ends at the file's end
    QCOMPARE(marking.count(), 0);
    QCOMPARE(m->markIn(), int64_t(2000));
    // with a loop ending earlier, the part after it becomes the loop
    m->setMarkOutAt(3000);
    key(Qt::Key_F9);
    QCOMPARE(m->markIn(), int64_t(3000));
    QCOMPARE(m->markOut(), m->endTime());
}

void TestVk::stopClosesTheFile()
{
    open(QStringLiteral("lesson.mp4"));
    QSignalSpy playing(window, &Vk::isPlay);
    window->on_actionStop();
    QVERIFY(!lesson()->isOpen());
    QCOMPARE(playing.count(), 1);
    QCOMPARE(playing.at(0).at(0).toBool(), false);
    for (const char *name : {"positionLabel", "durationLabel"}) {
        QCOMPARE(label(name)->text(), QStringLiteral("00:00:00"));
        QVERIFY(label(name)->isHidden());
    }
    QVERIFY(window->findChild<QScreenWidget *>()->isVisible());
    // with no file, the commands are ignored
    key(Qt::Key_Space);
    key(Qt::Key_F7);
    QCOMPARE(playing.count(), 1);
}

void TestVk::aFileThatCannotPlaySaysWhy()
{
    // a lesson plays first: the failed open must not leave its picture or icons behind
    open(QStringLiteral("lesson.mp4"));
    QSignalSpy playing(window, &Vk::isPlay);
    QSignalSpy dirPath(window, &Vk::setDirPath);
    window->on_actionStop();
    playing.clear();
    QString message;
    auto *screen = window->findChild<QScreenWidget *>();
    answerNextDialog(fx.path(QStringLiteral("notes.mp4")), &message);
    // the message box comes up while the open is still on the stack
    QTimer::singleShot(300, [&] { answerNextDialog(QString(), &message); });
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    QTRY_VERIFY(!message.isEmpty());
    QVERIFY2(message.startsWith(
                 QStringLiteral("Error opening %1:\n").arg(fx.path(QStringLiteral("notes.mp4")))),
             qPrintable(message));
    // the idle screen with the play icon, and no transcript is made for the file
    QTRY_VERIFY(!lesson()->isOpen());
    QVERIFY(screen->isVisible());
    QVERIFY(!screen->showsLesson());
    QVERIFY(!window->findChild<GLRenderWidget *>()->isVisible());
    QCOMPARE(playing.count(), 1);
    QCOMPARE(playing.at(0).at(0).toBool(), false);
    QCOMPARE(dirPath.count(), 0);
    QVERIFY(label("positionLabel")->isHidden());
}

void TestVk::closingWithoutTrayQuits()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the headless server has none
    open(QStringLiteral("lesson.mp4"));
    // the event loop ends with 0 when closing quits, with 1 when it is still running later
    QTimer::singleShot(0, window, [this] { window->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(lesson()->isStopped());
}

void TestVk::fullScreenDropsTheSkinAndGetsItBack()
{
    QAction *fullScreen = nullptr;
    for (QAction *a : window->findChildren<QAction *>()) {
        if (a->text() == Vk::tr("Full Screen"))
            fullScreen = a;
    }
    QVERIFY(fullScreen);
    const QMargins frame = window->contentsMargins();
    QVERIFY(frame.top() > 0 && frame.left() > 0);
    window->grab();
    QVERIFY(!window->mask().isEmpty());

    fullScreen->setChecked(true);
    QVERIFY(window->isVisible());
    QVERIFY(window->isFullScreen());
    QCOMPARE(window->contentsMargins(), QMargins());
    window->grab();
    QVERIFY(window->mask().isEmpty());
    QCOMPARE(window->windowOpacity(), 1.0);

    fullScreen->setChecked(false);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isFullScreen());
    QCOMPARE(window->contentsMargins(), frame);
    window->grab();
    QVERIFY(!window->mask().isEmpty());
}

void TestVk::commandsWhileTheSoundCloses_data()
{
    // each arrives a millisecond after a click on stop, while the sound may be closing
    QTest::addColumn<QString>("then");
    QTest::newRow("stop again") << QStringLiteral("stop");
    QTest::newRow("open") << QStringLiteral("open");
    QTest::newRow("quit") << QStringLiteral("quit");
}

void TestVk::commandsWhileTheSoundCloses()
{
    QFETCH(QString, then);
    open(QStringLiteral("lesson.mp4"));
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:01"), 20000);
    QTimer::singleShot(1, window, [this, then] {
        if (then == QLatin1String("stop")) {
            clickStop();
        } else if (then == QLatin1String("open")) {
            answerNextDialog(fx.path(QStringLiteral("lesson.mkv")));
            window->on_actionOpen_activated();
        } else {
            window->close();
        }
    });
    clickStop();
    // the window answers: the lesson opened meanwhile plays, or the idle screen is up
    if (then == QLatin1String("open")) {
        QTRY_VERIFY_WITH_TIMEOUT(lesson()->positionSeconds() > lesson()->startSeconds() + 0.5,
                                 20000);
        clickStop();
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        !window->isVisible() || window->findChild<QScreenWidget *>()->isVisible(), 20000);
    QVERIFY(!lesson()->isOpen());
    // and a lesson opens and plays again
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    open(QStringLiteral("lesson.mkv"));
    QTRY_VERIFY_WITH_TIMEOUT(lesson()->positionSeconds() > lesson()->startSeconds() + 0.5, 20000);
    clickStop();
    QVERIFY(!lesson()->isOpen());
}

void TestVk::aLessonOpenedWhileAnotherPlays()
{
    // one after another, the first still playing each time; the sound goes on
    QSignalSpy dirPath(window, &Vk::setDirPath);
    open(QStringLiteral("lesson.mp4"));
    for (const char *next : {"lesson.mkv", "speech.mp3", "lesson.mp4"}) {
        QTRY_VERIFY_WITH_TIMEOUT(lesson()->positionSeconds() > lesson()->startSeconds(), 20000);
        answerNextDialog(fx.path(QLatin1String(next)));
        window->on_actionOpen_activated();
        QTRY_VERIFY_WITH_TIMEOUT(dirPath.count() > 0 && dirPath.last().at(0).toString() ==
                                                            fx.path(QLatin1String(next)),
                                 20000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(lesson()->positionSeconds() > 1.0, 20000);
}

void TestVk::audioOnlyLessonShowsItsCoverOrItsName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("red");
    QTest::newRow("cover art") << QStringLiteral("cover.mp3") << true;
    QTest::newRow("no cover") << QStringLiteral("speech.mp3") << false;
}

void TestVk::audioOnlyLessonShowsItsCoverOrItsName()
{
    QFETCH(QString, file);
    QFETCH(bool, red);
    // after a video lesson, whose last picture must not stay
    open(QStringLiteral("lesson.mp4"));
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:01"), 20000);
    answerNextDialog(fx.path(file));
    window->on_actionOpen_activated();
    QVERIFY(!lesson()->hasVideo());
    auto *screen = window->findChild<QScreenWidget *>();
    QVERIFY(screen->isVisible());
    QVERIFY(screen->showsLesson());
    QVERIFY(!window->findChild<GLRenderWidget *>()->isVisible());
    const QImage shot = screen->grab().toImage();
    const QColor middle = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    const QColor corner = shot.pixelColor(4, 4);
    if (red) {
        QVERIFY2(middle.red() > 200 && middle.green() < 60, qPrintable(middle.name()));
    } else {
        // the calm panel with the lesson's name, not a picture
        QCOMPARE(corner, QColor(32, 40, 48));
    }
    // a click on the middle opens nothing over a lesson
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestVk::unknownLengthIsShownAsUnknown()
{
    open(QStringLiteral("raw.h264"));
    QVERIFY(!lesson()->hasKnownLength());
    QCOMPARE(label("durationLabel")->text(), QStringLiteral("--:--:--"));
    QVERIFY(!window->findChild<QSeekSlider *>()->isEnabled());
    // it plays on: the position label moves past the first second
    QTRY_VERIFY_WITH_TIMEOUT(label("positionLabel")->text() == QStringLiteral("00:00:02"), 20000);
    // a loop end the learner sets works as usual
    key(Qt::Key_F8);
    QVERIFY(std::isfinite(lesson()->markOutSeconds()));
}

void TestVk::escapeLeavesFullScreen()
{
    QAction *fullScreen = nullptr;
    for (QAction *a : window->findChildren<QAction *>()) {
        if (a->text() == Vk::tr("Full Screen"))
            fullScreen = a;
    }
    QVERIFY(fullScreen);
    // the window is never unmapped on the way: a window manager's late notice about an
    // unmapped window could leave the full-screen window minimised too
    struct HideCounter : QObject
    {
        int hides = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            hides += e->type() == QEvent::Hide;
            return false;
        }
    } counter;
    window->installEventFilter(&counter);
    for (int round = 0; round < 5; ++round) {
        fullScreen->setChecked(true);
        QTRY_VERIFY(window->isFullScreen());
        QVERIFY(!window->isMinimized());
        key(Qt::Key_Escape);
        QVERIFY(!fullScreen->isChecked());
        QTRY_VERIFY(!window->isFullScreen());
        QVERIFY(window->isVisible());
    }
    window->removeEventFilter(&counter);
    QCOMPARE(counter.hides, 0);
}

void TestVk::aWindowAloneHasALessonOfItsOwn()
{
    // as the benchmarks drive it, without a session: it plays, and goes while it plays
    auto alone = std::make_unique<Vk>();
    alone->show();
    QVERIFY(QTest::qWaitForWindowExposed(alone.get()));
    LessonController *own = alone->lesson();
    QVERIFY(own != lesson());
    answerNextDialog(fx.path(QStringLiteral("lesson.mp4")));
    alone->on_actionOpen_activated();
    QVERIFY(own->isOpen());
    QTRY_VERIFY_WITH_TIMEOUT(own->positionSeconds() > own->startSeconds() + 0.5, 20000);
    alone.reset();
    QVERIFY(!lesson()->isOpen());
}

QTEST_MAIN(TestVk)
#include "tst_vk.moc"
