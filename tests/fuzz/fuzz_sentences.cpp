// A transcript's text (UTF-8) to sentences and the words a recogniser listens for in them:
// sentences lie in order within the text, each shows the stretch it comes from, and every
// word is lower case, made of letters and apostrophes, and read from within its text.
#include "text/spokenwords.h"
#include "text/transcript.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void requireWords(const QString &text)
{
    for (const SpokenWord &w : spokenWords(text)) {
        if (w.word.isEmpty() || w.word != w.word.toLower() || w.source.start < 0 ||
            w.source.length <= 0 || w.source.end() > text.size())
            abort();
        for (const char32_t c : w.word.toUcs4()) {
            if (c != U'\'' && !QChar::isLetter(c))
                abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qsizetype previousEnd = 0;
    for (const TranscriptSentence &s : splitTranscript(text)) {
        if (s.start < previousEnd || s.end <= s.start || s.end > text.size() ||
            text.sliced(s.start, s.end - s.start).simplified() != s.text)
            abort();
        previousEnd = s.end;
        requireWords(s.spoken);
    }
    requireWords(text);
    return 0;
}
