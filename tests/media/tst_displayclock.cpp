// The display's timing rules on plain times: which picture is shown now, how long it
// waits for its sound, when the next is due, and which media time is heard.
#include "media/displayclock.h"

#include <QTest>

#include <cmath>

using media::DisplayDecision;
using media::SoundFor;
using Action = DisplayDecision::Action;

Q_DECLARE_METATYPE(media::SoundFor)
Q_DECLARE_METATYPE(media::DisplayDecision::Action)

namespace {

constexpr double now = 100.0;
constexpr double none = NAN;
constexpr double inf = HUGE_VAL;

} // namespace

class TestDisplayClock : public QObject
{
    Q_OBJECT
private slots:
    void decideDisplay_data();
    void decideDisplay();
    void frameDelay_data();
    void frameDelay();
    void heardAt_data();
    void heardAt();
};

// Every row shows a picture at pts after one at lastPts (accepted step 0.04 s) at engine
// time 100 s; the sound columns matter only with the pictures following the sound.
void TestDisplayClock::decideDisplay_data()
{
    QTest::addColumn<double>("pts");
    QTest::addColumn<double>("lastPts");
    QTest::addColumn<bool>("afterSeek");
    QTest::addColumn<bool>("stale");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("frameTimer");
    QTest::addColumn<bool>("followSound");
    QTest::addColumn<SoundFor>("sound");
    QTest::addColumn<double>("heard");
    QTest::addColumn<double>("heardSpeed");
    QTest::addColumn<double>("switchIn");
    QTest::addColumn<double>("waitingSince"); // NaN: not waiting
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("nextInMs");
    QTest::addColumn<double>("nextDue"); // Show: the new frame timer
    QTest::addColumn<bool>("soundLost");

    const auto S = SoundFor::Heard;
    const auto N = SoundFor::NotYet;
    const auto P = SoundFor::Past;
    // pictures by their own times
    QTest::newRow("no sound, on time")
        << 1.04 << 1.0 << false << false << 1.0 << now << false << S << 0.0 << 1.0 << inf << none
        << Action::Show << 40 << now + 0.04 << false;
    QTest::newRow("no sound, 100 ms late: at once")
        << 1.04 << 1.0 << false << false << 1.0 << now - 0.1 << false << S << 0.0 << 1.0 << inf
        << none << Action::Show << 10 << now - 0.06 << false;
    QTest::newRow("no sound, 2x") << 1.04 << 1.0 << false << false << 2.0 << now << false << S
                                  << 0.0 << 1.0 << inf << none << Action::Show << 20 << now + 0.02
                                  << false;
    QTest::newRow("no sound, 0.5x")
        << 1.04 << 1.0 << false << false << 0.5 << now << false << S << 0.0 << 1.0 << inf << none
        << Action::Show << 80 << now + 0.08 << false;
    QTest::newRow("no sound, across a seek: the last step")
        << 5.0 << 1.0 << true << false << 1.0 << now << false << S << 0.0 << 1.0 << inf << none
        << Action::Show << 40 << now + 0.04 << false;
    QTest::newRow("decoded before the learner's seek: dropped")
        << 1.04 << 1.0 << false << true << 1.0 << now << true << S << 1.015 << 1.0 << inf << none
        << Action::Drop << 0 << none << false;
    // pictures following the sound, handed out 25 ms ahead of it
    QTest::newRow("sound, on time")
        << 1.04 << 1.0 << false << false << 1.0 << now << true << S << 1.015 << 1.0 << inf << none
        << Action::Show << 40 << now + 0.04 << false;
    QTest::newRow("sound, early: waits for it")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << S << 1.4625 << 1.0 << inf << none
        << Action::Wait << 12 << none << false;
    QTest::newRow("sound, far early: looks again within 20 ms")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << S << 1.0 << 1.0 << inf << none
        << Action::Wait << 20 << none << false;
    QTest::newRow("sound, late: at once")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << S << 1.7 << 1.0 << inf << none
        << Action::Show << 2 << now + (1.54 - 1.7 - 0.025) << false;
    QTest::newRow("sound at 2x, early")
        << 1.5 << 1.46 << false << false << 2.0 << now << true << S << 1.4375 << 2.0 << inf << none
        << Action::Wait << 6 << none << false;
    QTest::newRow("sound at 0.5x, early")
        << 1.5 << 1.46 << false << false << 0.5 << now << true << S << 1.484375 << 0.5 << inf
        << none << Action::Wait << 6 << none << false;
    QTest::newRow("sound at 0.5x, on time: next at half speed")
        << 1.5 << 1.46 << false << false << 0.5 << now << true << S << 1.4875 << 0.5 << inf << none
        << Action::Show << 80 << now + 0.08 << false;
    QTest::newRow("sound, loop-back heard sooner: next due then")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << S << 1.475 << 1.0 << 0.03 << none
        << Action::Show << 5 << now + 0.005 << false;
    QTest::newRow("sound, across a seek: the last step")
        << 5.0 << 1.0 << true << false << 1.0 << now << true << S << 4.975 << 1.0 << inf << none
        << Action::Show << 40 << now + 0.04 << false;
    QTest::newRow("sound of the stretch not begun: waits")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << N << 0.0 << 1.0 << inf << none
        << Action::Wait << 5 << none << false;
    QTest::newRow("waited half a second: waits on")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << N << 0.0 << 1.0 << inf
        << now - 0.5 << Action::Wait << 5 << none << false;
    QTest::newRow("waited a second: its own times, sound lost")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << N << 0.0 << 1.0 << inf
        << now - 1.0 << Action::Show << 40 << now + 0.04 << true;
    QTest::newRow("a later stretch heard: its own times")
        << 1.5 << 1.46 << false << false << 1.0 << now << true << P << 0.0 << 1.0 << inf << none
        << Action::Show << 40 << now + 0.04 << false;
}

void TestDisplayClock::decideDisplay()
{
    QFETCH(double, pts);
    QFETCH(double, lastPts);
    QFETCH(bool, afterSeek);
    QFETCH(bool, stale);
    QFETCH(double, speed);
    QFETCH(double, frameTimer);
    QFETCH(bool, followSound);
    QFETCH(SoundFor, sound);
    QFETCH(double, heard);
    QFETCH(double, heardSpeed);
    QFETCH(double, switchIn);
    QFETCH(double, waitingSince);
    QFETCH(Action, action);
    QFETCH(int, nextInMs);
    QFETCH(double, nextDue);
    QFETCH(bool, soundLost);

    media::DisplayInput in;
    in.now = now;
    in.pts = pts;
    in.afterSeek = afterSeek;
    in.stale = stale;
    in.lastPts = lastPts;
    in.lastDelay = 0.04;
    in.frameTimer = frameTimer;
    in.speed = speed;
    in.followSound = followSound;
    in.heard = {sound, heard, heardSpeed, switchIn};
    if (!std::isnan(waitingSince))
        in.waitingSince = waitingSince;
    const DisplayDecision d = media::decideDisplay(in);
    QCOMPARE(d.action, action);
    QCOMPARE(d.nextInMs, nextInMs);
    QCOMPARE(d.soundLost, soundLost);
    if (action == Action::Show)
        QVERIFY2(std::abs(d.frameTimer - nextDue) < 1e-9,
                 qPrintable(QString::number(d.frameTimer)));
    // a waiting picture keeps the time it began to wait
    if (action == Action::Wait)
        QCOMPARE(*d.waitingSince, std::isnan(waitingSince) ? now : waitingSince);
}

void TestDisplayClock::frameDelay_data()
{
    QTest::addColumn<double>("pts");
    QTest::addColumn<double>("lastPts");
    QTest::addColumn<bool>("afterSeek");
    QTest::addColumn<double>("delay"); // the last accepted step is 0.04 in every row
    QTest::newRow("first picture after start at 0.04") << 0.04 << 0.0 << false << 0.04;
    QTest::newRow("first picture after start at 5 s") << 5.0 << 0.0 << false << 0.04;
    QTest::newRow("25 fps") << 1.08 << 1.04 << false << 0.04;
    QTest::newRow("25 fps at double speed") << 0.54 << 0.52 << false << 0.02;
    QTest::newRow("loop back") << 1.0 << 3.0 << false << 0.04;
    QTest::newRow("same time again") << 2.0 << 2.0 << false << 0.04;
    QTest::newRow("a long frame") << 2.5 << 2.0 << false << 0.5;
    QTest::newRow("a seek half a second ahead") << 2.5 << 2.0 << true << 0.04;
}

void TestDisplayClock::frameDelay()
{
    QFETCH(double, pts);
    QFETCH(double, lastPts);
    QFETCH(bool, afterSeek);
    QFETCH(double, delay);
    QCOMPARE(media::frameDelay(pts, lastPts, 0.04, afterSeek), delay);
}

// Heard: stretch 1 from 2.50 s, written up to 2.52 s, heard now (engine time 100 s); then
// stretch 2 (a loop-back) from 1.52 s, written up to 1.60 s, heard from 100 s + nextIn.
void TestDisplayClock::heardAt_data()
{
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("nextIn");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("after"); // seconds after 100 s
    QTest::addColumn<int>("epoch");
    QTest::addColumn<SoundFor>("sound");
    QTest::addColumn<double>("clock");
    QTest::addColumn<double>("switchIn");

    const auto S = SoundFor::Heard;
    QTest::newRow("nothing told yet")
        << false << 30.0 << 1.0 << 0.0 << 1 << SoundFor::NotYet << none << inf;
    QTest::newRow("heard now, the next in 30 s")
        << true << 30.0 << 1.0 << 0.0 << 1 << S << 2.50 << 30.0;
    QTest::newRow("10 ms on") << true << 30.0 << 1.0 << 0.01 << 1 << S << 2.51 << 29.99;
    QTest::newRow("held at the end of what was written")
        << true << 30.0 << 1.0 << 0.1 << 1 << S << 2.52 << 29.9;
    QTest::newRow("at 0.5x") << true << 30.0 << 0.5 << 0.01 << 1 << S << 2.505 << 29.99;
    QTest::newRow("the next stretch, extrapolated back")
        << true << 30.0 << 1.0 << 0.0 << 2 << S << 1.52 - 30 << inf;
    QTest::newRow("a stretch not written yet")
        << true << 30.0 << 1.0 << 0.0 << 3 << SoundFor::NotYet << none << 30.0;
    QTest::newRow("an earlier stretch")
        << true << 30.0 << 1.0 << 0.0 << 0 << SoundFor::Past << none << 30.0;
    QTest::newRow("from its first byte the next is heard")
        << true << 0.0 << 1.0 << 0.0 << 2 << S << 1.52 << inf;
    QTest::newRow("and the one before is past")
        << true << 0.0 << 1.0 << 0.01 << 1 << SoundFor::Past << none << inf;
}

void TestDisplayClock::heardAt()
{
    QFETCH(bool, known);
    QFETCH(double, nextIn);
    QFETCH(double, speed);
    QFETCH(double, after);
    QFETCH(int, epoch);
    QFETCH(SoundFor, sound);
    QFETCH(double, clock);
    QFETCH(double, switchIn);
    const media::Heard heard{
        known, {2.50, 2.52, now, speed, 1}, {1.52, 1.60, now + nextIn, speed, 2}};
    const media::HeardNow h = media::heardAt(heard, epoch, now + after);
    QCOMPARE(h.sound, sound);
    if (sound == SoundFor::Heard) {
        QVERIFY2(std::abs(h.clock - clock) < 1e-9, qPrintable(QString::number(h.clock)));
        QCOMPARE(h.speed, speed);
    }
    QVERIFY2(std::isinf(switchIn) ? std::isinf(h.switchIn) : std::abs(h.switchIn - switchIn) < 1e-9,
             qPrintable(QString::number(h.switchIn)));
}

QTEST_APPLESS_MAIN(TestDisplayClock)
#include "tst_displayclock.moc"
