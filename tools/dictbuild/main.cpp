// Build-time tool: generates the enciphered English dictionary "words.db" of the phonetic
// lookup from WordNet (words, parts of speech, glosses, irregular forms), the en_US
// spelling dictionary (which regular inflections exist), the speech synthesizer's
// British RP voice (pronunciations), and a list of the most common English words, which
// WordNet lacks in part (function words), explained from the public-domain dictionary.
//
//   dictbuild <wordnet folder> <hunspell dictionary without .aff/.dic> <common words list>
//             <public-domain dictionary folder> <output file>
#include "gcide.h"
#include "notation.h"
#include "wordnet.h"

#include "dictcipher/dictcipher.h"
#include "phonetic/dictionarypassphrase.h"
#include "sqlite/statement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>

#include <espeak-ng/speak_lib.h>
#include <hunspell.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr char voiceName[] = "en-gb-x-rp";

using wordnet::Pos;

// How an explanation names the base of an inflected form.
constexpr QLatin1String pluralOf("plural of");
constexpr QLatin1String thirdPersonOf("third person singular of");
constexpr QLatin1String pastOf("past tense and past participle of");
constexpr QLatin1String participleOf("present participle of");

// An entry points at the base forms it inflects; the base's senses are copied in when
// the explanation is written, restricted to the parts of speech the form belongs to.
struct Inflection
{
    QString label; // "plural of"
    QString base;  // the base lemma's key
    QList<Pos> parts;

    bool operator==(const Inflection &) const = default;
};

struct Entry
{
    QString caption;
    const wordnet::Lemma *lemma = nullptr; // null for a form that is only an inflection
    QList<Inflection> inflections;
    QStringList added; // a common word's explanation WordNet lacks, shown first
};

// A line of the common words list: a word, or a word with its explanation when it is the
// form of another ("don't = short for do not").
struct CommonWord
{
    QString caption;
    QString explanation; // empty: the public-domain dictionary explains the word
    bool weak = false;   // "from ~": also stored as it sounds unstressed
};

// How many senses of the public-domain dictionary explain an added word.
constexpr int addedSenses = 2;

void fail(const QString &message)
{
    std::fprintf(stderr, "dictbuild: %s\n", qPrintable(message));
    std::exit(1);
}

bool hasPart(const wordnet::Lemma &lemma, Pos pos)
{
    return std::any_of(lemma.senses.cbegin(), lemma.senses.cend(),
                       [pos](const wordnet::Sense &s) { return s.pos == pos; });
}

bool endsWithConsonantY(const QString &w)
{
    return w.size() > 1 && w.endsWith(QLatin1Char('y')) &&
           !QStringLiteral("aeiou").contains(w.at(w.size() - 2));
}

// The regular -s, -ed and -ing spellings; the spelling dictionary decides which exist.
QString sForm(const QString &w)
{
    if (endsWithConsonantY(w))
        return w.chopped(1) + QStringLiteral("ies");
    for (const char *ending : {"s", "x", "z", "ch", "sh"}) {
        if (w.endsWith(QLatin1String(ending)))
            return w + QStringLiteral("es");
    }
    return w + QLatin1Char('s');
}

QString edForm(const QString &w)
{
    if (w.endsWith(QLatin1Char('e')))
        return w + QLatin1Char('d');
    if (endsWithConsonantY(w))
        return w.chopped(1) + QStringLiteral("ied");
    return w + QStringLiteral("ed");
}

QString ingForm(const QString &w)
{
    if (w.endsWith(QStringLiteral("ie")))
        return w.chopped(2) + QStringLiteral("ying");
    if (w.size() > 2 && w.endsWith(QLatin1Char('e')) && !w.endsWith(QStringLiteral("ee")) &&
        !w.endsWith(QStringLiteral("oe")) && !w.endsWith(QStringLiteral("ye")))
        return w.chopped(1) + QStringLiteral("ing");
    return w + QStringLiteral("ing");
}

QString exceptionLabel(const wordnet::Exception &e)
{
    const QString &f = e.form;
    switch (e.pos) {
    case Pos::Noun:
        return pluralOf;
    case Pos::Verb:
        if (f == QLatin1String("was") || f == QLatin1String("were"))
            return QStringLiteral("past tense of");
        if (f == QLatin1String("am") || f == QLatin1String("are"))
            return QStringLiteral("present tense of");
        if (f.endsWith(QStringLiteral("ing")))
            return participleOf;
        if (f.endsWith(QStringLiteral("ed")))
            return pastOf;
        if (f.endsWith(QLatin1Char('s')))
            return thirdPersonOf;
        return QStringLiteral("past tense or past participle of");
    case Pos::Adjective:
    case Pos::Adverb:
        if (f.endsWith(QStringLiteral("est")))
            return QStringLiteral("superlative of");
        if (f.endsWith(QStringLiteral("er")))
            return QStringLiteral("comparative of");
        return QStringLiteral("comparative or superlative of");
    }
    return {};
}

// The en_US spelling dictionary, asked whether a form exists as an inflection of a base.
class Speller
{
public:
    explicit Speller(const QString &prefix)
        : handle_(Hunspell_create(QFile::encodeName(prefix + QStringLiteral(".aff")).constData(),
                                  QFile::encodeName(prefix + QStringLiteral(".dic")).constData()))
    {}
    ~Speller() { Hunspell_destroy(handle_); }
    Speller(const Speller &) = delete;
    Speller &operator=(const Speller &) = delete;

    bool spells(const QString &form) const
    {
        return Hunspell_spell(handle_, form.toUtf8().constData());
    }

    // True when form is a correct word whose stems include base: "exampling" of "example".
    bool inflects(const QString &form, const QString &base) const
    {
        const QByteArray word = form.toUtf8();
        if (!Hunspell_spell(handle_, word.constData()))
            return false;
        char **stems = nullptr;
        const int count = Hunspell_stem(handle_, &stems, word.constData());
        bool found = false;
        for (int i = 0; i < count; ++i)
            found = found || QString::fromUtf8(stems[i]) == base;
        Hunspell_free_list(handle_, &stems, count);
        return found;
    }

private:
    Hunhandle *handle_;
};

QMap<QString, Entry> collectEntries(const wordnet::Database &db, const Speller &speller)
{
    QMap<QString, Entry> entries;
    for (auto it = db.lemmas.cbegin(); it != db.lemmas.cend(); ++it) {
        Entry &entry = entries[it->caption];
        entry.caption = it->caption;
        entry.lemma = &*it;
    }
    auto addInflection = [&](const QString &form, const Inflection &inflection) {
        Entry &entry = entries[form];
        entry.caption = form;
        if (!entry.inflections.contains(inflection))
            entry.inflections.append(inflection);
    };

    for (const wordnet::Exception &e : db.exceptions) {
        const auto base = db.lemmas.constFind(e.base);
        if (base == db.lemmas.cend())
            continue;
        QList<Pos> parts;
        if (hasPart(*base, e.pos))
            parts.append(e.pos);
        addInflection(e.form, {exceptionLabel(e), e.base, parts});
    }

    // Regular forms. A verb's -s, -ed and -ing forms need only be correct words, unless
    // WordNet lists an irregular one of the kind ("stopped", not "stoped"). A noun's plural,
    // and the -ed and -ing forms the spelling dictionary gives some nouns ("exampling"),
    // must also have the noun among their stems; and a verb's claim on a spelling wins over
    // a noun's ("cared" is care's, not car's).
    QSet<QString> irregularEd, irregularIng;
    for (const wordnet::Exception &e : db.exceptions) {
        if (e.pos == Pos::Verb && e.form.endsWith(QStringLiteral("ed")))
            irregularEd.insert(e.base);
        if (e.pos == Pos::Verb && e.form.endsWith(QStringLiteral("ing")))
            irregularIng.insert(e.base);
    }
    QSet<QString> verbForms;
    QList<std::pair<QString, Inflection>> nounOnlyForms;
    for (auto it = db.lemmas.cbegin(); it != db.lemmas.cend(); ++it) {
        const QString &base = it.key();
        const bool noun = hasPart(*it, Pos::Noun);
        const bool verb = hasPart(*it, Pos::Verb);
        // Names keep their capital letter and take no regular endings here.
        if ((!noun && !verb) || it->caption != base)
            continue;
        const QString s = sForm(base);
        if (noun && speller.inflects(s, base))
            addInflection(s, {pluralOf, base, {Pos::Noun}});
        if (verb) {
            if (speller.spells(s))
                addInflection(s, {thirdPersonOf, base, {Pos::Verb}});
            if (const QString ed = edForm(base);
                !irregularEd.contains(base) && speller.spells(ed)) {
                addInflection(ed, {pastOf, base, {Pos::Verb}});
                verbForms.insert(ed);
            }
            if (const QString ing = ingForm(base);
                !irregularIng.contains(base) && speller.spells(ing)) {
                addInflection(ing, {participleOf, base, {Pos::Verb}});
                verbForms.insert(ing);
            }
        } else {
            for (const auto &[form, label] :
                 {std::pair{edForm(base), pastOf}, std::pair{ingForm(base), participleOf}}) {
                if (speller.inflects(form, base))
                    nounOnlyForms.append({form, Inflection{label, base, {}}});
            }
        }
    }
    for (const wordnet::Exception &e : db.exceptions)
        verbForms.insert(e.form);
    for (const auto &[form, inflection] : std::as_const(nounOnlyForms)) {
        if (!verbForms.contains(form))
            addInflection(form, inflection);
    }
    return entries;
}

// "n. gloss" for each sense, restricted to parts (all senses when parts is empty).
QStringList senseLines(const wordnet::Lemma &lemma, const QList<Pos> &parts)
{
    QStringList lines;
    for (const wordnet::Sense &sense : lemma.senses) {
        if (parts.isEmpty() || parts.contains(sense.pos))
            lines.append(wordnet::posLabel(sense.pos) + QLatin1Char(' ') + sense.gloss);
    }
    return lines;
}

QString explanation(const Entry &entry, const wordnet::Database &db)
{
    QStringList lines;
    if (entry.lemma)
        lines = senseLines(*entry.lemma, {});
    for (const Inflection &inflection : entry.inflections) {
        const wordnet::Lemma &base = db.lemmas[inflection.base];
        lines.append(inflection.label + QLatin1Char(' ') + base.caption);
        lines.append(senseLines(base, inflection.parts));
    }
    return (entry.added + lines).join(QStringLiteral("<br/>"));
}

// The common words list, in its order: one a line, '#' starts a comment.
QList<CommonWord> readCommonWords(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(path + QStringLiteral(": ") + file.errorString());
    QList<CommonWord> words;
    QSet<QString> seen;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const qsizetype comment = raw.indexOf('#');
        const QString line = QString::fromUtf8(comment < 0 ? raw : raw.left(comment)).trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        QString caption = equals < 0 ? line : line.left(equals).trimmed();
        const bool weak = caption.endsWith(QLatin1Char('~'));
        if (weak)
            caption = caption.chopped(1).trimmed();
        const CommonWord word{caption, equals < 0 ? QString() : line.mid(equals + 1).trimmed(),
                              weak};
        if (seen.contains(word.caption))
            fail(QStringLiteral("%1: %2 is listed twice").arg(path, word.caption));
        seen.insert(word.caption);
        words.append(word);
    }
    return words;
}

// Adds the common words the entries lack, explained by the list or by the public-domain
// dictionary; a word neither explains is left out and named in *skipped. An entry the
// list explains too ("does", also the plural of doe) takes that explanation first.
// Returns how many were added.
int addCommonWords(const QList<CommonWord> &words, const gcide::Dictionary &gcide,
                   QMap<QString, Entry> *entries, QStringList *skipped)
{
    int added = 0;
    for (const CommonWord &word : words) {
        if (const auto present = entries->find(word.caption); present != entries->end()) {
            if (!word.explanation.isEmpty())
                present->added.append(word.explanation);
            continue;
        }
        const QStringList lines = word.explanation.isEmpty()
                                      ? gcide.senses(word.caption, addedSenses)
                                      : QStringList{word.explanation};
        if (lines.isEmpty()) {
            skipped->append(word.caption);
            continue;
        }
        entries->insert(word.caption, Entry{word.caption, nullptr, {}, lines});
        ++added;
    }
    return added;
}

// The synthesizer's IPA for one written word.
QString synthesize(const QString &caption)
{
    const QByteArray text = caption.toUtf8();
    const void *position = text.constData();
    QString ipa;
    while (position) {
        if (const char *phonemes =
                espeak_TextToPhonemes(&position, espeakCHARS_UTF8, espeakPHONEMES_IPA))
            ipa += QString::fromUtf8(phonemes);
    }
    return ipa;
}

struct CloseDb
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};

void exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("%1: %2").arg(QString::fromUtf8(sql),
                                          QString::fromUtf8(sqlite3_errmsg(db))));
}

struct Row
{
    QByteArray caption, phonetic, explain;
    int frequency; // how common the word is; 0 when unknown
};

// Writes the rows into a new enciphered database at path. Nothing reads the file before
// the build renames it into place, so it is written without a journal.
void writeDatabase(const QString &path, const QList<Row> &rows)
{
    QFile::remove(path);
    sqlite3 *raw = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, dictcipher::vfsName());
    const std::unique_ptr<sqlite3, CloseDb> db(raw);
    if (rc != SQLITE_OK || dictcipher::key(db.get(), dictionaryPassPhrase,
                                           int(sizeof dictionaryPassPhrase - 1)) != SQLITE_OK)
        fail(QStringLiteral("cannot create %1").arg(path));
    exec(db.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                   "CREATE TABLE dict_word(w_caption TEXT NOT NULL, w_phonetic TEXT NOT NULL,"
                   " w_explain TEXT NOT NULL); BEGIN");
    const sqlite::Statement insert =
        sqlite::prepare(db.get(), "INSERT INTO dict_word VALUES(?, ?, ?)");
    if (!insert)
        fail(QString::fromUtf8(sqlite3_errmsg(db.get())));
    // How common each word is, in a table of its own beside the entries: the lookup ranks
    // equally good matches by it.
    exec(db.get(), "CREATE TABLE dict_word_frequency(w_caption TEXT PRIMARY KEY,"
                   " w_count INTEGER NOT NULL)");
    const sqlite::Statement insertCount =
        sqlite::prepare(db.get(), "INSERT OR IGNORE INTO dict_word_frequency VALUES(?, ?)");
    if (!insertCount)
        fail(QString::fromUtf8(sqlite3_errmsg(db.get())));
    for (const Row &row : rows) {
        if (row.frequency > 0) {
            sqlite3_bind_text(insertCount.get(), 1, row.caption.constData(),
                              int(row.caption.size()), SQLITE_STATIC);
            sqlite3_bind_int(insertCount.get(), 2, row.frequency);
            if (sqlite3_step(insertCount.get()) != SQLITE_DONE ||
                sqlite3_reset(insertCount.get()) != SQLITE_OK)
                fail(QString::fromUtf8(sqlite3_errmsg(db.get())));
        }
        sqlite3_bind_text(insert.get(), 1, row.caption.constData(), int(row.caption.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 2, row.phonetic.constData(), int(row.phonetic.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert.get(), 3, row.explain.constData(), int(row.explain.size()),
                          SQLITE_STATIC);
        if (sqlite3_step(insert.get()) != SQLITE_DONE || sqlite3_reset(insert.get()) != SQLITE_OK)
            fail(QString::fromUtf8(sqlite3_errmsg(db.get())));
    }
    // One index serves the exact lookup by caption. The other holds every caption with its
    // pronunciation: the lookup reads all of them from its few megabytes, once, instead of
    // the whole table with its explanations.
    exec(db.get(),
         "CREATE INDEX dict_word_caption ON dict_word(w_caption);"
         "CREATE INDEX dict_word_phonetic ON dict_word(length(w_phonetic), w_phonetic, w_caption);"
         "COMMIT");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: dictbuild <wordnet folder> <hunspell dictionary> <common "
                             "words list> <public-domain dictionary folder> <output file>\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const QString output = QFile::decodeName(argv[5]);

    wordnet::Database db;
    QString error;
    if (!wordnet::load(QFile::decodeName(argv[1]), &db, &error))
        fail(error);
    const Speller speller(QFile::decodeName(argv[2]));
    QMap<QString, Entry> entries = collectEntries(db, speller);

    const QList<CommonWord> common = readCommonWords(QFile::decodeName(argv[3]));
    gcide::Dictionary gcide;
    if (!gcide.load(QFile::decodeName(argv[4]), &error))
        fail(error);
    QStringList skipped;
    const int added = addCommonWords(common, gcide, &entries, &skipped);
    // The common words rank above every word WordNet counts, in the list's order: how
    // often the concordance tagged a word's senses says little about function words,
    // which it does not tag.
    int mostTagged = 0;
    for (const int count : std::as_const(db.tagCounts))
        mostTagged = std::max(mostTagged, count);
    QHash<QString, int> commonCount;
    QSet<QString> weak;
    for (qsizetype i = 0; i < common.size(); ++i) {
        commonCount.insert(common[i].caption, mostTagged + int(common.size() - i));
        if (common[i].weak)
            weak.insert(common[i].caption);
    }

    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0)
        fail(QStringLiteral("the speech synthesizer's data cannot be loaded"));
    if (espeak_SetVoiceByName(voiceName) != EE_OK)
        fail(
            QStringLiteral("the speech synthesizer has no voice %1").arg(QLatin1String(voiceName)));

    QList<Row> rows;
    rows.reserve(entries.size());
    QSet<char32_t> dropped;
    int inflectedOnly = 0;
    int weakForms = 0;
    for (const Entry &entry : entries) {
        const QString ipa = synthesize(entry.caption);
        const int frequency =
            std::max(db.tagCounts.value(entry.caption.toLower()), commonCount.value(entry.caption));
        rows.append({entry.caption.toUtf8(), notation::fromIpa(ipa, &dropped),
                     explanation(entry, db).toUtf8(), frequency});
        inflectedOnly += !entry.lemma && !entry.inflections.isEmpty() ? 1 : 0;
        // the weak form in a row of its own, unless the synthesizer already says it weak
        // ("the" ðə)
        if (!weak.contains(entry.caption))
            continue;
        const QByteArray weakForm = notation::fromIpa(notation::weakForm(ipa));
        const QByteArray unstressed =
            notation::fromIpa(QString(ipa).remove(QChar(u'ˈ')).remove(QChar(u'ˌ')));
        if (!weakForm.isEmpty() && weakForm != unstressed) {
            rows.append({entry.caption.toUtf8(), weakForm,
                         QStringLiteral("weak form of %1, as it mostly sounds in a sentence")
                             .arg(entry.caption)
                             .toUtf8(),
                         frequency});
            ++weakForms;
        }
    }
    espeak_Terminate();
    const QString temporary = output + QStringLiteral(".part");
    writeDatabase(temporary, rows);
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(output).constData()) != 0)
        fail(QStringLiteral("cannot rename %1 to %2").arg(temporary, output));

    for (const char32_t symbol : std::as_const(dropped))
        std::fprintf(stderr, "dictbuild: warning: left out the symbol U+%04X\n", uint(symbol));
    std::printf("dictbuild: %lld entries (%d inflected forms only, %d common words added, %d "
                "weak forms) in %.1f s\n",
                qlonglong(rows.size()), inflectedOnly, added, weakForms,
                double(timer.elapsed()) / 1000.0);
    if (!skipped.isEmpty())
        std::printf("dictbuild: common words without an explanation, left out: %s\n",
                    qPrintable(skipped.join(QStringLiteral(", "))));
    return 0;
}
