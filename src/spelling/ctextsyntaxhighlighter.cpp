#include "spelling/ctextsyntaxhighlighter.h"

#include "spelling/ctextcheckeredit.h"
#include "spelling/spellingengine.h"

#include <QTextBoundaryFinder>

#include <algorithm>

CTextSyntaxHighlighter::CTextSyntaxHighlighter(QTextDocument *parent) : QSyntaxHighlighter(parent)
{
    mark.setUnderlineColor(Qt::red);
    mark.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
}

void CTextSyntaxHighlighter::highlightBlock(const QString &text)
{
    const SpellingEngine *engine = CTextCheckerEdit::sharedEngine();
    if (!engine)
        return;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        const QStringView piece = QStringView(text).sliced(start, end - start);
        // Hunspell rejects punctuation and blanks; only pieces with a letter are words.
        const bool isWord =
            std::any_of(piece.begin(), piece.end(), [](QChar c) { return c.isLetter(); });
        if (isWord && !engine->isCorrect(piece))
            setFormat(int(start), int(end - start), mark);
        start = end;
    }
}
