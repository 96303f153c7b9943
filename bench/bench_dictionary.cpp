// Searches of the lookup dialog over the generated dictionary: opening the store (key
// derivation included), and limited phonetic and caption searches, as made while typing,
// for twenty typical learner inputs (one token, several, long, no match). Run from the
// run tree.
#include "benchsupport.h"

#include "phonetic/phoneticdictionary.h"

#include <QElapsedTimer>

#include <functional>

namespace {

constexpr int repeats = 15;

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void measure(const char *kind, const QStringList &inputs,
             const std::function<void(const QString &)> &search, const PhoneticDictionary &store)
{
    double worstMedian = 0;
    double worst = 0;
    for (const QString &input : inputs) {
        std::vector<double> times;
        for (int i = 0; i < repeats; ++i)
            times.push_back(milliseconds([&] { search(input); }));
        const bench::Summary s = bench::summarize(times);
        bench::print(kind, s.median, "ms",
                     QStringLiteral("\"input\": \"%1\", \"max\": %2, \"rows\": %3")
                         .arg(input)
                         .arg(s.max, 0, 'f', 3)
                         .arg(store.results().size()));
        worstMedian = std::max(worstMedian, s.median);
        worst = std::max(worst, s.max);
    }
    const QByteArray name(kind);
    bench::print((name + " worst median").constData(), worstMedian, "ms");
    bench::print((name + " worst").constData(), worst, "ms");
}

} // namespace

int main()
{
    std::vector<double> opens;
    for (int i = 0; i < 20; ++i)
        opens.push_back(milliseconds([] { PhoneticDictionary store; }));
    const bench::Summary open = bench::summarize(opens);
    bench::print("open store", open.median, "ms",
                 QStringLiteral("\"max\": %1").arg(open.max, 0, 'f', 3));

    PhoneticDictionary store;
    store.searchByCaption(".", 1);
    bench::print("entries", double(store.results().size()), "rows");

    const QStringList phonetic{QStringLiteral("k"),
                               QStringLiteral(u"θ"),
                               QStringLiteral(u"ʃ"),
                               QStringLiteral("ai"),
                               QStringLiteral(u"kæt"),
                               QStringLiteral(u"ʃip"),
                               QStringLiteral(u"θiŋk"),
                               QStringLiteral("lisn"),
                               QStringLiteral(u"igzɑ:mpl"),
                               QStringLiteral(u"'wɔ:tə"),
                               QStringLiteral(u"bju:tifl"),
                               QStringLiteral(u"dʒenərəl"),
                               QStringLiteral(u"kəmju:nikeiʃn"),
                               QStringLiteral(u"ɛəpɔ:t"),
                               QStringLiteral(u"ri'membə"),
                               QStringLiteral(u"ˌintə'neiʃənl"),
                               QStringLiteral(u"ʌndəstændiŋ"),
                               QStringLiteral(u"ʒʒʒ"),
                               QStringLiteral(u"θðθðθ"),
                               QStringLiteral(u"ŋŋŋŋmmmm")};
    measure(
        "phonetic search", phonetic,
        [&](const QString &input) { store.searchByPhonetic(input, PhoneticDictionary::Limited); },
        store);

    const QStringList captions{
        QStringLiteral("^exa"),        QStringLiteral("^a"),        QStringLiteral("tion$"),
        QStringLiteral("^listen"),     QStringLiteral("ough"),      QStringLiteral("^un.*able$"),
        QStringLiteral("^th"),         QStringLiteral("ph"),        QStringLiteral("^[bcd]o"),
        QStringLiteral("^wh"),         QStringLiteral("ness$"),     QStringLiteral("^re.*ed$"),
        QStringLiteral("q"),           QStringLiteral("^example$"), QStringLiteral("ology"),
        QStringLiteral("^[aeiou]{3}"), QStringLiteral("xyzzy"),     QStringLiteral("^zz"),
        QStringLiteral("qqq"),         QStringLiteral("^interna")};
    measure(
        "caption search", captions,
        [&](const QString &input) {
            store.searchByCaption(input.toUtf8(), PhoneticDictionary::Limited);
        },
        store);
    return 0;
}
