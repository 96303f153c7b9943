#pragma once

#include <QList>
#include <Qt>

// Whether a key pressed in the editor goes to the player: one of the player's keys
// (playerKeys, keypad or not), unless the text types, moves the cursor, selects or edits
// with it. Reads the platform's key bindings: GUI thread.
bool forwardsToPlayer(QKeyCombination key, const QList<QKeyCombination> &playerKeys);
