#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the public-domain English dictionary in the dictd format (gcide.index and the
// dictzip-compressed gcide.dict.dz of one folder) and gives short explanations of its
// entries. Single-threaded, used once by the dictionary build.
namespace gcide {

class Dictionary
{
public:
    // Loads the index and the whole text. On failure returns false and says why in *error.
    bool load(const QString &dir, QString *error);

    // The first senses of the entries headed by word (any letter case), at most
    // maxSenses, each "label. text" in the dictionary's explanation style: markup,
    // citations and cross-references left out, obsolete and overlong senses skipped.
    // Empty when no entry has a usable sense.
    QStringList senses(const QString &word, int maxSenses) const;

private:
    struct Span
    {
        qint64 offset;
        qint64 length;
    };
    QHash<QString, QList<Span>> index_; // by lower-case headword, in text order
    QByteArray text_;
};

} // namespace gcide
