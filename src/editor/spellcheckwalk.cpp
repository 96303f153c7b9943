#include "editor/spellcheckwalk.h"

#include "spelling/spellingengine.h"
#include "spelling/wordsegmentation.h"

#include <QTextBlock>
#include <QTextDocument>

SpellCheckWalk::SpellCheckWalk(QTextDocument *document, const SpellingEngine &spelling)
    : doc(document), engine(spelling), resume(document)
{}

SpellCheckWalk::Step SpellCheckWalk::step()
{
    QTextBlock block = resume.block();
    WordSpan span = nextWord(block.text(), resume.position() - block.position());
    while (!span.isValid() && block.next().isValid()) {
        block = block.next();
        span = nextWord(block.text(), 0);
    }
    if (!span.isValid())
        return Step::End;
    // The punctuation around a word is never part of it, so a replacement keeps it.
    walker = QTextCursor(doc);
    walker.setPosition(block.position() + int(span.start));
    walker.setPosition(block.position() + int(span.end()), QTextCursor::KeepAnchor);
    asked = walker.selectedText();
    resume.setPosition(walker.position());

    if (engine.isCorrect(asked))
        return Step::Checked;
    const auto known = replacements.constFind(asked);
    if (known == replacements.constEnd())
        return Step::Ask;
    walker.insertText(*known);
    return Step::Checked;
}

void SpellCheckWalk::replace(const QString &replacement)
{
    walker.insertText(replacement);
}

void SpellCheckWalk::replaceAll(const QString &replacement)
{
    replacements.insert(asked, replacement);
    replace(replacement);
}
