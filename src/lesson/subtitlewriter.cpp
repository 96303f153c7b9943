#include "lesson/subtitlewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace lesson {

namespace {

// Milliseconds from clockStart, never before it.
qint64 milliseconds(double seconds, double clockStart)
{
    return std::llround(std::max(0.0, seconds - clockStart) * 1000);
}

// "01:02:03,456" in SRT, "01:02:03.456" in WebVTT.
QString cueTime(qint64 ms, QChar decimalMark)
{
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(decimalMark)
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// The lines of a cue's text. A blank line would end the cue, and a line starting like a
// cue timing would be read as one; a hard space in front is white space to the reader's
// text but not to its timing rule.
QStringList cueLines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    static const QRegularExpression timing(QStringLiteral("^[0-9][0-9:.,]*\\s*-->"));
    QStringList lines;
    for (const QString &line : text.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        lines += timing.match(trimmed).hasMatch() ? QChar(0xA0) + trimmed : trimmed;
    }
    if (lines.isEmpty())
        lines += QStringLiteral("\u2026");
    return lines;
}

QString escapedForWebVtt(QString line)
{
    line.replace(u'&', QLatin1String("&amp;"));
    line.replace(u'<', QLatin1String("&lt;"));
    line.replace(u'>', QLatin1String("&gt;"));
    return line;
}

// SRT, or WebVTT when vtt is set.
QByteArray subtitles(const Sentences &sentences, double clockStart, bool vtt)
{
    QString out = vtt ? QStringLiteral("WEBVTT\n\n") : QString();
    int number = 0;
    for (const Sentence &s : sentences.items) {
        const qint64 start = milliseconds(s.start, clockStart);
        const qint64 end = std::max(start, milliseconds(s.end, clockStart));
        if (!vtt)
            out += QString::number(++number) + u'\n';
        const QChar mark = vtt ? u'.' : u',';
        out += cueTime(start, mark) + QLatin1String(" --> ") + cueTime(end, mark) + u'\n';
        for (const QString &line : cueLines(s.text))
            out += (vtt ? escapedForWebVtt(line) : line) + u'\n';
        out += u'\n';
    }
    return out.toUtf8();
}

double roundedSeconds(double seconds, double clockStart)
{
    return double(milliseconds(seconds, clockStart)) / 1000;
}

QByteArray json(const Sentences &sentences, double clockStart)
{
    QJsonArray items;
    for (const Sentence &s : sentences.items) {
        QJsonArray words;
        for (const TimedWord &w : s.words)
            words.append(QJsonObject{{QStringLiteral("word"), s.text.mid(w.from, w.length)},
                                     {QStringLiteral("start"), roundedSeconds(w.start, clockStart)},
                                     {QStringLiteral("end"), roundedSeconds(w.end, clockStart)}});
        const double start = roundedSeconds(s.start, clockStart);
        items.append(
            QJsonObject{{QStringLiteral("start"), start},
                        {QStringLiteral("end"), std::max(start, roundedSeconds(s.end, clockStart))},
                        {QStringLiteral("text"), s.text},
                        {QStringLiteral("unsure"), s.unsure != Unsure::No},
                        {QStringLiteral("words"), words}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("sentences"), items}}).toJson();
}

} // namespace

bool writeSentencesFile(const QString &file, const Sentences &sentences, double clockStart,
                        QString *why)
{
    const auto fail = [&](const QString &message) {
        if (why)
            *why = message;
        return false;
    };
    const QString suffix = QFileInfo(file).suffix().toLower();
    QByteArray bytes;
    if (suffix == QLatin1String("srt"))
        bytes = subtitles(sentences, clockStart, false);
    else if (suffix == QLatin1String("vtt"))
        bytes = subtitles(sentences, clockStart, true);
    else if (suffix == QLatin1String("json"))
        bytes = json(sentences, clockStart);
    else
        return fail(QCoreApplication::translate("lesson::SubtitleWriter",
                                                "Sentences can be saved as .srt, .vtt or .json "
                                                "files, not as %1.")
                        .arg(QDir::toNativeSeparators(file)));

    // The old file stays whole until the new one is complete. Unbuffered, a short write (a
    // full disk) shows in write()'s count; Qt's write buffer can flush part of the bytes and
    // still let commit() keep the file. A short write leaves Qt's error unset, so the
    // system's reason is taken from the failing call.
    QSaveFile out(file);
    errno = 0;
    if (out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        out.write(bytes) == bytes.size() && out.commit())
        return true;
    const QString reason = errno != 0 ? qt_error_string(errno) : out.errorString();
    return fail(QCoreApplication::translate("lesson::SubtitleWriter", "Cannot save %1:\n%2")
                    .arg(QDir::toNativeSeparators(file), reason));
}

} // namespace lesson
