#pragma once

#include "phonetic/phoneticdictionary.h"

#include <QDialog>
#include <QString>

#include <memory>

class QListWidgetItem;
class QTimer;

namespace Ui {
class PhoneticDialog;
}

// Modeless window that finds words by a typed pronunciation (phonetic mode) or by a regular
// expression over the word (caption mode), lists them while the learner types and shows the
// chosen word's entry; its Hear button asks for the chosen word to be said. Its widgets come from
// the form phoneticdialog.ui and are owned through the parent tree; it owns its own dictionary
// connection. GUI thread only.
class PhoneticDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhoneticDialog)

public:
    explicit PhoneticDialog(QWidget *parent = nullptr);
    ~PhoneticDialog() override;

    // Switches to caption mode and searches for word as if the learner had typed it: the
    // word itself comes first and its entry shows.
    void lookUpWord(const QString &word);

signals:
    // The learner asked to hear word, the chosen one in the list.
    void hearRequested(const QString &word);

public slots:
    // Searches for text (at most 100 rows) and refills the list.
    void displaySlot(const QString &text);
    // Remembers text and searches for it 10 ms after the last change.
    void lazyLoad(const QString &text);
    void triggerDisplay();

private:
    void search(const QString &text, int limitMode);
    void connectList();
    void disconnectList();
    void insertSymbol(const QString &symbol);
    void showEntry(const QListWidgetItem *item);
    void showRow(int row);
    // The word chosen in the list, empty when the current row is none or a heading.
    QString chosenWord() const;
    // What the entry pane says when a search for text finds nothing.
    QString whyNothingFound(const QString &text) const;

    std::unique_ptr<Ui::PhoneticDialog> ui;
    PhoneticDictionary dict_;
    QString lazyText_;
    qint32 captionMode_ = 0;
    // One restartable timer instead of one per keystroke, which would pile up for as long
    // as the dialog lives.
    QTimer *lazyTimer_;
};
