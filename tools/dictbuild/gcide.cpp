#include "gcide.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <zlib.h>

#include <algorithm>
#include <array>

namespace gcide {

namespace {

// The index writes offsets and lengths in base 64 with this alphabet, most significant
// digit first.
qint64 decodeNumber(QByteArrayView digits, bool *ok)
{
    static constexpr QByteArrayView alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    qint64 value = 0;
    *ok = !digits.isEmpty();
    for (const char c : digits) {
        const qsizetype digit = alphabet.indexOf(c);
        *ok = *ok && digit >= 0;
        value = value * 64 + std::max<qsizetype>(digit, 0);
    }
    return value;
}

// The position after the bracket that closes the one at text[at], nested ones included.
qsizetype afterBalanced(const QString &text, qsizetype at, QChar open, QChar close)
{
    int depth = 0;
    for (; at < text.size(); ++at) {
        if (text[at] == open)
            ++depth;
        else if (text[at] == close && --depth == 0)
            return at + 1;
    }
    return at;
}

// The part of speech as the explanations abbreviate it, from the entry's own words for it
// ("pron. & a.; pl. {These}" is a pronoun first): the earliest one named.
QString partLabel(QString parts)
{
    static const QRegularExpression braced(QStringLiteral("\\{[^}]*\\}"));
    parts.remove(braced);
    struct Part
    {
        const char *pattern;
        const char *label;
    };
    static const std::array<Part, 10> known = {{{"\\bpron\\.", "pron."},
                                                {"\\bprep\\.", "prep."},
                                                {"\\bconj\\.", "conj."},
                                                {"\\badv\\.", "adv."},
                                                {"\\binterj\\.", "interj."},
                                                {"(?:^|[\\s&,])a\\.", "adj."},
                                                {"\\bn\\.", "n."},
                                                {"\\b(?:v|imp|p\\. p)\\.", "v."},
                                                {"\\bauxiliary\\b", "v."},
                                                {"\\barticle\\b", "art."}}};
    qsizetype first = parts.size();
    QString label;
    for (const Part &part : known) {
        const QRegularExpressionMatch m =
            QRegularExpression(QLatin1String(part.pattern)).match(parts);
        if (m.hasMatch() && m.capturedStart() < first) {
            first = m.capturedStart();
            label = QLatin1String(part.label);
        }
    }
    return label;
}

constexpr qsizetype longestSense = 150;

// Where the first sentence of text ends: at a full stop or exclamation mark outside
// parentheses that a capital or a quotation follows ("(pl. Those)" ends none).
qsizetype firstSentenceEnd(const QString &text)
{
    int depth = 0;
    for (qsizetype i = 0; i + 2 < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (depth == 0 && (c == QLatin1Char('.') || c == QLatin1Char('!')) &&
                 text[i + 1] == QLatin1Char(' ') &&
                 (text[i + 2].isUpper() || text[i + 2] == QLatin1Char('"')))
            return i;
    }
    return text.size();
}

// One sense in the explanations' style: plain text without the dictionary's markup, no
// citation, no cross-reference, lower case first, no closing full stop. Empty for a sense
// that is obsolete or rare, only a reference to another entry, still holds markup this
// cannot read (letters written as [ae], syllables marked with *, ? for a letter of another
// alphabet), or is too long to shorten.
QString cleanSense(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    static const QRegularExpression usage(
        QStringLiteral("\\[(?:Obs|Archaic|R|Rare|Poetic|Prov|Dial|Scot|Local|Colloq|Slang)\\b"));
    static const QRegularExpression citation(QStringLiteral("\\s*--\\S.*$"));
    static const QRegularExpression tag(QStringLiteral("(?:^|\\s)\\[[^\\]]*\\]"));
    static const QRegularExpression field(QStringLiteral("^\\([A-Z][^)]*\\.\\)\\s*"));
    static const QRegularExpression reference(QStringLiteral("\\.\\s+(?:See|Cf\\.)\\s.*$"));
    static const QRegularExpression openExample(QStringLiteral("[;,]?\\s*as:?$"));
    static const QRegularExpression letterMark(QStringLiteral("^[a-z]\\. (?=[A-Z])"));
    static const QRegularExpression subSenses(QStringLiteral("\\s*\\([a-z]\\).*$"));
    static const QRegularExpression spaceBeforeStop(QStringLiteral("\\s+(?=[,;])"));
    static const QRegularExpression repeatedStop(QStringLiteral("([,;])[,;]+"));
    static const QRegularExpression unread(QStringLiteral("[\\[\\]\\\\*?|]"));
    text = text.replace(space, QStringLiteral(" ")).trimmed();
    if (text.contains(usage) || text.startsWith(QLatin1String("See ")))
        return {};
    text.remove(citation);
    text.remove(tag);
    text.remove(field);
    text.remove(reference);
    text.remove(QLatin1Char('{'));
    text.remove(QLatin1Char('}'));
    // the first sentence says what the word is; the rest is usage and history
    text.remove(letterMark);
    text.truncate(firstSentenceEnd(text));
    text.remove(subSenses);
    text.remove(spaceBeforeStop);
    text.replace(repeatedStop, QStringLiteral("\\1"));
    text.replace(QLatin1String("; --"), QLatin1String(";"));
    text.replace(QLatin1String(" -- "), QLatin1String(", "));
    text = text.trimmed();
    while (!text.isEmpty() && QStringLiteral(".;,: ").contains(text.back()))
        text.chop(1);
    text.remove(openExample);
    if (text.isEmpty() || text.contains(unread))
        return {};
    if (text.size() > longestSense) {
        if (const qsizetype examples = text.indexOf(QLatin1String("; as, ")); examples > 0)
            text.truncate(examples);
    }
    if (text.size() > longestSense) {
        qsizetype cut = text.lastIndexOf(QLatin1String("; "), longestSense);
        if (cut <= 0)
            cut = text.lastIndexOf(QLatin1String(", "), longestSense);
        if (cut <= 0)
            return {};
        text.truncate(cut);
    }
    if (!text.startsWith(QLatin1String("I ")) && !text.startsWith(QLatin1String("I,")))
        text[0] = text[0].toLower();
    return text;
}

// The senses of one entry when word is among its headwords, with the entry's part of
// speech in *label: the general sense before any numbered one, then the numbered senses,
// without notes, synonyms, phrases, quotations and sub-senses.
bool readEntry(const QString &entry, const QString &word, QString *label, QStringList *senses)
{
    // "Word \Word\ (pronunciation), parts of speech. [etymology]" and the senses; spellings
    // of one word share an entry: "Toward \To"ward\, Towards \To"wards\, prep."
    static const QRegularExpression headword(
        QStringLiteral("([A-Za-z'-]+) \\\\[^\\\\\n]*\\\\,? ?"));
    qsizetype at = 0;
    bool headed = false;
    for (QRegularExpressionMatch m;
         (m = headword.match(entry, at, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption))
             .hasMatch();
         at = m.capturedEnd())
        headed = headed || m.captured(1).compare(word, Qt::CaseInsensitive) == 0;
    if (!headed)
        return false;
    const auto skip = [&](QStringView chars) {
        while (at < entry.size() && (entry[at].isSpace() || chars.contains(entry[at])))
            ++at;
    };
    skip(u"");
    if (at < entry.size() && entry[at] == QLatin1Char('('))
        at = afterBalanced(entry, at, QLatin1Char('('), QLatin1Char(')'));
    skip(u",");
    const qsizetype partsFrom = at;
    int depth = 0;
    for (; at < entry.size() && entry[at] != QLatin1Char('\n'); ++at) {
        if (entry[at] == QLatin1Char('('))
            ++depth;
        else if (entry[at] == QLatin1Char(')'))
            --depth;
        else if (entry[at] == QLatin1Char('[') && depth == 0)
            break;
    }
    *label = partLabel(entry.mid(partsFrom, at - partsFrom));
    // the inflected forms and the etymology, each in brackets
    for (skip(u""); at < entry.size() && entry[at] == QLatin1Char('['); skip(u""))
        at = afterBalanced(entry, at, QLatin1Char('['), QLatin1Char(']'));

    static const QRegularExpression marker(QStringLiteral("^\\s*\\[[^\\]]*\\]\\s*$"));
    static const QRegularExpression numbered(QStringLiteral("^\\s*\\d+\\.\\s+"));
    QList<QStringList> paragraphs{{}};
    for (const QString &line : entry.mid(at).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || marker.match(line).hasMatch()) {
            if (!paragraphs.back().isEmpty())
                paragraphs.append(QStringList());
        } else {
            paragraphs.back().append(line);
        }
    }
    for (QStringList &paragraph : paragraphs) {
        if (paragraph.isEmpty())
            continue;
        const QString first = paragraph.front();
        qsizetype indent = 0;
        while (indent < first.size() && first[indent] == QLatin1Char(' '))
            ++indent;
        if (const QRegularExpressionMatch m = numbered.match(first); m.hasMatch())
            paragraph.front() = first.mid(m.capturedEnd());
        else if (indent > 4)
            continue; // a quotation
        const QString text = paragraph.join(QLatin1Char(' ')).trimmed();
        const auto aside = [&text](const char *start) {
            return text.startsWith(QLatin1String(start));
        };
        const std::array asides{"Note:", "Syn:", "Usage:", "{"};
        if (std::any_of(asides.cbegin(), asides.cend(), aside))
            continue;
        if (const QString sense = cleanSense(text); !sense.isEmpty())
            senses->append(sense);
    }
    return true;
}

} // namespace

bool Dictionary::load(const QString &dir, QString *error)
{
    const QDir folder(dir);
    QFile index(folder.filePath(QStringLiteral("gcide.index")));
    if (!index.open(QIODevice::ReadOnly)) {
        *error = index.fileName() + QStringLiteral(": ") + index.errorString();
        return false;
    }
    // "headword<TAB>offset<TAB>length"
    for (const QByteArray &line : index.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        bool offsetOk = false;
        bool lengthOk = false;
        if (fields.size() != 3)
            continue;
        const Span span{decodeNumber(fields[1], &offsetOk), decodeNumber(fields[2], &lengthOk)};
        if (offsetOk && lengthOk)
            index_[QString::fromUtf8(fields[0]).toLower()].append(span);
    }
    for (QList<Span> &spans : index_) {
        std::sort(spans.begin(), spans.end(),
                  [](const Span &a, const Span &b) { return a.offset < b.offset; });
        spans.erase(std::unique(spans.begin(), spans.end(),
                                [](const Span &a, const Span &b) { return a.offset == b.offset; }),
                    spans.end());
    }

    // A dictzip file is a gzip file whose header also holds a table for random access,
    // which a plain reader skips.
    const QString textPath = folder.filePath(QStringLiteral("gcide.dict.dz"));
    gzFile compressed = gzopen(QFile::encodeName(textPath).constData(), "rb");
    if (!compressed) {
        *error = textPath + QStringLiteral(": cannot be opened");
        return false;
    }
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    int read = 0;
    while ((read = gzread(compressed, chunk.data(), unsigned(chunk.size()))) > 0)
        text_.append(chunk.constData(), read);
    const bool whole = read == 0;
    gzclose(compressed);
    if (!whole) {
        *error = textPath + QStringLiteral(": damaged");
        return false;
    }
    return true;
}

QStringList Dictionary::senses(const QString &word, int maxSenses) const
{
    QStringList lines;
    for (const Span &span : index_.value(word.toLower())) {
        if (span.offset < 0 || span.offset + span.length > text_.size())
            continue;
        QString label;
        QStringList senses;
        if (!readEntry(QString::fromUtf8(text_.mid(span.offset, span.length)), word, &label,
                       &senses))
            continue;
        for (const QString &sense : std::as_const(senses)) {
            if (lines.size() < maxSenses)
                lines.append(label.isEmpty() ? sense : label + QLatin1Char(' ') + sense);
        }
    }
    return lines;
}

} // namespace gcide
