#pragma once

#include "lesson/sentences.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class LessonController;

namespace lesson {

// The lesson's sentences in the learner's language: the cues of a second subtitle file,
// found beside the lesson (another language tag than the sentences' own) or loaded by the
// learner, matched to the sentences by time. Follows its LessonController: matched anew
// when the sentences change, gone with the lesson. Not scored. GUI thread only.
class LessonTranslation final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LessonTranslation)

public:
    // lesson outlives the translation.
    explicit LessonTranslation(LessonController &lesson, QObject *parent = nullptr);

    // The learner's locale ("zh_CN"): a file beside the lesson in its language comes first.
    void setLearnerLocale(const QString &locale) { learnerLocale = locale; }
    // The subtitle file the translation comes from; empty when there is none.
    QString file() const { return file_; }
    // The translation of the lesson's sentence index; empty when it has none.
    QString of(int index) const { return texts.value(index); }

public slots:
    // The learner's translation for this lesson, in place of the one found beside it; a
    // file that cannot be read leaves the translation as it was, and the lesson's error()
    // says why.
    void load(const QString &file);

signals:
    // of() may give other texts.
    void changed();

private:
    void followSentences();
    // The cues of file, or none with the lesson's error() saying why.
    bool read(const QString &file);

    LessonController &lesson_;
    QString learnerLocale;
    QString file_;
    // the learner loaded file_: no file beside the lesson replaces it
    bool chosen = false;
    std::vector<Sentence> cues;
    QStringList texts;
};

} // namespace lesson
