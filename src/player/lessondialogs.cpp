#include "player/lessondialogs.h"

#include "lesson/lessoncontroller.h"
#include "lesson/lessontranslation.h"
#include "lesson/subtitlewriter.h"
#include "player/drillsettingsdialog.h"
#include "player/lessonsummary.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

namespace {

QDir &lastMediaPath()
{
    static QDir dir = QDir::home();
    return dir;
}

// A file the learner picks, starting in the open lesson's folder; empty without a lesson.
QString fileBesideLesson(const LessonController &lesson, QWidget *parent, const QString &title,
                         const QString &filter)
{
    if (!lesson.isOpen())
        return {};
    return QFileDialog::getOpenFileName(parent, title, QFileInfo(lesson.fileName()).absolutePath(),
                                        filter);
}

} // namespace

QString LessonDialogs::chooseMediaFile(QWidget *parent)
{
    const QString name = QFileDialog::getOpenFileName(
        parent, tr("Open File"), lastMediaPath().absolutePath(),
        tr("Media (*.mov *.avi *.wmv *.mpeg *.mp4 *.mpg *.vob *.swf *.flv *.rmvb *.rm *.mp3 *.mkv "
           "*.wma *.wmv)"));
    lastMediaPath().setPath(name);
    return name;
}

void LessonDialogs::addSubtitlesMenu(QMenu &menu, LessonController &lesson,
                                     lesson::LessonTranslation &translation, QWidget *parent)
{
    QMenu *subtitles = menu.addMenu(tr("Subtitles"));
    subtitles->setEnabled(lesson.isOpen());
    for (const QString &f : lesson.subtitleFiles()) {
        QAction *a = subtitles->addAction(QFileInfo(f).fileName(), &lesson,
                                          [&lesson, f] { lesson.chooseSubtitleFile(f); });
        a->setCheckable(true);
        a->setChecked(lesson.lessonText().isEmpty() && f == lesson.sentences().origin);
    }
    // the lesson's transcripts: the other source of sentences, checked while chosen
    if (!lesson.lessonTextFiles().isEmpty())
        subtitles->addSeparator();
    for (const QString &f : lesson.lessonTextFiles()) {
        QAction *a = subtitles->addAction(tr("Lesson Text: %1").arg(QFileInfo(f).fileName()),
                                          &lesson, [&lesson, f] { lesson.chooseLessonText(f); });
        a->setCheckable(true);
        a->setChecked(f == lesson.lessonText());
    }
    subtitles->addSeparator();
    subtitles->addAction(tr("Load Subtitles..."), parent,
                         [&lesson, parent] { loadSubtitles(lesson, parent); });
    subtitles->addAction(tr("Lesson Text..."), parent,
                         [&lesson, parent] { loadLessonText(lesson, parent); });
    subtitles
        ->addAction(tr("Paste Lesson Text"), &lesson,
                    [&lesson] { lesson.pasteLessonText(QGuiApplication::clipboard()->text()); })
        ->setEnabled(!QGuiApplication::clipboard()->text().trimmed().isEmpty());
    subtitles
        ->addAction(tr("Save Sentences as Subtitles..."), parent,
                    [&lesson, parent] { saveSentences(lesson, parent); })
        ->setEnabled(!lesson.sentences().items.empty());
    subtitles->addAction(tr("Load Translation..."), parent, [&lesson, &translation, parent] {
        loadTranslation(lesson, translation, parent);
    });
}

void LessonDialogs::loadSubtitles(LessonController &lesson, QWidget *parent)
{
    const QString file = fileBesideLesson(lesson, parent, tr("Load Subtitles"),
                                          tr("Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)"));
    if (!file.isEmpty())
        lesson.chooseSubtitleFile(file);
}

void LessonDialogs::loadLessonText(LessonController &lesson, QWidget *parent)
{
    const QString file =
        fileBesideLesson(lesson, parent, tr("Lesson Text"),
                         tr("Transcripts (*.txt *.md *.html *.htm *.pdf);;All Files (*)"));
    if (!file.isEmpty())
        lesson.chooseLessonText(file);
}

void LessonDialogs::saveSentences(LessonController &lesson, QWidget *parent)
{
    const QString title = tr("Save Sentences as Subtitles");
    if (lesson.sentences().items.empty()) {
        QMessageBox::information(parent, title, tr("This lesson has no sentences to save yet."));
        return;
    }
    // the filters in the order of their suffixes
    const QStringList suffixes = {QStringLiteral("srt"), QStringLiteral("vtt"),
                                  QStringLiteral("json")};
    const QStringList filters = {tr("SRT Subtitles (*.srt)"), tr("WebVTT Subtitles (*.vtt)"),
                                 tr("Sentences with Word Times, JSON (*.json)")};
    const QFileInfo media(lesson.fileName());
    QFileDialog dialog(parent, title,
                       media.dir().filePath(media.completeBaseName() + QStringLiteral(".srt")),
                       filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // a name typed without a suffix takes the chosen filter's, before the dialog asks
    // whether to replace a file of that name
    dialog.setDefaultSuffix(suffixes.first());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        dialog.setDefaultSuffix(suffixes.value(filters.indexOf(filter), suffixes.first()));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().constFirst();
    // the dialog's event loop may have let the lesson's sentences change: what is saved is
    // what the lesson has now, counted from its clock's start
    QString why;
    if (!lesson::writeSentencesFile(file, lesson.sentences(), lesson.startSeconds(), &why))
        QMessageBox::warning(parent, title, why);
}

void LessonDialogs::loadTranslation(LessonController &lesson,
                                    lesson::LessonTranslation &translation, QWidget *parent)
{
    const QString file = fileBesideLesson(lesson, parent, tr("Load Translation"),
                                          tr("Subtitles (*.srt *.vtt *.ass *.ssa);;All Files (*)"));
    if (!file.isEmpty())
        translation.load(file);
}

void LessonDialogs::showSummary(LessonController &lesson, QWidget *parent)
{
    LessonSummary summary(&lesson, parent);
    summary.setWindowTitle(tr("Lesson Summary: %1").arg(QFileInfo(lesson.fileName()).fileName()));
    summary.exec();
}

void LessonDialogs::forget(LessonController &lesson, QWidget *parent)
{
    if (!lesson.isOpen())
        return;
    const QString name = QFileInfo(lesson.fileName()).fileName();
    if (QMessageBox::question(parent, tr("Forget This Lesson"),
                              tr("Forget where you were in %1, its loop and the scores of "
                                 "its sentences?")
                                  .arg(name)) == QMessageBox::Yes)
        lesson.forgetLesson();
}

void LessonDialogs::chooseDrillSettings(LessonController &lesson, QWidget *parent)
{
    DrillSettingsDialog dialog(lesson.drillSettings(), parent);
    if (dialog.exec() == QDialog::Accepted)
        lesson.setDrillSettings(dialog.settings());
}
