#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

// Underlines, with the red spell-check wave, every word of a block (as the word segmentation
// finds them) that the shared SpellingEngine rejects; asks the engine afresh at every
// highlighting. Owned by its document. GUI thread only.
class CTextSyntaxHighlighter final : public QSyntaxHighlighter
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTextSyntaxHighlighter)

public:
    explicit CTextSyntaxHighlighter(QTextDocument *parent);

protected:
    void highlightBlock(const QString &text) override;

private:
    QTextCharFormat mark;
};
