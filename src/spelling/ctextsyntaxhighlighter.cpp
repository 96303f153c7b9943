#include "spelling/ctextsyntaxhighlighter.h"

#include "spelling/ctextcheckeredit.h"
#include "spelling/spellingengine.h"

#include "spelling/wordsegmentation.h"

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
    for (const WordSpan &word : wordsOf(text)) {
        if (!engine->isCorrect(QStringView(text).sliced(word.start, word.length)))
            setFormat(int(word.start), int(word.length), mark);
    }
}
