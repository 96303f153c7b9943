#include "wordnet.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace wordnet {

namespace {

struct Synset
{
    QStringList words;
    QString gloss;
};

struct PosFiles
{
    Pos pos;
    const char *name; // the suffix of data.<name>, index.<name>, <name>.exc
};

constexpr PosFiles posFiles[] = {
    {Pos::Noun, "noun"}, {Pos::Verb, "verb"}, {Pos::Adjective, "adj"}, {Pos::Adverb, "adv"}};

// A word a learner would hear and type as one word: letters, with inner hyphens or
// apostrophes ("well-known", "e'en"). Leaves out phrases, numbers and abbreviations.
bool isSingleWord(const QString &word)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z](?:[A-Za-z'-]*[A-Za-z])?$"));
    return pattern.match(word).hasMatch();
}

bool readLines(const QString &path, QList<QByteArray> *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    *lines = file.readAll().split('\n');
    return true;
}

// data.<pos>: "offset lex_filenum ss_type w_cnt word lex_id [word lex_id...] ... | gloss".
// Lines that begin with blanks are the licence header.
bool readSynsets(const QString &path, QHash<QByteArray, Synset> *synsets, QString *error)
{
    QList<QByteArray> lines;
    if (!readLines(path, &lines, error))
        return false;
    for (const QByteArray &line : std::as_const(lines)) {
        if (line.isEmpty() || line.startsWith(' '))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        bool ok = false;
        const int wordCount = fields.size() > 3 ? fields[3].toInt(&ok, 16) : 0;
        const qsizetype bar = line.indexOf(" | ");
        if (!ok || fields.size() < 4 + 2 * wordCount || bar < 0) {
            *error = path + QStringLiteral(": malformed line at offset ") +
                     QString::fromLatin1(fields[0]);
            return false;
        }
        Synset synset;
        for (int k = 0; k < wordCount; ++k) {
            QString word = QString::fromUtf8(fields[4 + 2 * k]);
            // Adjectives may carry a syntactic marker: "galore(ip)".
            if (const qsizetype paren = word.indexOf(QLatin1Char('(')); paren > 0)
                word.truncate(paren);
            synset.words.append(word);
        }
        synset.gloss = QString::fromUtf8(line.mid(bar + 3)).trimmed();
        synsets->insert(fields[0], synset);
    }
    return true;
}

} // namespace

QString posLabel(Pos pos)
{
    switch (pos) {
    case Pos::Noun:
        return QStringLiteral("n.");
    case Pos::Verb:
        return QStringLiteral("v.");
    case Pos::Adjective:
        return QStringLiteral("adj.");
    case Pos::Adverb:
        return QStringLiteral("adv.");
    }
    return {};
}

bool load(const QString &dir, Database *db, QString *error)
{
    const QDir folder(dir);
    // Sense order and captions are settled per lemma, so the synsets each index line
    // names are kept for the caption choice below.
    QHash<QString, QList<const Synset *>> lemmaSynsets;
    QList<QHash<QByteArray, Synset>> synsetsByPos(std::size(posFiles));
    for (std::size_t p = 0; p < std::size(posFiles); ++p) {
        const QString name = QString::fromLatin1(posFiles[p].name);
        QHash<QByteArray, Synset> &synsets = synsetsByPos[qsizetype(p)];
        if (!readSynsets(folder.filePath(QStringLiteral("data.") + name), &synsets, error))
            return false;

        // index.<pos>: "lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offset..."
        // with the synset offsets last, most frequent sense first.
        QList<QByteArray> lines;
        if (!readLines(folder.filePath(QStringLiteral("index.") + name), &lines, error))
            return false;
        for (const QByteArray &line : std::as_const(lines)) {
            if (line.isEmpty() || line.startsWith(' '))
                continue;
            const QList<QByteArray> fields = line.trimmed().split(' ');
            const QString lemma = QString::fromUtf8(fields[0]);
            if (fields.size() < 3 || !isSingleWord(lemma))
                continue;
            const int synsetCount = fields[2].toInt();
            if (synsetCount <= 0 || fields.size() < 3 + synsetCount)
                continue;
            Lemma &entry = db->lemmas[lemma];
            for (qsizetype k = fields.size() - synsetCount; k < fields.size(); ++k) {
                const auto found = synsets.constFind(fields[k]);
                if (found == synsets.constEnd()) {
                    *error = QStringLiteral("index.%1: %2 names the missing synset %3")
                                 .arg(name, lemma, QString::fromLatin1(fields[k]));
                    return false;
                }
                entry.senses.append({posFiles[p].pos, found->gloss});
                lemmaSynsets[lemma].append(&*found);
            }
        }

        QList<QByteArray> exceptionLines;
        if (!readLines(folder.filePath(name + QStringLiteral(".exc")), &exceptionLines, error))
            return false;
        for (const QByteArray &line : std::as_const(exceptionLines)) {
            const QList<QByteArray> fields = line.trimmed().split(' ');
            const QString form = QString::fromUtf8(fields[0]);
            if (fields.size() < 2 || !isSingleWord(form))
                continue;
            for (qsizetype k = 1; k < fields.size(); ++k) {
                const QString base = QString::fromUtf8(fields[k]);
                if (base != form && isSingleWord(base))
                    db->exceptions.append({posFiles[p].pos, form, base});
            }
        }
    }

    for (auto it = db->lemmas.begin(); it != db->lemmas.end(); ++it) {
        const QString &lemma = it.key();
        QString caption;
        for (const Synset *synset : std::as_const(lemmaSynsets[lemma])) {
            for (const QString &word : synset->words) {
                if (word == lemma) {
                    caption = lemma;
                    break;
                }
                if (caption.isEmpty() && word.compare(lemma, Qt::CaseInsensitive) == 0)
                    caption = word;
            }
            if (caption == lemma)
                break;
        }
        it->caption = caption.isEmpty() ? lemma : caption;
    }

    // cntlist.rev: "sense_key sense_number tag_cnt", the sense key "lemma%..." with the
    // words of a collocation joined by '_'
    QList<QByteArray> countLines;
    if (!readLines(folder.filePath(QStringLiteral("cntlist.rev")), &countLines, error))
        return false;
    for (const QByteArray &line : std::as_const(countLines)) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        const qsizetype percent = fields[0].indexOf('%');
        if (fields.size() < 3 || percent <= 0)
            continue;
        const QString lemma = QString::fromUtf8(fields[0].left(percent));
        if (isSingleWord(lemma))
            db->tagCounts[lemma] += fields[2].toInt();
    }
    return true;
}

} // namespace wordnet
