#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

#include <functional>

class QWidget;

// Where the player and the editor windows go on the desktop: the editor beside the player,
// and remembered places brought back onto a screen that exists. Both windows are frameless
// (skinned), so a window's geometry is all it covers. GUI thread only.
namespace placement {

// The player and the editor, the editor to the right of the player or, when the two do not
// fit side by side in available, below it; when neither fits, the editor is shrunk on the
// side with more room. Both are moved as one so that they lie within available.
struct Pair
{
    QRect player;
    QRect editor;
};
Pair besidePlayer(const QRect &player, const QSize &editor, const QRect &available);

// rect within the available area of the screen it lies on (most of it), else of the
// primary screen: no larger than that area, and moved inside it.
QRect onScreen(const QRect &rect);

// The available area of the screen that holds most of window.
QRect availableFor(const QWidget *window);

// Keeps a window's place in the player's settings (the learner's configuration folder)
// for the next start: when the program ends, and a second after the shown window moved or
// changed its size, so a program that is killed keeps it too. place says what to keep; an
// invalid rect keeps nothing. GUI thread only.
class Keeper final : public QObject
{
    Q_DISABLE_COPY_MOVE(Keeper)

public:
    Keeper(QWidget &window, const QString &key, std::function<QRect()> place,
           QObject *parent = nullptr);

    // The place kept under key, brought onto a screen that exists; invalid when none is.
    static QRect remembered(const QString &key);
    void keep() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window_;
    const QString key_;
    const std::function<QRect()> place_;
    QTimer settled;
};

} // namespace placement
