#pragma once

#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class QMenu;
class Vk;

// The player's icon in the system tray and its menu: the window's open, recent lessons,
// drill and preferences entries, and minimise, restore and quit. A click hides the player
// (its sound stopped) or brings it back. Where the desktop has no tray, closing the player
// ends the program, since a hidden window could never come back. GUI thread only.
class TrayIcon final : public QSystemTrayIcon
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayIcon)

public:
    // player outlives the icon; readyToQuit settles what must be settled before the program
    // ends and says whether it may end (the learner may cancel).
    TrayIcon(Vk &player, std::function<bool()> readyToQuit, QObject *parent = nullptr);
    ~TrayIcon() override;

public slots:
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    // Ends the program once readyToQuit agrees.
    void quit();

protected:
    // Sees the player closing.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Vk &player_;
    const std::function<bool()> readyToQuit_;
    // the icon's context menu; no parent
    std::unique_ptr<QMenu> trayMenu;
};
