// The translation of a typed pronunciation (the bytes as UTF-8) into the dictionary's
// notation and the REGEXP pattern of a search: the pattern exists exactly for a phonetic
// sequence and always compiles as the store compiles it; decoding the stored notation
// back must not fail on any text.
#include "phonetic/phonetictokens.h"

#include <QString>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString folded = toNotationAlphabet(typed);
    const QByteArray pattern = phoneticToPattern(folded);
    if (pattern.isEmpty() == isPhoneticSequence(folded))
        abort();
    if (!pattern.isEmpty()) {
        int error = 0;
        PCRE2_SIZE offset = 0;
        pcre2_code *code = pcre2_compile(
            reinterpret_cast<PCRE2_SPTR>(pattern.constData()), PCRE2_SIZE(pattern.size()),
            PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP, &error, &offset, nullptr);
        if (!code)
            abort();
        pcre2_code_free(code);
    }
    decodeEntities(typed);
    return 0;
}
