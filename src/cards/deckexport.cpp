#include "cards/deckexport.h"

#include "cards/clipcutter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <numeric>
#include <tuple>

namespace cards {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A sound's name in the deck's folder: vorlyn-<id><suffix>.mp3, or with a number after that
// when a file of that name is there already.
QString freeSoundName(const QDir &folder, qint64 id, QLatin1String suffix)
{
    const QString base = QStringLiteral("vorlyn-%1").arg(id) + suffix;
    QString name = base + QLatin1String(".mp3");
    for (int n = 2; folder.exists(name); ++n)
        name = QStringLiteral("%1-%2.mp3").arg(base).arg(n);
    return name;
}

} // namespace

DeckResult DeckExport::write(const QString &deckFile, const std::vector<lesson::ReviewItem> &items,
                             const WordNotes &notes, speech::Voice voice,
                             const std::atomic<bool> &cancel,
                             const std::function<void(int)> &progress)
{
    DeckResult result;
    const QDir folder = QFileInfo(deckFile).absoluteDir();
    // in the deck's folder, so that moving into place is a rename on the same file system
    QTemporaryDir staging(folder.filePath(QStringLiteral(".vorlyn-deck-XXXXXX")));
    if (!staging.isValid()) {
        result.why = tr("Cannot write into the folder %1: %2")
                         .arg(native(folder.absolutePath()), staging.errorString());
        return result;
    }
    const auto cancelled = [&result] {
        result.outcome = DeckResult::Outcome::Cancelled;
        return result;
    };

    // each lesson's stretches in time order, so that its file is opened once and read forwards
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&items](size_t a, size_t b) {
        return std::tie(items[a].lessonFile, items[a].start) <
               std::tie(items[b].lessonFile, items[b].start);
    });
    const auto stagedClip = [&staging](const lesson::ReviewItem &item) {
        return staging.filePath(QStringLiteral("%1.mp3").arg(item.id));
    };
    const auto stagedWordSound = [&staging](const lesson::ReviewItem &item) {
        return staging.filePath(QStringLiteral("%1-word.mp3").arg(item.id));
    };
    std::vector<bool> hasClip(items.size(), false);
    std::vector<bool> hasWordSound(items.size(), false);
    std::unique_ptr<ClipCutter> cutter;
    QString cutterLesson;
    int done = 0;
    for (const size_t i : order) {
        if (cancel.load(std::memory_order_relaxed))
            return cancelled();
        const lesson::ReviewItem &item = items[i];
        if (!item.needsFile) {
            if (!cutter || cutterLesson != item.lessonFile) {
                cutter = std::make_unique<ClipCutter>(item.lessonFile);
                cutterLesson = item.lessonFile;
            }
            switch (cutter->cut(item.start, item.end, stagedClip(item), cancel, &result.why)) {
            case ClipCutter::Cut::Written:
                hasClip[i] = true;
                break;
            case ClipCutter::Cut::NoSound:
                break;
            case ClipCutter::Cut::Cancelled:
                return cancelled();
            case ClipCutter::Cut::Failed:
                return result;
            }
        }
        if (hasClip[i] && item.kind == lesson::ReviewItem::Kind::Word) {
            if (cancel.load(std::memory_order_relaxed))
                return cancelled();
            const speech::SpokenWord spoken = speech::synthesizeWord(item.word, voice);
            if (spoken.hasSound()) {
                if (!encodeMp3(spoken.samples.data(), int(spoken.samples.size()), spoken.sampleRate,
                               stagedWordSound(item), &result.why))
                    return result;
                hasWordSound[i] = true;
            }
        }
        if (!hasClip[i])
            ++result.leftOut;
        if (progress)
            progress(++done);
    }

    std::vector<Card> deck;
    std::vector<std::pair<QString, QString>> moves; // staged sound, its place beside the deck
    for (size_t i = 0; i < items.size(); ++i) {
        if (!hasClip[i])
            continue;
        const QString name = freeSoundName(folder, items[i].id, QLatin1String());
        QString wordName;
        if (hasWordSound[i]) {
            wordName = freeSoundName(folder, items[i].id, QLatin1String("-word"));
            moves.emplace_back(stagedWordSound(items[i]), folder.filePath(wordName));
        }
        deck.push_back(cardOf(items[i], name, wordName, notes));
        moves.emplace_back(stagedClip(items[i]), folder.filePath(name));
    }
    if (deck.empty()) {
        result.why = tr("None of the review items has its lesson file at hand.");
        return result;
    }
    const QString stagedDeck = staging.filePath(QStringLiteral("deck.txt"));
    QFile text(stagedDeck);
    if (!text.open(QIODevice::WriteOnly) || text.write(deckText(deck).toUtf8()) < 0 ||
        !text.flush()) {
        result.why = tr("Cannot write %1: %2").arg(native(deckFile), text.errorString());
        return result;
    }
    text.close();
    if (cancel.load(std::memory_order_relaxed))
        return cancelled();

    // a rename never replaces a sound (QFile::rename refuses an existing name); the deck file
    // itself replaces the one the learner chose to replace
    size_t moved = 0;
    while (moved < moves.size() && QFile::rename(moves[moved].first, moves[moved].second))
        ++moved;
    int renameError = 0;
    if (moved == moves.size() && std::rename(QFile::encodeName(stagedDeck).constData(),
                                             QFile::encodeName(deckFile).constData()) != 0)
        renameError = errno;
    if (moved < moves.size() || renameError != 0) {
        for (size_t m = 0; m < moved; ++m)
            QFile::remove(moves[m].second);
        result.why =
            moved < moves.size()
                ? tr("Cannot write %1.").arg(native(moves[moved].second))
                : tr("Cannot write %1: %2").arg(native(deckFile), qt_error_string(renameError));
        return result;
    }
    result.outcome = DeckResult::Outcome::Written;
    result.cards = int(deck.size());
    return result;
}

} // namespace cards
