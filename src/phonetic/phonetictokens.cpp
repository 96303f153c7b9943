#include "phonetic/phonetictokens.h"

#include "phonetic/notationfold.h"

#include <QList>

#include <array>

namespace {

// One pass of the token walk: the keys from the greatest to the smallest, each tried once
// against the front of what remains. After a token is taken the pass continues with the
// keys below it, so "tstʃ" yields ts, t in the first pass and ʃ only in the next one.
template <typename OnToken> void runPass(QStringView &remaining, OnToken onToken)
{
    const PhoneticTokenTable &tokens = phoneticTokens();
    for (auto it = tokens.rbegin(); it != tokens.rend() && !remaining.isEmpty(); ++it) {
        const QStringView key(it->first.data(), qsizetype(it->first.size()));
        if (remaining.startsWith(key)) {
            remaining = remaining.mid(key.size());
            onToken(it->first, it->second);
        }
    }
}

// The whole token walk: passes until nothing of input remains. False as soon as a pass
// takes no token, which would otherwise repeat forever.
template <typename OnToken> bool walkTokens(QStringView input, OnToken onToken)
{
    QStringView remaining = input;
    while (!remaining.isEmpty()) {
        const qsizetype before = remaining.size();
        runPass(remaining, onToken);
        if (remaining.size() == before)
            return false;
    }
    return true;
}

struct Symbol
{
    char16_t codePoint;
    const char *stored;
};

// Ascending code-point order, the order in which references are replaced.
constexpr std::array<Symbol, 16> symbols{{{230, "&#230;"},
                                          {240, "&#240;"},
                                          {331, "&#331;"},
                                          {593, "&#593;"},
                                          {596, "&#596;"},
                                          {601, "&#601;"},
                                          {603, "&#603;"},
                                          {609, "&#609;"},
                                          {618, "&#618;"},
                                          {643, "&#643;"},
                                          {652, "&#652;"},
                                          {658, "&#658;"},
                                          {712, "&#712;"},
                                          {716, "&#716;"},
                                          {720, "&#720;"},
                                          {952, "&#952;"}}};

} // namespace

const PhoneticTokenTable &phoneticTokens()
{
    static const PhoneticTokenTable table{{u"'", "&#712;"},
                                          {u":", "&#720;"},
                                          {u"a", "&#593;"},
                                          {u"ai", "ai"},
                                          {u"au", "au"},
                                          {u"b", "b"},
                                          {u"d", "d"},
                                          {u"dr", "dr"},
                                          {u"dz", "dz"},
                                          {u"d\u0292", "d&#658;"},
                                          {u"e", "e"},
                                          {u"ei", "ei"},
                                          {u"f", "f"},
                                          {u"g", "&#609;"},
                                          {u"h", "h"},
                                          {u"i", "i"},
                                          {u"i\u0259", "i&#601;"},
                                          {u"i\u02D0", "i&#720;"},
                                          {u"j", "j"},
                                          {u"k", "k"},
                                          {u"l", "l"},
                                          {u"m", "m"},
                                          {u"n", "n"},
                                          {u"o", "o"},
                                          {u"p", "p"},
                                          {u"r", "r"},
                                          {u"s", "s"},
                                          {u"t", "t"},
                                          {u"tr", "tr"},
                                          {u"ts", "ts"},
                                          {u"t\u0283", "t&#643;"},
                                          {u"u", "u"},
                                          {u"u\u0259", "u&#601;"},
                                          {u"u\u02D0", "u&#720;"},
                                          {u"v", "v"},
                                          {u"w", "w"},
                                          {u"z", "z"},
                                          {u"\u00E6", "&#230;"},
                                          {u"\u00F0", "&#240;"},
                                          {u"\u014B", "&#331;"},
                                          {u"\u0251", "&#593;"},
                                          {u"\u0251\u02D0", "&#593;&#720;"},
                                          {u"\u0254", "&#596;"},
                                          {u"\u0254i", "&#596;i"},
                                          {u"\u0254\u02D0", "&#596;&#720;"},
                                          {u"\u0259", "&#601;"},
                                          {u"\u0259u", "&#601;u"},
                                          {u"\u0259\u02D0", "&#601;&#720;"},
                                          {u"\u025B\u0259", "&#603;&#601;"},
                                          {u"\u0261", "&#609;"},
                                          {u"\u026A", "&#618;"},
                                          {u"\u0283", "&#643;"},
                                          {u"\u028C", "&#652;"},
                                          {u"\u0292", "&#658;"},
                                          {u"\u02C8", "&#712;"},
                                          {u"\u02CC", "&#716;"},
                                          {u"\u02D0", "&#720;"},
                                          {u"\u03B8", "&#952;"}};
    return table;
}

QString toNotationAlphabet(QStringView input)
{
    const QList<uint> codes = input.toUcs4();
    const std::u32string typed(codes.cbegin(), codes.cend());
    const std::u32string folded =
        notation::fold(typed, notation::AsciiLetters::AsTyped, [](char32_t) { return true; });
    return QString::fromUcs4(folded.data(), qsizetype(folded.size()));
}

bool isPhoneticSequence(QStringView input)
{
    return !input.isEmpty() &&
           walkTokens(input, [](const std::u16string &, const std::string &) {});
}

QByteArray phoneticToPattern(QStringView input)
{
    QByteArray pattern;
    const bool consumed =
        walkTokens(input, [&pattern](const std::u16string &, const std::string &stored) {
            pattern.append(stored.data(), qsizetype(stored.size()));
            pattern.append(".*");
        });
    return consumed ? pattern : QByteArray();
}

QByteArray learnerToPattern(QStringView input)
{
    // the letters learners type for the vowels they cannot reach, and what each stands
    // for; the ə a learner hears is as often the ʌ of cup
    static const std::map<std::u16string, QByteArray> letters{{u"a", "(?:&#593;|&#230;)"},
                                                              {u"o", "(?:&#596;|o)"},
                                                              {u"e", "(?:e|&#603;)"},
                                                              {u"\u0259", "(?:&#601;|&#652;)"}};
    QByteArray pattern;
    const bool consumed =
        walkTokens(input, [&pattern](const std::u16string &key, const std::string &stored) {
            const auto letter = letters.find(key);
            if (letter != letters.end())
                pattern.append(letter->second);
            else
                pattern.append(stored.data(), qsizetype(stored.size()));
            pattern.append(".*");
        });
    return consumed ? pattern : QByteArray();
}

QString decodeEntities(const QString &stored)
{
    if (!stored.contains(QLatin1String("&#")))
        return stored;
    QString decoded = stored;
    for (const Symbol &symbol : symbols)
        decoded.replace(QLatin1String(symbol.stored), QChar(symbol.codePoint));
    return decoded;
}
