#include "editor/keyforwarding.h"

#include <QKeySequence>

namespace {

// Whether the text needs the key: one that types (no Ctrl, Alt or Meta), or one of the
// platform's keys that move the cursor, select or edit.
bool typesWith(QKeyCombination key)
{
    const Qt::KeyboardModifiers commandModifiers =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!(key.keyboardModifiers() & commandModifiers) && key.key() < Qt::Key_Escape)
        return true;
    static const QList<QKeySequence::StandardKey> editing = [] {
        QList<QKeySequence::StandardKey> keys;
        for (int k = QKeySequence::MoveToNextChar; k <= QKeySequence::SelectEndOfDocument; ++k)
            keys += QKeySequence::StandardKey(k);
        keys += {QKeySequence::Undo,
                 QKeySequence::Redo,
                 QKeySequence::Cut,
                 QKeySequence::Copy,
                 QKeySequence::Paste,
                 QKeySequence::SelectAll,
                 QKeySequence::Deselect,
                 QKeySequence::Backspace,
                 QKeySequence::Delete,
                 QKeySequence::DeleteStartOfWord,
                 QKeySequence::DeleteEndOfWord,
                 QKeySequence::DeleteEndOfLine,
                 QKeySequence::DeleteCompleteLine,
                 QKeySequence::InsertParagraphSeparator,
                 QKeySequence::InsertLineSeparator};
        return keys;
    }();
    if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        return true;
    const QKeySequence sequence(key);
    for (const QKeySequence::StandardKey standard : editing) {
        if (QKeySequence::keyBindings(standard).contains(sequence))
            return true;
    }
    return false;
}

} // namespace

bool forwardsToPlayer(QKeyCombination key, const QList<QKeyCombination> &playerKeys)
{
    const QKeyCombination plain(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key());
    return playerKeys.contains(plain) && !typesWith(plain);
}
