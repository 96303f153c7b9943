// The main window on real clips: opening through the idle screen's button and the file
// dialog, the keys and the key delegate, the slider's rules, stop, and the fixes for a
// file that cannot be played and for a desktop without a system tray.
#include "player/vk.h"

#include "media/media.h"
#include "player/glrenderwidget.h"
#include "player/screenwidget.h"
#include "player/seekslider.h"
#include "support/mediafixtures.h"
#include "support/mediatestprobe.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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
    void marksFromKeysAndTheLoopRepeats();
    void playPauseKeysAndDelegate();
    void sharpTuneMovesByHundredTicks();
    void sliderDragRules();
    void firstTimingTickAfterASliderSeekIsSkipped();
    void nextSegmentAtTheEndDoesNothing();
    void stopClosesTheFile();
    void aFileThatCannotPlaySaysWhy();
    void closingWithoutTrayQuits();
    void fullScreenDropsTheSkinAndGetsItBack();

private:
    Media *media() const { return window->findChild<Media *>(); }
    QLabel *label(const char *name) const
    {
        return window->findChild<QLabel *>(QLatin1String(name));
    }
    void open(const QString &file);
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(window.get(), Qt::Key(k), mods);
    }

    MediaFixtures fx;
    std::unique_ptr<Vk> window;
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
    QFile text(fx.path(QStringLiteral("notes.mp4")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a film\n");
}

void TestVk::init()
{
    window = std::make_unique<Vk>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestVk::cleanup()
{
    window.reset();
}

void TestVk::open(const QString &file)
{
    auto *screen = window->findChild<QScreenWidget *>();
    QVERIFY(screen && screen->isVisible());
    answerNextDialog(fx.path(file));
    // the open button lies 35 to 60 pixels below the middle of the idle screen
    QTest::mouseClick(screen, Qt::LeftButton, {},
                      QPoint(screen->width() / 2, screen->height() / 2 + 45));
    QVERIFY(media());
}

void TestVk::opensAClipFromTheIdleScreen()
{
    QSignalSpy playing(window.get(), &Vk::isPlay);
    QSignalSpy dirPath(window.get(), &Vk::setDirPath);
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
    QSignalSpy playing(window.get(), &Vk::isPlay);
    key(Qt::Key_Space);
    QVERIFY(media()->isStopped());
    key(Qt::Key_F5);
    QVERIFY(!media()->isStopped());
    // keys with a modifier do nothing
    key(Qt::Key_Space, Qt::ShiftModifier);
    key(Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(!media()->isStopped());
    // the editor's forwarded codes: F5 toggles, codes outside F1 to F5 do nothing
    window->keyDelegateTrigger(0x01000034);
    QVERIFY(media()->isStopped());
    window->keyDelegateTrigger(0x0100002f);
    window->keyDelegateTrigger(0x01000035);
    window->keyDelegateTrigger(Qt::Key_Space);
    QVERIFY(media()->isStopped());
    QCOMPARE(playing.count(), 3);
    QCOMPARE(playing.at(0).at(0).toBool(), false);
    QCOMPARE(playing.at(1).at(0).toBool(), true);
    QCOMPARE(playing.at(2).at(0).toBool(), false);
}

void TestVk::sharpTuneMovesByHundredTicks()
{
    open(QStringLiteral("lesson.mkv"));
    Media *m = media();
    QCOMPARE(m->timeBase().den, 1000);
    m->setMarkOutAt(4000);
    m->setMarkInAt(2000);
    key(Qt::Key_F1);
    QCOMPARE(m->markIn(), int64_t(1900));
    window->keyDelegateTrigger(0x01000031); // F2 from the editor
    QCOMPARE(m->markIn(), int64_t(2000));
    key(Qt::Key_F3);
    QCOMPARE(m->markOut(), int64_t(3900));
    key(Qt::Key_F4);
    QCOMPARE(m->markOut(), int64_t(4000));
    key(Qt::Key_F1, Qt::ControlModifier);
    QCOMPARE(m->markIn(), int64_t(2000));
}

void TestVk::sliderDragRules()
{
    open(QStringLiteral("lesson.mkv"));
    Media *m = media();
    const double d = double(m->endTime());
    m->setMarkOutAt(4000);
    m->setMarkInAt(2000);
    QTRY_VERIFY(!MediaTestProbe::seekPending(*m));
    m->pause(true);

    // before the loop start: the start moves there, no seek
    window->on_actionSeek(1000 / d);
    QVERIFY(!MediaTestProbe::seekPending(*m));
    QCOMPARE(m->markIn(), int64_t(d * (1000 / d)));
    // past the loop end: the end moves there, no seek
    window->on_actionSeek(5000 / d);
    QVERIFY(!MediaTestProbe::seekPending(*m));
    QCOMPARE(m->markOut(), int64_t(d * (5000 / d)));
    // exactly on a mark: nothing changes
    const int64_t in = m->markIn();
    window->on_actionSeek(double(in) / d);
    QVERIFY(!MediaTestProbe::seekPending(*m));
    QCOMPARE(m->markIn(), in);
    // inside the loop: a seek there
    window->on_actionSeek(3000 / d);
    QVERIFY(MediaTestProbe::seekPending(*m));
    QCOMPARE(MediaTestProbe::seekTarget(*m), int64_t(d * (3000 / d)));
}

void TestVk::firstTimingTickAfterASliderSeekIsSkipped()
{
    open(QStringLiteral("lesson.mp4"));
    QTRY_VERIFY(label("positionLabel")->text() == QStringLiteral("00:00:01"));
    window->on_actionSeek(0.75);
    window->refreshTiming();
    QCOMPARE(label("positionLabel")->text(), QStringLiteral("00:00:01"));
    QTRY_VERIFY(label("positionLabel")->text() == QStringLiteral("00:00:06")); // 0.75 of 8 s
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
    QSignalSpy playing(window.get(), &Vk::isPlay);
    window->on_actionStop();
    QVERIFY(!media());
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
}

void TestVk::closingWithoutTrayQuits()
{
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // the headless server has none
    open(QStringLiteral("lesson.mp4"));
    // the event loop ends with 0 when closing quits, with 1 when it is still running later
    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(media()->isStopped());
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

QTEST_MAIN(TestVk)
#include "tst_vk.moc"
