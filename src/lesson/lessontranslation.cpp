#include "lesson/lessontranslation.h"

#include "lesson/lessoncontroller.h"
#include "lesson/translation.h"

namespace lesson {

LessonTranslation::LessonTranslation(LessonController &lesson, QObject *parent)
    : QObject(parent), lesson_(lesson)
{
    connect(&lesson, &LessonController::sentencesChanged, this,
            &LessonTranslation::followSentences);
    connect(&lesson, &LessonController::lessonClosing, this, [this] {
        file_.clear();
        chosen = false;
        cues.clear();
        texts.clear();
        emit changed();
    });
}

void LessonTranslation::load(const QString &file)
{
    if (!lesson_.isOpen() || !read(file))
        return;
    chosen = true;
    texts = translationsOf(lesson_.sentences().items, cues);
    emit changed();
}

bool LessonTranslation::read(const QString &file)
{
    QString why;
    const std::optional<Sentences> read = readSubtitleFile(file, lesson_.startSeconds(), &why);
    if (read && read->items.empty())
        why = read->notes.join(u'\n');
    if (!read || read->items.empty()) {
        // the lesson's own error line: the learner reads it where the player's errors appear
        emit lesson_.error(tr("The translation could not be loaded. %1").arg(why));
        return false;
    }
    file_ = file;
    cues = read->items;
    return true;
}

void LessonTranslation::followSentences()
{
    if (!lesson_.isOpen())
        return;
    const Sentences &sentences = lesson_.sentences();
    if (!chosen) {
        const QString origin =
            sentences.source == SentenceSource::SubtitleFile ? sentences.origin : QString();
        const QString beside = translationBeside(subtitleFilesBeside(lesson_.fileName()),
                                                 lesson_.fileName(), origin, learnerLocale);
        // a file that could not be read is not read again for every change of sentences
        if (beside != file_) {
            file_.clear();
            cues.clear();
            if (!beside.isEmpty() && !read(beside))
                file_ = beside;
        }
    }
    texts = translationsOf(sentences.items, cues);
    emit changed();
}

} // namespace lesson
