#include "text/transcript.h"

#include "text/words.h"

#include <QRegularExpression>
#include <QSet>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// A line's content, without its surrounding whitespace, in code units of the transcript.
struct Line
{
    qsizetype start = 0;
    qsizetype end = 0;

    bool isBlank() const { return start == end; }
    qsizetype length() const { return end - start; }
};

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085' ||
           c == u'\u2028' || c == u'\u2029';
}

QList<Line> linesOf(QStringView text)
{
    QList<Line> lines;
    qsizetype i = 0;
    while (i <= text.size()) {
        qsizetype end = i;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        Line line{i, end};
        while (line.start < line.end && text[line.start].isSpace())
            ++line.start;
        while (line.end > line.start && text[line.end - 1].isSpace())
            --line.end;
        lines.append(line);
        if (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n')
            ++end;
        i = end + 1;
    }
    return lines;
}

bool isOpener(QChar c)
{
    return QStringView(u"\"'\u201C\u2018([\u00AB\u00BF\u00A1").contains(c);
}

bool isCloser(QChar c)
{
    return QStringView(u"\"'\u201D\u2019)]\u00BB").contains(c);
}

bool isTerminal(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u'\u2026';
}

// The first character at or after i that is not a space or an opening quote or bracket.
QChar firstCharacter(QStringView text, qsizetype i)
{
    while (i < text.size() && (text[i].isSpace() || isOpener(text[i])))
        ++i;
    return i < text.size() ? text[i] : QChar();
}

// Whether the stretch ends in final punctuation, perhaps followed by closing quotes.
bool endsWithTerminal(QStringView text)
{
    qsizetype i = text.size();
    while (i > 0 && isCloser(text[i - 1]))
        --i;
    return i > 0 && isTerminal(text[i - 1]);
}

// "NEIL:", "Rob:", "Dr Smith:" at the start of a line: up to three capitalised words and a
// colon before a space or the line's end (so "10:30" and "http://" are none).
const QRegularExpression &speakerLabel()
{
    static const QRegularExpression re(
        QStringLiteral("(\\p{Lu}[\\p{L}\\p{M}'\u2019.\\-]*(?: \\p{Lu}[\\p{L}\\p{M}'\u2019.\\-]*){0,"
                       "2})[ \\t]*:(?=\\s|$)"));
    return re;
}

// What may be a stage direction: anything in square brackets on one line, or up to three
// words of letters in parentheses (captured).
const QRegularExpression &stageDirection()
{
    static const QRegularExpression re(
        QStringLiteral("\\[[^\\[\\]\\n]{1,80}\\]|\\((\\p{L}+(?:[ '\u2019\\-]\\p{L}+){0,2})\\)"));
    return re;
}

bool hasWord(QStringView text)
{
    return wordFrom(text, 0, Hyphens::Split).isValid();
}

// Abbreviations after which a sentence never ends.
const QSet<QString> &titles()
{
    static const QSet<QString> set{
        QStringLiteral("mr."),  QStringLiteral("mrs."), QStringLiteral("ms."),
        QStringLiteral("dr."),  QStringLiteral("st."),  QStringLiteral("prof."),
        QStringLiteral("mt."),  QStringLiteral("vs."),  QStringLiteral("e.g."),
        QStringLiteral("i.e."), QStringLiteral("cf."),  QStringLiteral("approx."),
        QStringLiteral("fig."),
    };
    return set;
}

// Abbreviations that may end a sentence as well as stand inside one.
const QSet<QString> &ambiguousAbbreviations()
{
    static const QSet<QString> set{
        QStringLiteral("etc."), QStringLiteral("jr."),  QStringLiteral("sr."),
        QStringLiteral("inc."), QStringLiteral("ltd."), QStringLiteral("co."),
    };
    return set;
}

// Words that commonly open a sentence, which decide whether an ambiguous abbreviation
// ended the one before.
const QSet<QString> &sentenceOpeners()
{
    static const QSet<QString> set{
        QStringLiteral("i"),     QStringLiteral("it"),    QStringLiteral("he"),
        QStringLiteral("she"),   QStringLiteral("we"),    QStringLiteral("they"),
        QStringLiteral("you"),   QStringLiteral("the"),   QStringLiteral("this"),
        QStringLiteral("that"),  QStringLiteral("these"), QStringLiteral("those"),
        QStringLiteral("there"), QStringLiteral("then"),  QStringLiteral("but"),
        QStringLiteral("and"),   QStringLiteral("so"),    QStringLiteral("a"),
        QStringLiteral("an"),    QStringLiteral("what"),  QStringLiteral("when"),
        QStringLiteral("where"), QStringLiteral("why"),   QStringLiteral("how"),
        QStringLiteral("in"),    QStringLiteral("on"),    QStringLiteral("at"),
        QStringLiteral("if"),    QStringLiteral("my"),    QStringLiteral("our"),
        QStringLiteral("his"),   QStringLiteral("her"),   QStringLiteral("their"),
        QStringLiteral("now"),   QStringLiteral("well"),  QStringLiteral("yes"),
        QStringLiteral("no"),    QStringLiteral("oh"),    QStringLiteral("after"),
        QStringLiteral("today"),
    };
    return set;
}

// Words a hard-wrapped line may end on but a heading does not, and that an aside in
// parentheses has but a stage direction does not.
const QSet<QString> &functionWords()
{
    static const QSet<QString> set{
        QStringLiteral("a"),     QStringLiteral("an"),   QStringLiteral("the"),
        QStringLiteral("of"),    QStringLiteral("to"),   QStringLiteral("in"),
        QStringLiteral("on"),    QStringLiteral("at"),   QStringLiteral("by"),
        QStringLiteral("for"),   QStringLiteral("from"), QStringLiteral("with"),
        QStringLiteral("and"),   QStringLiteral("or"),   QStringLiteral("but"),
        QStringLiteral("my"),    QStringLiteral("your"), QStringLiteral("his"),
        QStringLiteral("her"),   QStringLiteral("its"),  QStringLiteral("our"),
        QStringLiteral("their"), QStringLiteral("is"),   QStringLiteral("was"),
        QStringLiteral("it"),    QStringLiteral("it's"), QStringLiteral("i"),
        QStringLiteral("he"),    QStringLiteral("she"),  QStringLiteral("we"),
        QStringLiteral("they"),  QStringLiteral("you"),  QStringLiteral("this"),
        QStringLiteral("that"),
    };
    return set;
}

// The text without its stage directions and the spaces before them. In parentheses, words
// such as "the" or "it" make an aside that is said: "(the linguist)" is, "(music)" is not.
QString withoutDirections(QStringView text)
{
    QString out;
    qsizetype from = 0;
    for (auto it = stageDirection().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        bool aside = false;
        const QStringView words = m.capturedView(1);
        for (WordSpan w = wordFrom(words, 0, Hyphens::Split); w.isValid() && !aside;
             w = wordFrom(words, w.end(), Hyphens::Split))
            aside = functionWords().contains(
                words.sliced(w.start, w.length).toString().toLower().replace(u'\u2019', u'\''));
        if (aside)
            continue;
        qsizetype keep = m.capturedStart();
        while (keep > from && text[keep - 1].isSpace())
            --keep;
        out += text.sliced(from, keep - from);
        from = m.capturedEnd();
    }
    out += text.sliced(from);
    return out;
}

// A letter and a full stop, twice or more: "U.S.", "a.m.".
bool isInitialism(QStringView token)
{
    if (token.size() < 4 || token.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i < token.size(); i += 2) {
        if (!token[i].isLetter() || token[i + 1] != u'.')
            return false;
    }
    return true;
}

// The pronoun I, alone or contracted, which follows a pause more often than a sentence's end.
bool isPronounI(QStringView word)
{
    return word == u"I" || (word.size() > 2 && word[0] == u'I' && isApostrophe(word[1].unicode()));
}

// Whether a sentence boundary that Unicode's rules put at b, in the stretch from `from` of a
// paragraph whose spaces are all plain and whose ellipses are full stops, really ends a
// sentence. original is the paragraph as written.
bool endsSentence(QStringView para, QStringView original, qsizetype from, qsizetype b)
{
    const QChar next = firstCharacter(para, b);
    if (next.isLower())
        return false;
    qsizetype j = b;
    while (j > from && (para[j - 1].isSpace() || isCloser(para[j - 1])))
        --j;
    if (j == from || para[j - 1] != u'.')
        return true;
    // the next word, if it is near
    const QStringView ahead = para.sliced(b, qMin<qsizetype>(para.size() - b, 40));
    const WordSpan w = wordFrom(ahead, 0, Hyphens::Split);
    const QStringView nextWord = w.isValid() ? ahead.sliced(w.start, w.length) : QStringView();
    if (original[j - 1] == u'\u2026' || (j - 1 > from && para[j - 2] == u'.'))
        return !isPronounI(nextWord);
    // the abbreviations looked for are short
    qsizetype t = j - 1;
    while (t > from && !para[t - 1].isSpace() && !isOpener(para[t - 1]) && j - t < 12)
        --t;
    const QStringView token = para.sliced(t, j - t);
    const QString lower = token.toString().toLower();
    if (titles().contains(lower) || (token.size() == 2 && token[0].isUpper()))
        return false;
    if (!ambiguousAbbreviations().contains(lower) && !isInitialism(token))
        return true;
    return sentenceOpeners().contains(nextWord.toString().toLower());
}

class Splitter
{
public:
    explicit Splitter(QStringView text) : m_text(text) {}

    QList<TranscriptSentence> run()
    {
        const QList<Line> lines = linesOf(m_text);
        m_typicalLength = typicalLength(lines);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            Line line = lines[i];
            if (line.isBlank()) {
                closeParagraph();
                continue;
            }
            // matched in the line alone: a match checks the whole of the text it is given
            const QRegularExpressionMatch label =
                speakerLabel().match(lineText(line), 0, QRegularExpression::NormalMatch,
                                     QRegularExpression::AnchorAtOffsetMatchOption);
            if (label.hasMatch()) {
                closeParagraph();
                m_speaker = label.captured(1);
                line.start += label.capturedEnd();
                while (line.start < line.end && m_text[line.start].isSpace())
                    ++line.start;
                if (line.isBlank())
                    continue;
            }
            // a heading starts a new part of the text, where no one speaks yet
            const bool heading = !label.hasMatch() &&
                                 isHeading(line, i + 1 < lines.size() ? &lines[i + 1] : nullptr);
            if (heading || isDirectionLine(line)) {
                closeParagraph();
                if (heading)
                    m_speaker.clear();
                m_paragraph = line;
                closeParagraph();
            } else if (m_paragraph.isBlank()) {
                m_paragraph = line;
            } else {
                m_paragraph.end = line.end;
            }
        }
        closeParagraph();
        return m_sentences;
    }

private:
    QStringView lineText(Line line) const { return m_text.sliced(line.start, line.length()); }

    bool isDirectionLine(Line line) const
    {
        const QString rest = withoutDirections(lineText(line));
        return rest.size() < line.length() && !hasWord(rest);
    }

    // The median length of the text's lines: about the width a paragraph was wrapped at, or
    // longer when paragraphs are not wrapped.
    static qsizetype typicalLength(const QList<Line> &lines)
    {
        QList<qsizetype> lengths;
        for (const Line &line : lines) {
            if (!line.isBlank())
                lengths.append(line.length());
        }
        if (lengths.isEmpty())
            return 0;
        const auto middle = lengths.begin() + lengths.size() / 2;
        std::nth_element(lengths.begin(), middle, lengths.end());
        return *middle;
    }

    // A line of at most eight words without final punctuation where a sentence may start,
    // half as long as a line of the text usually is, or as the next line when that starts
    // like a sentence: "Introduction", "The history of tea". A line that a paragraph was
    // wrapped at is longer, or ends in a word such as "the".
    bool isHeading(Line line, const Line *next) const
    {
        if (!next || next->isBlank() || !m_text[line.end - 1].isLetterOrNumber() ||
            (!m_paragraph.isBlank() && !endsWithTerminal(lineText(m_paragraph))))
            return false;
        const QChar first = firstCharacter(lineText(*next), 0);
        const bool beforeSentence = first.isUpper() || first.isDigit();
        if (2 * line.length() > m_typicalLength &&
            (2 * line.length() > next->length() || !beforeSentence))
            return false;
        const QStringView text = lineText(line);
        int words = 0;
        WordSpan last;
        for (WordSpan w = wordFrom(text, 0, Hyphens::Split); w.isValid() && words <= 8;
             w = wordFrom(text, w.end(), Hyphens::Split)) {
            last = w;
            ++words;
        }
        return words >= 1 && words <= 8 &&
               !functionWords().contains(text.sliced(last.start, last.length).toString().toLower());
    }

    // Splits the paragraph gathered so far into sentences.
    void closeParagraph()
    {
        if (m_paragraph.isBlank())
            return;
        const QStringView original = lineText(m_paragraph);
        QString para = original.toString();
        for (QChar &c : para) {
            if (c.isSpace())
                c = u' ';
            else if (c == u'\u2026')
                c = u'.';
        }
        QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, para);
        qsizetype from = 0;
        while (finder.toNextBoundary() != -1) {
            const qsizetype b = finder.position();
            if (b < para.size() && !endsSentence(para, original, from, b))
                continue;
            addSentence(m_paragraph.start + from, m_paragraph.start + b);
            from = b;
        }
        m_paragraph = {};
    }

    void addSentence(qsizetype start, qsizetype end)
    {
        while (start < end && m_text[start].isSpace())
            ++start;
        while (end > start && m_text[end - 1].isSpace())
            --end;
        TranscriptSentence s;
        s.start = start;
        s.end = end;
        s.text = m_text.sliced(start, end - start).toString().simplified();
        s.spoken = withoutDirections(s.text).simplified();
        const bool directed = s.spoken.size() < s.text.size();
        if (!hasWord(s.spoken)) {
            if (!directed)
                return;
            s.spoken.clear();
        }
        s.speaker = m_speaker;
        m_sentences.append(s);
    }

    QStringView m_text;
    qsizetype m_typicalLength = 0;
    Line m_paragraph;
    QString m_speaker;
    QList<TranscriptSentence> m_sentences;
};

} // namespace

QList<TranscriptSentence> splitTranscript(QStringView text)
{
    return Splitter(text).run();
}

QString withoutStageDirections(QStringView text)
{
    return withoutDirections(text).simplified();
}
