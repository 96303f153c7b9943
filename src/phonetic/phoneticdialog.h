#pragma once

#include "phonetic/phoneticdictionary.h"

#include <QDialog>
#include <QString>

#include <memory>

class QListWidgetItem;
class QTimer;

// Modeless window that finds words by a typed pronunciation (phonetic mode) or by a regular
// expression over the word (caption mode), lists them while the learner types and shows the
// chosen word's entry. Owns its child widgets through the parent tree and its own dictionary
// connection. GUI thread only.
class PhoneticDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PhoneticDialog)

public:
    explicit PhoneticDialog(QWidget *parent = nullptr);
    ~PhoneticDialog() override;

public slots:
    // Searches for text (at most 100 rows) and refills the list.
    void displaySlot(const QString &text);
    // Remembers text and searches for it 10 ms after the last change.
    void lazyLoad(const QString &text);
    void on_phoneticMode_toggled(bool checked);
    void on_captionMode_toggled(bool checked);
    // Searches for the last reported text over all rows.
    void on_inputPhonetic_returnPressed();
    void on_k230_clicked();
    void on_k240_clicked();
    void on_k952_clicked();
    void on_k331_clicked();
    void on_k593_clicked();
    void on_k601_clicked();
    void on_k609_clicked();
    void on_k596_clicked();
    void on_k643_clicked();
    void on_k652_clicked();
    void on_k658_clicked();
    void on_k603_clicked();
    void on_displayResult_itemClicked(QListWidgetItem *item);
    void on_displayResult_currentRowChanged(int row);
    void triggerDisplay();

private:
    struct Widgets;

    void setupWidgets();
    void search(const QString &text, int limitMode);
    void connectList();
    void disconnectList();
    void insertSymbol(char16_t symbol);
    void showEntry(const QListWidgetItem *item);
    // What the entry pane says when a search for text finds nothing.
    QString whyNothingFound(const QString &text) const;

    std::unique_ptr<Widgets> ui;
    PhoneticDictionary dict_;
    QString lazyText_;
    qint32 captionMode_ = 0;
    // One restartable timer instead of one per keystroke, which would pile up for as long
    // as the dialog lives.
    QTimer *lazyTimer_;
};
