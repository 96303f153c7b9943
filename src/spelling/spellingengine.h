#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>

struct Hunhandle;
class QTextCodec;

// Spell test, suggestions and run-time word additions over one Hunspell dictionary pair,
// plus the user's own word list file, read at construction and appended to. Owns its
// Hunspell instance; words cross to Hunspell in the dictionary's declared encoding.
// User-interface thread only (nothing is locked).
class SpellingEngine final
{
public:
    // The program's English pairs, American (the default) and British.
    static inline const QString American = QStringLiteral("en_US");
    static inline const QString British = QStringLiteral("en_GB");
    // The dictionary base of the program's pair for language (American or British).
    static QString programDictionary(const QString &language);

    // dictionaryBase + ".aff"/".dic" is the pair; an empty userDictionary means none.
    SpellingEngine(const QString &dictionaryBase, const QString &userDictionary);
    ~SpellingEngine();
    SpellingEngine(const SpellingEngine &) = delete;
    SpellingEngine &operator=(const SpellingEngine &) = delete;

    bool isCorrect(QStringView word) const;
    QStringList suggestionsFor(QStringView word) const;
    // Known to this engine until it is destroyed; nothing is written.
    void acceptForSession(QStringView word);
    // Accepted for the session and appended as one line to the user dictionary file. A
    // blank word, or one holding a line break, is refused: the file could not give it back.
    void addToUserDictionary(const QString &word);

    // The character set in effect for words crossing to Hunspell.
    QString encoding() const { return encoding_; }

private:
    QByteArray toDictionary(QStringView word) const;
    void loadUserDictionary();

    struct HunspellDeleter
    {
        void operator()(Hunhandle *h) const;
    };
    std::unique_ptr<Hunhandle, HunspellDeleter> hunspell;
    QString userDictionaryPath;
    QString encoding_;
    // Owned by the toolkit's codec registry.
    QTextCodec *codec = nullptr;
};
