#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QTextEdit;

namespace Ui {
class DiffDialog;
}

// Modeless window that compares text A (left) with text B (right), each typed, pasted or
// imported, and shows each side's own additions in colour plus a merged suggestion below;
// or, in its word view, B checked against A word by word, the missed words linked.
// Its widgets come from the form diffdialog.ui and are owned through the parent tree.
// GUI thread only.
class DiffDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DiffDialog)

public:
    explicit DiffDialog(QWidget *parent = nullptr);
    ~DiffDialog() override;

    // Replaces text A (or B) by the file's text; a missing or unreadable file changes nothing.
    void importSourceFile(const QString &fileName);
    void importTargetFile(const QString &fileName);

signals:
    // The learner clicked a missed word of the word view: word is its lookup form.
    void lookupRequested(const QString &word);

private:
    // Colours each text's own words and shows the suggestion that turns B into A.
    void compare();
    // The word view: B's word accuracy against A and A's words as B got them.
    void compareWords();
    QString askForFile(QString &startLocation);
    static void importFile(const QString &fileName, QTextEdit *field);

    std::unique_ptr<Ui::DiffDialog> ui;
    QString sourceText_;
    QString targetText_;
    QString sourceLocation_;
    QString targetLocation_;
};
