// Searches of the lookup dialog over the generated dictionary: opening the store (key
// derivation included), and limited phonetic and caption searches, as made while typing,
// for twenty typical learner inputs (one token, several, long, no match). Run from the
// run tree.
#include "benchsupport.h"

#include "phonetic/phoneticdictionary.h"

#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <iterator>

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

// Common words typed by ear, as learners hear them: reduced vowels heard as ə or i, o
// for ɔ, a for ɑ or æ, length marks left out or put in, function words as they sound in a
// sentence; each with the word meant.
struct ByEar
{
    const char16_t *typed;
    const char *meant;
};
constexpr ByEar byEar[] = {
    {u"wɔ:tə", "water"},
    {u"wo:tə", "water"},
    {u"kæt", "cat"},
    {u"kat", "cat"},
    {u"igza:mpl", "example"},
    {u"lisn", "listen"},
    {u"intrəstiŋ", "interesting"},
    {u"junivəsəti", "university"},
    {u"invairənmənt", "environment"},
    {u"tempərətʃə", "temperature"},
    {u"nesəsəri", "necessary"},
    {u"ju:ʒuəli", "usually"},
    {u"puə", "poor"},
    {u"bju:tifl", "beautiful"},
    {u"dʒenərəl", "general"},
    {u"kəmjunikeiʃn", "communication"},
    {u"rimembə", "remember"},
    {u"ʌndəstændiŋ", "understanding"},
    {u"fəutəgra:f", "photograph"},
    {u"kʌmpəni", "company"},
    {u"gavənmənt", "government"},
    {u"difrənt", "different"},
    {u"impo:tənt", "important"},
    {u"probləm", "problem"},
    {u"kwestʃən", "question"},
    {u"a:nsə", "answer"},
    {u"læŋgwidʒ", "language"},
    {u"leŋθ", "length"},
    {u"θo:t", "thought"},
    {u"weðə", "weather"},
    {u"bred", "bread"},
    {u"haus", "house"},
    {u"mauntin", "mountain"},
    {u"tʃildrən", "children"},
    {u"mʌni", "money"},
    {u"biznis", "business"},
    {u"wenzdei", "Wednesday"},
    {u"febjuəri", "February"},
    {u"o:təm", "autumn"},
    {u"nait", "night"},
    {u"ləukl", "local"},
    {u"mju:zik", "music"},
    {u"pi:pl", "people"},
    {u"do:tə", "daughter"},
    {u"sʌdnli", "suddenly"},
    {u"ækʃuəli", "actually"},
    {u"probəbli", "probably"},
    {u"kofi", "coffee"},
    {u"tʃoklət", "chocolate"},
    {u"vedʒtəbl", "vegetable"},
    {u"restront", "restaurant"},
    {u"kʌlə", "colour"},
    {u"trævl", "travel"},
    {u"fəget", "forget"},
    {u"disaid", "decide"},
    {u"ikspiəriəns", "experience"},
    {u"ðis", "this"},
    {u"bikoz", "because"},
    {u"ðə", "the"},
    {u"wud", "would"},
    {u"kud", "could"},
    {u"ðei", "they"},
    {u"frəm", "from"},
    {u"ʃud", "should"},
    {u"əv", "of"},
    {u"ənd", "and"},
    {u"wen", "when"},
};

// Where the word meant comes in the results of each typing, and how long the searches
// take: recall within the first 1, 10 and 100, and the median and slowest search.
void recallByEar(PhoneticDictionary &store)
{
    int at1 = 0;
    int at10 = 0;
    int at100 = 0;
    std::vector<double> times;
    QStringList missed;
    for (const ByEar &q : byEar) {
        const QString typed = QString::fromUtf16(q.typed);
        times.push_back(
            milliseconds([&] { store.searchByPhonetic(typed, PhoneticDictionary::Limited); }));
        const qsizetype rank = store.results().indexOf(QLatin1String(q.meant));
        at1 += rank == 0;
        at10 += rank >= 0 && rank < 10;
        at100 += rank >= 0 && rank < 100;
        if (rank < 0 || rank >= 10)
            missed << QStringLiteral("%1 %2 (%3)").arg(typed, QLatin1String(q.meant)).arg(rank);
    }
    const double n = double(std::size(byEar));
    const QString extra = QStringLiteral("\"queries\": %1").arg(std::size(byEar));
    bench::print("by ear recall at 1", at1 / n, "share", extra);
    bench::print("by ear recall at 10", at10 / n, "share", extra);
    bench::print("by ear recall at 100", at100 / n, "share", extra);
    const bench::Summary s = bench::summarize(times);
    bench::print(
        "by ear search", s.median, "ms",
        QStringLiteral("\"max\": %1, \"target\": \"median 20, max 60\"").arg(s.max, 0, 'f', 3));
    for (const QString &m : missed)
        std::fprintf(stderr, "not in the first ten: %s\n", qPrintable(m));
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
    // the first phonetic search reads the dictionary into memory
    const double firstSearch =
        milliseconds([&] { store.searchByPhonetic(QStringLiteral("a"), 0); });
    bench::print("first phonetic search", firstSearch, "ms");
    recallByEar(store);
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
