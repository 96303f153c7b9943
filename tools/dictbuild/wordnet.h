#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Reads the WordNet database files (data.*, index.*, *.exc) of one folder into memory.
// Single-threaded, used once by the dictionary build.
namespace wordnet {

enum class Pos
{
    Noun,
    Verb,
    Adjective,
    Adverb
};

struct Sense
{
    Pos pos;
    QString gloss;
};

struct Lemma
{
    // The written form: the lower-case index form, or the form the synsets use when
    // none of them writes it in lower case (names such as "Paris").
    QString caption;
    QList<Sense> senses; // in WordNet's sense order, nouns, then verbs, adjectives, adverbs
};

struct Exception
{
    Pos pos;
    QString form; // the irregular form, "children"
    QString base; // a base form, "child"
};

struct Database
{
    QMap<QString, Lemma> lemmas; // by lower-case lemma, single words only; sorted, so
                                 // every build writes the same dictionary
    QList<Exception> exceptions; // single words only, form != base
    // How often each lower-case lemma was tagged in the semantic concordance texts, all
    // its senses together (cntlist.rev): how common the word is in running English.
    QHash<QString, int> tagCounts;
};

// Loads the database from dir. On failure returns false and says why in *error.
bool load(const QString &dir, Database *db, QString *error);

// The abbreviation an explanation puts before a sense: "n.", "v.", "adj.", "adv.".
QString posLabel(Pos pos);

} // namespace wordnet
