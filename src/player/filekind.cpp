#include "player/filekind.h"

#include "media/ffmpeg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

// Containers the MIME database names without an audio/ or video/ type (Ogg, RealMedia, ...)
// still open in FFmpeg with a stream to play.
bool hasSoundOrPictures(const QString &path)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return false;
    const media::FormatContextPtr input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0)
        return false;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVMediaType type = input->streams[i]->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO)
            return true;
    }
    return false;
}

} // namespace

FileKind kindOfFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return FileKind::Missing;
    // an empty file is a document not yet written
    if (info.size() == 0)
        return FileKind::Document;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchContent);
    const QString name = type.name();
    if (name.startsWith(QLatin1String("audio/")) || name.startsWith(QLatin1String("video/")))
        return FileKind::Media;
    // HTML and XHTML are text too
    if (type.inherits(QStringLiteral("text/plain")))
        return FileKind::Document;
    return hasSoundOrPictures(path) ? FileKind::Media : FileKind::Other;
}

OpenedFiles sortOpenedFiles(const QStringList &files,
                            const std::function<FileKind(const QString &)> &kindOf)
{
    // the player window's texts, where the learner reads them
    const auto translated = [](const char *text) {
        return QCoreApplication::translate("Vk", text);
    };
    OpenedFiles sorted;
    for (const QString &file : files) {
        const QString shown = QDir::toNativeSeparators(file);
        switch (kindOf(file)) {
        case FileKind::Media:
            if (sorted.media.isEmpty())
                sorted.media = file;
            else
                sorted.problems +=
                    translated(QT_TRANSLATE_NOOP("Vk", "%1: only one lesson opens at a time."))
                        .arg(shown);
            break;
        case FileKind::Document:
            if (sorted.document.isEmpty())
                sorted.document = file;
            else
                sorted.problems +=
                    translated(QT_TRANSLATE_NOOP("Vk", "%1: only one document opens at a time."))
                        .arg(shown);
            break;
        case FileKind::Missing:
            sorted.problems +=
                translated(
                    QT_TRANSLATE_NOOP("Vk", "%1: there is no such file, or it cannot be read."))
                    .arg(shown);
            break;
        case FileKind::Other:
            sorted.problems +=
                translated(QT_TRANSLATE_NOOP(
                               "Vk", "%1: neither a lesson (sound or video) nor a document."))
                    .arg(shown);
            break;
        }
    }
    return sorted;
}
