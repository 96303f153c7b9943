#include "player/keylistdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

KeyListDialog::KeyListDialog(const PlayerKeys &keys,
                             const std::function<bool(QKeyCombination)> &fromEditor,
                             QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Keys"));
    auto *layout = new QVBoxLayout(this);
    table_ = new QTableWidget(PlayerKeys::commandCount, 3, this);
    table_->setHorizontalHeaderLabels({tr("Command"), tr("In the player"), tr("In the editor")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        const auto command = PlayerKeys::Command(c);
        QStringList inPlayer;
        QStringList inEditor;
        for (const QKeySequence &key : keys.assigned(command)) {
            const QString name = key.toString(QKeySequence::NativeText);
            inPlayer += name;
            if (fromEditor(key[0]))
                inEditor += name;
        }
        const QString columns[] = {PlayerKeys::label(command), inPlayer.join(QStringLiteral(", ")),
                                   inEditor.join(QStringLiteral(", "))};
        for (int column = 0; column < 3; ++column)
            table_->setItem(c, column, new QTableWidgetItem(columns[column]));
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    layout->addWidget(table_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 560);
}
