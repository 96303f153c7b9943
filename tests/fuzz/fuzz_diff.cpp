// The comparison of two texts as the comparison dialog makes it: the bytes, split at the
// first 0xFF (which no UTF-8 text holds), are decoded like imported files, compared,
// tidied and rendered. Every result must give back both texts. The word check of the second
// text against the first, whole or the stretch around its middle that matches best, must
// account for every reference word once.
#include "diff/diffengine.h"
#include "diff/diffrender.h"
#include "diff/wordcheck.h"
#include "text/plaintext.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// text1 from the kept and deleted pieces, text2 from the kept and inserted ones.
void requireBothTexts(const QList<DiffSegment> &segments, const QString &text1,
                      const QString &text2)
{
    QString one;
    QString two;
    for (const DiffSegment &s : segments) {
        if (s.operation != DiffOperation::Insert)
            one += s.text;
        if (s.operation != DiffOperation::Delete)
            two += s.text;
    }
    if (one != text1 || two != text2)
        abort();
}

// Every reference word is right, wrong, misspelt, missing or one of the one or two words of a
// spacing error; both accuracies lie between 0 and 1.
void requireEveryWordOnce(const WordCheck &check)
{
    const qsizetype spaced = check.referenceWords - check.correct - check.substitutions -
                             check.misspellings - check.deletions;
    if (spaced < check.spacing || spaced > 2 * check.spacing || check.accuracy() < 0 ||
        check.accuracy() > 1 || check.letterAccuracy() < 0 || check.letterAccuracy() > 1)
        abort();
    renderWordCheckHtml(check);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf('\xff');
    const QString text1 = decodePlainText(split < 0 ? bytes : bytes.left(split)) + QLatin1Char(' ');
    const QString text2 =
        decodePlainText(split < 0 ? QByteArray() : bytes.mid(split + 1)) + QLatin1Char(' ');

    const DiffEngine engine;
    QList<DiffSegment> segments = engine.diff_main(text1, text2);
    requireBothTexts(segments, text1, text2);
    DiffEngine::semanticCleanup(segments);
    requireBothTexts(segments, text1, text2);
    renderFirstTextHtml(segments);
    renderSecondTextHtml(segments);
    renderSuggestionHtml(segments);

    requireEveryWordOnce(checkWords(text1, text2));
    requireEveryWordOnce(checkBestStretch(text1, partAroundCursor(text2, text2.size() / 2, text1)));
    return 0;
}
