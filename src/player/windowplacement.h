#pragma once

#include <QRect>

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

} // namespace placement
