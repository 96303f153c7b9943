#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QTextEdit;

// Modeless window that compares text A (left) with text B (right), each typed, pasted or
// imported, and shows each side's own additions in colour plus a merged suggestion below.
// Owns its child widgets through the parent tree. GUI thread only.
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

public slots:
    void on_importSource_clicked();
    void on_diffResult_clicked();
    void on_outputTarget_clicked();
    void on_sourceFile_textChanged();
    void on_targetFile_textChanged();

private:
    struct Widgets;

    void setupWidgets();
    QString askForFile(QString &startLocation);
    static void importFile(const QString &fileName, QTextEdit *field);

    std::unique_ptr<Widgets> ui;
    QString sourceText_;
    QString targetText_;
    QString sourceLocation_;
    QString targetLocation_;
};
