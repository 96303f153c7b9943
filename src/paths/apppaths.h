#pragma once

#include <QString>

// Every place the program reads its data from or writes the learner's files to. All of
// them hang off root(), the one function that decides where the data tree lies. Holds
// no state; any thread.
class AppPaths final
{
public:
    AppPaths() = delete;

    // The data tree: the working directory, written as "." so that the paths follow a
    // change of directory and read in messages as they always have.
    static QString root();
    // The folder of the executable, which holds the skin settings.
    static QString programDir();

    // The skin settings (frame colours, title font, opacity, frame template).
    static QString skinSettings();
    // An image of the player's artwork, by file name.
    static QString skinImage(const QString &name);
    // The folder of the editor's toolbar images.
    static QString editorImages();
    // The document the editor opens when the command line names none.
    static QString defaultDocument();
    static QString font();
    // The compiled translation for a locale name such as "zh_CN", without its suffix.
    static QString translation(const QString &localeName);
    // The base of a Hunspell pair such as "en_US": base + ".aff" and base + ".dic".
    static QString spellDictionary(const QString &pair);
    // The learner's own word list, one word per line, appended to.
    static QString userDictionary();
    // The enciphered word database of the lookup.
    static QString wordDatabase();
    // The learner's memory of the lessons, in the user's data folder.
    static QString lessonDatabase();
};
