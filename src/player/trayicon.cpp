#include "player/trayicon.h"

#include "lesson/lessoncontroller.h"
#include "paths/apppaths.h"
#include "player/vk.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>

TrayIcon::TrayIcon(Vk &player, std::function<bool()> readyToQuit, QObject *parent)
    : QSystemTrayIcon(parent), player_(player), readyToQuit_(std::move(readyToQuit)),
      trayMenu(std::make_unique<QMenu>())
{
    const Vk::SharedEntries shared = player.sharedEntries();
    trayMenu->addAction(shared.open);
    trayMenu->addMenu(shared.recentLessons);
    trayMenu->addSeparator();
    trayMenu->addAction(tr("Mi&nimize"), &player, &Vk::hide);
    trayMenu->addAction(tr("&Restore"), &player, &Vk::showNormal);
    trayMenu->addSeparator();
    trayMenu->addAction(shared.drill);
    trayMenu->addAction(shared.preferences);
    trayMenu->addSeparator();
    trayMenu->addAction(tr("&Quit"), this, &TrayIcon::quit);
    setContextMenu(trayMenu.get());
    setIcon(QIcon(AppPaths::skinImage(QStringLiteral("vorlynplayer.png"))));
    setToolTip(tr("Vorlyn Player"));
    setVisible(true);
    connect(this, &QSystemTrayIcon::activated, this, &TrayIcon::iconActivated);
    player.installEventFilter(this);
}

TrayIcon::~TrayIcon()
{
    player_.removeEventFilter(this);
}

void TrayIcon::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (player_.isHidden()) {
        player_.showNormal();
        return;
    }
    player_.lesson()->stopPlaying();
    player_.hide();
}

void TrayIcon::quit()
{
    if (readyToQuit_())
        QCoreApplication::quit();
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    // Without a system tray the hidden window could never be brought back, and the
    // running process would keep the next start from opening a window at all: closing
    // quits, so what must be settled is settled first, and a cancel keeps the windows.
    if (watched == &player_ && event->type() == QEvent::Close &&
        !QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!readyToQuit_()) {
            event->ignore();
            return true;
        }
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return QSystemTrayIcon::eventFilter(watched, event);
}
