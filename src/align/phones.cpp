#include "align/phones.h"

#include "speech/synthesizer.h"

#include <QStringList>

namespace align {

namespace {

struct PhoneSign
{
    const char16_t *ipa;
    const char *phone;
};

// Longer signs first, so a diphthong or an affricate is read before its first letter. The
// American voice writes the r-coloured and syllabic sounds the recogniser spells as plain
// phones: "ɚ" is ER, "n̩" is N, a flap is heard as T.
constexpr PhoneSign signs[] = {
    {u"tʃ", "CH"}, {u"dʒ", "JH"}, {u"eɪ", "EY"}, {u"aɪ", "AY"}, {u"aʊ", "AW"}, {u"ɔɪ", "OY"},
    {u"oʊ", "OW"}, {u"əʊ", "OW"}, {u"p", "P"},   {u"b", "B"},   {u"t", "T"},   {u"d", "D"},
    {u"k", "K"},   {u"ɡ", "G"},   {u"g", "G"},   {u"f", "F"},   {u"v", "V"},   {u"θ", "TH"},
    {u"ð", "DH"},  {u"s", "S"},   {u"z", "Z"},   {u"ʃ", "SH"},  {u"ʒ", "ZH"},  {u"h", "HH"},
    {u"m", "M"},   {u"n", "N"},   {u"ŋ", "NG"},  {u"l", "L"},   {u"ɹ", "R"},   {u"r", "R"},
    {u"w", "W"},   {u"j", "Y"},   {u"ɾ", "T"},   {u"ʔ", "T"},   {u"i", "IY"},  {u"ɪ", "IH"},
    {u"ᵻ", "IH"},  {u"e", "EH"},  {u"ɛ", "EH"},  {u"æ", "AE"},  {u"a", "AE"},  {u"ɑ", "AA"},
    {u"ɒ", "AA"},  {u"ɔ", "AO"},  {u"o", "AO"},  {u"ʊ", "UH"},  {u"u", "UW"},  {u"ʌ", "AH"},
    {u"ə", "AH"},  {u"ɐ", "AH"},  {u"ɚ", "ER"},  {u"ɜ", "ER"},
};

// Signs that carry no phone of their own: stress, length, the syllabic mark, linking.
bool isMark(QChar c)
{
    return c == u'ˈ' || c == u'ˌ' || c == u'ː' || c == u'\u0329' || c == u'‿' || c == u'-' ||
           c.isSpace();
}

} // namespace

QString recogniserPhones(QStringView ipa)
{
    QStringList phones;
    qsizetype i = 0;
    while (i < ipa.size()) {
        if (isMark(ipa[i])) {
            ++i;
            continue;
        }
        const PhoneSign *found = nullptr;
        for (const PhoneSign &sign : signs) {
            if (ipa.mid(i).startsWith(QStringView(sign.ipa))) {
                found = &sign;
                break;
            }
        }
        if (!found)
            return {};
        const QString phone = QString::fromLatin1(found->phone);
        // the r of an r-coloured vowel is the vowel's own
        if (!(phone == u"R" && !phones.isEmpty() && phones.last() == u"ER"))
            phones.append(phone);
        i += QStringView(found->ipa).size();
    }
    return phones.join(u' ');
}

QString synthesizedPhones(const QString &word)
{
    return recogniserPhones(speech::wordInIpa(word, speech::Voice::American));
}

} // namespace align
