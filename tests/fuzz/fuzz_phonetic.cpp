// The translation of a typed pronunciation (the bytes as UTF-8) into the dictionary's
// notation and the patterns of a search, the design's and the one that reads a learner's
// letters: each exists exactly for a phonetic sequence and always compiles as the store
// compiles it; the sounds and the near-match distance of any typing are defined; decoding
// the stored notation back must not fail on any text.
#include "phonetic/phonetictokens.h"
#include "phonetic/soundmatch.h"

#include <QString>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void mustCompile(const QByteArray &pattern)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.constData()), PCRE2_SIZE(pattern.size()),
                      PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP, &error, &offset, nullptr);
    if (!code)
        abort();
    pcre2_code_free(code);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString letters = sounds::readLearnerLetters(typed);
    const QByteArray learner = learnerToPattern(letters);
    if (learner.isEmpty() == isPhoneticSequence(letters))
        abort();
    if (!learner.isEmpty())
        mustCompile(learner);
    const std::u32string heard = sounds::soundsOf(sounds::readLearnerTyping(typed));
    if (!(sounds::distance(heard, sounds::soundsOfStored("r&#618;k&#596;&#720;d")) >= 0))
        abort();
    const QString folded = toNotationAlphabet(typed);
    const QByteArray pattern = phoneticToPattern(folded);
    if (pattern.isEmpty() == isPhoneticSequence(folded))
        abort();
    if (!pattern.isEmpty())
        mustCompile(pattern);
    decodeEntities(typed);
    return 0;
}
