#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QTextBrowser;
struct WordCheck;

// Modeless window with the result of one word check: the word accuracy with the letter
// accuracy beside it, the counts and the reference sentence with its missing, wrong, misspelt
// and extra words marked. A click on a word not typed right asks to hear it and for its
// lookup. It shows without taking the keyboard from the window the learner types in. Owns its
// widgets through the parent tree. GUI thread only.
class WordCheckDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WordCheckDialog)

public:
    explicit WordCheckDialog(QWidget *parent = nullptr);

    // Replaces the result on show by check.
    void showCheck(const WordCheck &check);

signals:
    // The learner clicked a missing or wrong word: word is its lookup form.
    void lookupRequested(const QString &word);
    // The same click: the learner asked to hear the word.
    void hearRequested(const QString &word);

private:
    QLabel *accuracy_;
    QLabel *letters_;
    QLabel *counts_;
    QTextBrowser *sentence_;
};
