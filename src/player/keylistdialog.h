#pragma once

#include "player/playerkeys.h"

#include <QDialog>

#include <functional>

class QTableWidget;

// The list of the player's keys as they are now: each command, its keys, and those of them
// that also work from the editor. GUI thread.
class KeyListDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyListDialog)

public:
    // fromEditor: whether the editor hands a key over to the player.
    KeyListDialog(const PlayerKeys &keys, const std::function<bool(QKeyCombination)> &fromEditor,
                  QWidget *parent = nullptr);

    QTableWidget *table() const { return table_; }

private:
    QTableWidget *table_ = nullptr;
};
