#include "skin/qskinobject.h"
#include "skin/qskinwidgetresizehandler.h"
#include "skin/skinfixture.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

namespace {

const QString testSettings = QStringLiteral("Hintergrundfarbe=#102030\nSkinpfad=skin/test.svg\n");

// A 400 x 300 window with a started skin, shown and exposed.
struct Skinned
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QSkinObject *skin = new QSkinObject(window.get());

    Skinned()
    {
        window->setGeometry(50, 60, 400, 300);
        skin->startSkinning();
        window->show();
    }
};

QColor pixel(QWidget *w, QPoint at)
{
    return w->grab().toImage().pixelColor(at);
}

// An event filter that hands every event to a function, which says whether it is consumed.
class CallbackFilter final : public QObject
{
public:
    explicit CallbackFilter(std::function<bool(QEvent *)> f) : filter(std::move(f)) {}

protected:
    bool eventFilter(QObject *, QEvent *e) override { return filter(e); }

private:
    std::function<bool(QEvent *)> filter;
};

} // namespace

class TestSkinObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void settings_data();
    void settings();
    void templateDefaultsBesideTheExecutable();
    void framePieces_data();
    void framePieces();
    void maskFollowsTheDrawnShape();
    void titleRedrawn_data();
    void titleRedrawn();
    void frameFollowsSizeAndRestart();
    void buttonRegions();
    void buttonLooks_data();
    void buttonLooks();
    void releaseOnTitleBar_data();
    void releaseOnTitleBar();
    void maximizeAndRestore_data();
    void maximizeAndRestore();
    void systemMaximizedReleaseActsOnce();
    void alphaAndStop();
    void missingTemplateDrawsNothing();
    void secondStartReplacesTheHandler();
    void shownTitle_data();
    void shownTitle();
};

void TestSkinObject::init()
{
    SkinFixture::writeTemplate();
    SkinFixture::writeSettings(testSettings);
    QCursor::setPos(0, 0);
}

void TestSkinObject::settings_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("title");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<QString>("family");

    QTest::newRow("defaults") << QString() << QColor(Qt::white) << QColor(255, 100, 0) << 1.0
                              << QStringLiteral("Arial");
    QTest::newRow("all keys") << QStringLiteral("Hintergrundfarbe=#102030\nTitelfarbe=#00ff00\n"
                                                "Alpha=0.5\nTitelschrift=\"Serif,12,-1,5,700,0,0,"
                                                "0,0,0\"\n")
                              << QColor(0x10, 0x20, 0x30) << QColor(0, 255, 0) << 0.5
                              << QStringLiteral("Serif");
    QTest::newRow("unknown colour") << QStringLiteral("Hintergrundfarbe=nosuchcolour\n") << QColor()
                                    << QColor(255, 100, 0) << 1.0 << QStringLiteral("Arial");
    // an opacity that cannot be read would hide the window: it stays opaque
    for (const char *alpha : {"0,8", "80%", "0", "-1"})
        QTest::newRow(qPrintable(QStringLiteral("unreadable alpha %1").arg(QLatin1String(alpha))))
            << QStringLiteral("Alpha=%1\n").arg(QLatin1String(alpha)) << QColor(Qt::white)
            << QColor(255, 100, 0) << 1.0 << QStringLiteral("Arial");
    QTest::newRow("alpha above one") << QStringLiteral("Alpha=3\n") << QColor(Qt::white)
                                     << QColor(255, 100, 0) << 1.0 << QStringLiteral("Arial");
}

void TestSkinObject::settings()
{
    QFETCH(QString, body);
    SkinFixture::writeSettings(body);
    QWidget w;
    QSkinObject skin(&w);
    skin.startSkinning();
    QFETCH(QColor, background);
    QFETCH(QColor, title);
    QCOMPARE(skin.backgroundColor(), background);
    QCOMPARE(skin.titleColor(), title);
    QTEST(skin.alpha(), "alpha");
    QTEST(skin.titleFont().family(), "family");
}

void TestSkinObject::templateDefaultsBesideTheExecutable()
{
    QFile::remove(SkinFixture::skinDir() + QStringLiteral("/skin.dat"));
    QWidget w;
    QSkinObject skin(&w);
    skin.startSkinning();
    QCOMPARE(skin.skinPath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/skin/template.svg"));
}

void TestSkinObject::framePieces_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("top") << QPoint(150, 15) << QColor(0, 0, 255);
    QTest::newRow("top left corner") << QPoint(5, 20) << QColor(255, 0, 0);
    QTest::newRow("left") << QPoint(3, 150) << QColor(0, 255, 0);
    QTest::newRow("right") << QPoint(396, 150) << QColor(0, 255, 0);
    QTest::newRow("bottom") << QPoint(200, 296) << QColor(255, 128, 0);
    QTest::newRow("bottom right corner") << QPoint(396, 296) << QColor(255, 128, 0);
    QTest::newRow("client") << QPoint(200, 150) << QColor(0x10, 0x20, 0x30);
    QTest::newRow("close button") << QPoint(382, 15) << QColor(255, 255, 0);
    QTest::newRow("maximize button") << QPoint(342, 15) << QColor(255, 255, 0);
    QTest::newRow("minimize button") << QPoint(302, 15) << QColor(255, 255, 0);
    QTest::newRow("gap between buttons") << QPoint(322, 15) << QColor(0, 0, 255);
}

void TestSkinObject::framePieces()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(QPoint, at);
    QTEST(pixel(s.window.get(), at), "colour");
}

void TestSkinObject::maskFollowsTheDrawnShape()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.window->grab();
    const QRegion mask = s.window->mask();
    QVERIFY(!mask.contains(QPoint(0, 0)));
    QVERIFY(mask.contains(QPoint(6, 6)));
    QVERIFY(mask.contains(QPoint(200, 150)));
    QVERIFY(mask.contains(QPoint(399, 299)));
    QCOMPARE(s.window->contentsMargins(), QMargins(8, 30, 8, 8));
}

void TestSkinObject::titleRedrawn_data()
{
    QTest::addColumn<bool>("byMarker");

    QTest::newRow("title") << false;
    QTest::newRow("modified marker") << true;
}

void TestSkinObject::titleRedrawn()
{
    Skinned s;
    s.window->setWindowTitle(QStringLiteral("Notes[*]"));
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    const QRect titleArea(56, 0, 200, 30);
    const QImage before = s.window->grab(titleArea).toImage();
    QFETCH(bool, byMarker);
    if (byMarker)
        s.window->setWindowModified(true);
    else
        s.window->setWindowTitle(QStringLiteral("Other notes[*]"));
    QVERIFY(s.window->grab(titleArea).toImage() != before);
}

void TestSkinObject::frameFollowsSizeAndRestart()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.window->grab();
    s.window->resize(500, 360);
    QCOMPARE(pixel(s.window.get(), QPoint(250, 356)), QColor(255, 128, 0));
    QCOMPARE(pixel(s.window.get(), QPoint(250, 296)), QColor(0x10, 0x20, 0x30));
    QVERIFY(s.window->mask().contains(QPoint(499, 359)));

    // Stopping clears the mask; a restart at the same size brings it back.
    s.skin->stopSkinning();
    s.skin->startSkinning();
    s.window->grab();
    QVERIFY(!s.window->mask().isEmpty());
}

void TestSkinObject::buttonRegions()
{
    Skinned s;
    QCOMPARE(s.skin->closeRegion(), QRegion(372, 7, 20, 16));
    QCOMPARE(s.skin->maximizeRegion(), QRegion(332, 7, 20, 16));
    QCOMPARE(s.skin->minimizeRegion(), QRegion(292, 7, 20, 16));
    s.window->resize(500, 300);
    QCOMPARE(s.skin->closeRegion(), QRegion(472, 7, 20, 16));
}

void TestSkinObject::buttonLooks_data()
{
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QColor>("close");
    QTest::addColumn<QColor>("minimize");

    QTest::newRow("away") << QPoint(200, 150) << false << QColor(255, 255, 0)
                          << QColor(255, 255, 0);
    QTest::newRow("hover close") << QPoint(382, 15) << false << QColor(0, 255, 255)
                                 << QColor(255, 255, 0);
    QTest::newRow("press close") << QPoint(382, 15) << true << QColor(255, 0, 255)
                                 << QColor(255, 255, 0);
    QTest::newRow("hover minimize")
        << QPoint(302, 15) << false << QColor(255, 255, 0) << QColor(0, 255, 255);
}

void TestSkinObject::buttonLooks()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(QPoint, cursor);
    QFETCH(bool, pressed);
    QCursor::setPos(s.window->mapToGlobal(cursor));
    QTRY_COMPARE(s.window->mapFromGlobal(QCursor::pos()), cursor);
    if (pressed)
        QTest::mousePress(s.window.get(), Qt::LeftButton, {}, cursor);
    const QImage img = s.window->grab().toImage();
    QTEST(img.pixelColor(382, 15), "close");
    QTEST(img.pixelColor(302, 15), "minimize");
    if (pressed)
        QTest::mouseRelease(s.window.get(), Qt::LeftButton, {}, QPoint(200, 150));
}

void TestSkinObject::releaseOnTitleBar_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<bool>("maximized");

    QTest::newRow("close") << QPoint(382, 15) << Qt::LeftButton << false << false << false;
    QTest::newRow("maximize") << QPoint(342, 15) << Qt::LeftButton << true << false << true;
    QTest::newRow("minimize") << QPoint(302, 15) << Qt::LeftButton << true << true << false;
    QTest::newRow("close, right button")
        << QPoint(382, 15) << Qt::RightButton << true << false << false;
    QTest::newRow("title bar") << QPoint(200, 15) << Qt::LeftButton << true << false << false;
    QTest::newRow("client") << QPoint(200, 150) << Qt::LeftButton << true << false << false;
}

void TestSkinObject::releaseOnTitleBar()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButton, button);
    QTest::mouseClick(s.window.get(), button, {}, at);
    QTEST(s.window->isVisible(), "visible");
    QTEST(s.window->isMinimized(), "minimized");
    QTEST(s.skin->skinMaximized(), "maximized");
}

void TestSkinObject::maximizeAndRestore_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("toggles");

    QTest::newRow("maximize button") << false << QPoint(342, 15) << true;
    QTest::newRow("double click on the title") << true << QPoint(150, 15) << true;
    QTest::newRow("double click below the title") << true << QPoint(150, 35) << false;
}

void TestSkinObject::maximizeAndRestore()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(bool, doubleClick);
    QFETCH(QPoint, at);
    QFETCH(bool, toggles);
    const QRect before = s.window->geometry();
    const auto act = [&] {
        if (doubleClick)
            QTest::mouseDClick(s.window.get(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(s.window.get(), Qt::LeftButton, {}, at);
    };
    act();
    QCOMPARE(s.skin->skinMaximized(), toggles);
    if (!toggles) {
        QCOMPARE(s.window->geometry(), before);
        return;
    }
    QCOMPARE(s.window->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
    // The buttons follow the new width, so the second click goes where maximize now is.
    if (!doubleClick)
        at.rx() += s.window->width() - before.width();
    act();
    QVERIFY(!s.skin->skinMaximized());
    QCOMPARE(s.window->geometry(), before);
}

void TestSkinObject::systemMaximizedReleaseActsOnce()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    // Maximized by the window manager (a keyboard shortcut), not by the skin: the resize
    // handler lets the release through, and the skin's own filter acts on it, once. A
    // window that refuses to close (an editor asking to save) is asked once per click.
    s.window->setWindowState(Qt::WindowMaximized);
    QTRY_VERIFY(s.window->isMaximized());
    int closeRequests = 0;
    CallbackFilter refuseClose([&](QEvent *e) {
        if (e->type() != QEvent::Close)
            return false;
        ++closeRequests;
        e->ignore();
        return true;
    });
    s.window->installEventFilter(&refuseClose);
    QTest::mouseClick(s.window.get(), Qt::LeftButton, {},
                      s.skin->closeRegion().boundingRect().center());
    QCOMPARE(closeRequests, 1);
    QVERIFY(s.window->isVisible());
}

void TestSkinObject::alphaAndStop()
{
    SkinFixture::writeSettings(testSettings + QStringLiteral("Alpha=0.8\n"));
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QCOMPARE(s.window->windowOpacity(), 0.8);
    QVERIFY(s.window->windowFlags() & Qt::FramelessWindowHint);
    s.window->grab();
    QVERIFY(!s.window->mask().isEmpty());

    s.skin->stopSkinning();
    QCOMPARE(s.window->windowOpacity(), 1.0);
    QVERIFY(s.window->isVisible());
    QVERIFY(s.window->mask().isEmpty());
    QCOMPARE(s.window->contentsMargins(), QMargins());
    // Without the skin the title-bar buttons are gone.
    QTest::mouseClick(s.window.get(), Qt::LeftButton, {}, QPoint(382, 15));
    QVERIFY(s.window->isVisible());

    s.skin->startSkinning();
    QCOMPARE(s.window->windowOpacity(), 0.8);
    QCOMPARE(s.window->contentsMargins(), QMargins(8, 30, 8, 8));
}

void TestSkinObject::missingTemplateDrawsNothing()
{
    SkinFixture::writeSettings(QStringLiteral("Skinpfad=skin/missing.svg\n"));
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QPalette pal = s.window->palette();
    pal.setColor(QPalette::Window, QColor(1, 2, 3));
    s.window->setPalette(pal);
    QCOMPARE(pixel(s.window.get(), QPoint(3, 3)), QColor(1, 2, 3));
    QCOMPARE(pixel(s.window.get(), QPoint(200, 150)), QColor(1, 2, 3));
    // The window keeps its whole shape instead of vanishing behind an empty mask.
    QVERIFY(s.window->mask().isEmpty());
    QVERIFY(s.skin->closeRegion().isEmpty());
    QTest::mouseClick(s.window.get(), Qt::LeftButton, {}, QPoint(382, 15));
    QVERIFY(s.window->isVisible());
}

void TestSkinObject::secondStartReplacesTheHandler()
{
    Skinned s;
    QPointer<QSkinWidgetResizeHandler> first = s.skin->resizeHandler();
    s.skin->startSkinning();
    QVERIFY(first.isNull());
    QVERIFY(s.skin->resizeHandler());
    // One release reaches the maximize button once: two handlers would toggle it back.
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QTest::mouseClick(s.window.get(), Qt::LeftButton, {}, QPoint(342, 15));
    QVERIFY(s.skin->skinMaximized());
}

void TestSkinObject::shownTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("shown");

    QTest::newRow("unmodified") << QStringLiteral("notes.html[*] - Rich Text") << false
                                << QStringLiteral("notes.html - Rich Text");
    QTest::newRow("modified") << QStringLiteral("notes.html[*] - Rich Text") << true
                              << QStringLiteral("notes.html* - Rich Text");
    QTest::newRow("no placeholder")
        << QStringLiteral("Vorlyn Player") << true << QStringLiteral("Vorlyn Player");
}

void TestSkinObject::shownTitle()
{
    QFETCH(QString, title);
    QFETCH(bool, modified);
    QWidget w;
    w.setWindowTitle(title);
    w.setWindowModified(modified);
    QTEST(QSkinObject::shownTitle(&w), "shown");
}

QTEST_MAIN(TestSkinObject)
#include "tst_skinobject.moc"
