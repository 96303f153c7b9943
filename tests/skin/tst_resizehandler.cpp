#include "skin/qskinobject.h"
#include "skin/qskinwidgetresizehandler.h"
#include "skin/skinfixture.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

// A 400 x 300 skinned window at (100, 100) with left and right borders 8 wide.
struct Skinned
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QSkinObject *skin = new QSkinObject(window.get());

    Skinned()
    {
        window->setGeometry(100, 100, 400, 300);
        skin->startSkinning();
        window->show();
    }
    QSkinWidgetResizeHandler *handler() const { return skin->resizeHandler(); }
};

void send(QWidget *w, QEvent::Type type, QPoint global, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, buttons, {});
    QApplication::sendEvent(w, &e);
}

// Presses the left button at `at` (window coordinates) and drags it by `delta`.
void drag(QWidget *w, QPoint at, QPoint delta)
{
    const QPoint g = w->mapToGlobal(at);
    send(w, QEvent::MouseButtonPress, g, Qt::LeftButton, Qt::LeftButton);
    send(w, QEvent::MouseMove, g + delta, Qt::NoButton, Qt::LeftButton);
    send(w, QEvent::MouseButtonRelease, g + delta, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestResizeHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void range_data();
    void range();
    void modes_data();
    void modes();
    void dragRules_data();
    void dragRules();
    void leftEdgeStopsAtMinimumWidth();
    void stillWhileSkinMaximized();
    void rightPressReachesContextMenu();
    void noShortcutDuringDrag();
};

void TestResizeHandler::init()
{
    SkinFixture::writeTemplate();
    SkinFixture::writeSettings(QStringLiteral("Skinpfad=skin/test.svg\n"));
}

void TestResizeHandler::range_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("range");

    QTest::newRow("narrow border, whole width") << 8 << 8;
    QTest::newRow("half of 9 is below 5") << 9 << 9;
    QTest::newRow("half of 10 is 5") << 10 << 5;
    QTest::newRow("wide border, half") << 12 << 6;
}

void TestResizeHandler::range()
{
    QFETCH(int, border);
    SkinFixture::writeTemplate(QStringLiteral("range.svg"), border);
    SkinFixture::writeSettings(QStringLiteral("Skinpfad=skin/range.svg\n"));
    Skinned s;
    QTEST(s.handler()->range(), "range");
}

void TestResizeHandler::modes_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QSkinWidgetResizeHandler::Mode>("mode");
    QTest::addColumn<Qt::CursorShape>("shape");

    using H = QSkinWidgetResizeHandler;
    QTest::newRow("top left") << QPoint(3, 3) << H::TopLeft << Qt::SizeFDiagCursor;
    QTest::newRow("top left, edge of range") << QPoint(8, 8) << H::TopLeft << Qt::SizeFDiagCursor;
    QTest::newRow("bottom right") << QPoint(396, 296) << H::BottomRight << Qt::SizeFDiagCursor;
    QTest::newRow("bottom left") << QPoint(3, 296) << H::BottomLeft << Qt::SizeBDiagCursor;
    QTest::newRow("top right") << QPoint(396, 3) << H::TopRight << Qt::SizeBDiagCursor;
    QTest::newRow("top") << QPoint(200, 3) << H::Top << Qt::SizeVerCursor;
    QTest::newRow("bottom") << QPoint(200, 292) << H::Bottom << Qt::SizeVerCursor;
    QTest::newRow("left") << QPoint(3, 100) << H::Left << Qt::SizeHorCursor;
    QTest::newRow("right") << QPoint(392, 100) << H::Right << Qt::SizeHorCursor;
    QTest::newRow("just outside the right range")
        << QPoint(391, 100) << H::Center << Qt::ArrowCursor;
    QTest::newRow("just inside the range") << QPoint(9, 100) << H::Center << Qt::ArrowCursor;
    QTest::newRow("inside") << QPoint(100, 100) << H::Center << Qt::ArrowCursor;
}

void TestResizeHandler::modes()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(QPoint, at);
    send(s.window.get(), QEvent::MouseMove, s.window->mapToGlobal(at), Qt::NoButton, {});
    QTEST(s.handler()->currentMode(), "mode");
    QTEST(s.window->cursor().shape(), "shape");
}

void TestResizeHandler::dragRules_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("top left corner") << QPoint(3, 3) << QPoint(-20, -10) << QRect(80, 90, 420, 310);
    QTest::newRow("left edge") << QPoint(3, 100) << QPoint(10, 5) << QRect(110, 100, 390, 300);
    QTest::newRow("bottom right corner")
        << QPoint(396, 296) << QPoint(10, 20) << QRect(100, 100, 410, 320);
    QTest::newRow("top edge") << QPoint(200, 3) << QPoint(7, 15) << QRect(100, 115, 400, 285);
    QTest::newRow("inside moves") << QPoint(100, 100) << QPoint(30, -20)
                                  << QRect(130, 80, 400, 300);
    QTest::newRow("title bar moves")
        << QPoint(200, 15) << QPoint(-50, 40) << QRect(50, 140, 400, 300);
    QTest::newRow("top shrinks to the minimum height")
        << QPoint(200, 3) << QPoint(0, 1000) << QRect(100, 362, 400, 38);
}

void TestResizeHandler::dragRules()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QFETCH(QPoint, at);
    QFETCH(QPoint, delta);
    drag(s.window.get(), at, delta);
    QTEST(s.window->geometry(), "geometry");
}

void TestResizeHandler::leftEdgeStopsAtMinimumWidth()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    const int right = s.window->geometry().right();
    drag(s.window.get(), QPoint(3, 100), QPoint(1000, 0));
    QCOMPARE(s.window->width(), 8 + 8 + 128);
    QCOMPARE(s.window->geometry().right(), right);
}

void TestResizeHandler::stillWhileSkinMaximized()
{
    Skinned s;
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.skin->toggleSkinMaximized();
    const QRect maximized = s.window->geometry();
    drag(s.window.get(), QPoint(100, 100), QPoint(30, 30));
    drag(s.window.get(), QPoint(3, 100), QPoint(30, 0));
    QCOMPARE(s.window->geometry(), maximized);
}

void TestResizeHandler::rightPressReachesContextMenu()
{
    Skinned s;
    s.window->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy menu(s.window.get(), &QWidget::customContextMenuRequested);
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    QSignalSpy activate(s.handler(), &QSkinWidgetResizeHandler::activate);
    // Through the window system, where the context menu event is made from the press.
    QTest::mouseClick(s.window->windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    QCOMPARE(menu.count(), 1);
    QCOMPARE(activate.count(), 0);
    QTest::mouseClick(s.window->windowHandle(), Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(activate.count(), 1);
}

void TestResizeHandler::noShortcutDuringDrag()
{
    Skinned s;
    // The focus sits in a child, as in the real windows.
    auto *edit = new QLineEdit(s.window.get());
    edit->setGeometry(20, 40, 100, 20);
    edit->show();
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_F2), s.window.get());
    QSignalSpy fired(shortcut, &QShortcut::activated);
    s.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.window.get()));
    edit->setFocus();

    const QPoint g = s.window->mapToGlobal(QPoint(200, 150));
    send(s.window.get(), QEvent::MouseButtonPress, g, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(s.handler()->isButtonDown());
    QTest::keyClick(edit, Qt::Key_F2);
    QCOMPARE(fired.count(), 0);
    send(s.window.get(), QEvent::MouseButtonRelease, g, Qt::LeftButton, Qt::NoButton);
    QTest::keyClick(edit, Qt::Key_F2);
    QCOMPARE(fired.count(), 1);
}

QTEST_MAIN(TestResizeHandler)
#include "tst_resizehandler.moc"
