#include "app/studysession.h"

#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessonstore.h"
#include "player/editorlink.h"
#include "player/preferenceskeeper.h"
#include "player/trayicon.h"
#include "player/vk.h"
#include "speech/wordspeaker.h"

#include <QMessageBox>
#include <QTimer>

StudySession::StudySession()
    : editor_(std::make_unique<TextEdit>()), lesson_(std::make_unique<LessonController>()),
      player_(std::make_unique<Vk>(*lesson_)),
      link(std::make_unique<EditorLink>(*player_, *editor_, *lesson_)),
      tray_(std::make_unique<TrayIcon>(*player_, [this] { return editor_->settleBeforeQuit(); })),
      preferences_(std::make_unique<PreferencesKeeper>(*player_, *editor_, *lesson_)),
      speaker_(std::make_unique<speech::WordSpeaker>())
{
    connect(editor_.get(), &TextEdit::hearRequested, this, &StudySession::hearWord);
}

StudySession::~StudySession() = default;

void StudySession::setLessonStore(std::unique_ptr<lesson::LessonStore> store)
{
    const QString notice = store->notice();
    lesson_->setStore(std::move(store));
    if (!notice.isEmpty()) {
        Vk *window = player_.get();
        QTimer::singleShot(0, window, [window, notice] {
            QMessageBox::warning(window, tr("Vorlyn Player"), notice);
        });
    }
}

void StudySession::start(const QStringList &files)
{
    player_->show();
    QTimer::singleShot(0, player_.get(), [this, files] { link->openFiles(files); });
}

void StudySession::openHandedOver(const QStringList &files)
{
    player_->comeToFront();
    link->openFiles(files);
}

void StudySession::hearWord(const QString &word)
{
    if (!lesson_->isStopped())
        lesson_->stopPlaying();
    const QString why =
        speaker_->speak(word, speech::voiceOfDictionary(editor_->dictionaryLanguage()));
    if (!why.isEmpty())
        QMessageBox::information(editor_.get(), tr("Hear a word"), why);
}
