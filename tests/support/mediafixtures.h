#pragma once

// Test media generated with the ffmpeg command line into a temporary folder: small clips
// in several containers and codecs, made once per test executable.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class MediaFixtures
{
public:
    // Runs ffmpeg with args (output path last, relative to the folder); fails the test
    // with ffmpeg's output when it does not succeed.
    bool make(const QString &name, const QStringList &args)
    {
        QProcess ff;
        QStringList all{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                        QStringLiteral("error"), QStringLiteral("-y")};
        all += args;
        all += path(name);
        ff.start(QStringLiteral("ffmpeg"), all);
        if (!ff.waitForFinished(120000) || ff.exitCode() != 0) {
            qWarning("ffmpeg failed for %s: %s", qPrintable(name),
                     ff.readAllStandardError().constData());
            return false;
        }
        return true;
    }

    // The clip most tests play: testsrc pictures of the given size in H.264 with a key
    // frame every gop pictures, and a 440 Hz tone in the audio codec; a null picture or
    // audio leaves that stream out. options are further output options.
    struct Clip
    {
        const char *picture = "320x240";
        double seconds = 1;
        const char *audio = nullptr;
        int gop = 25;
        QStringList options = {};
    };
    bool makeClip(const QString &name, const Clip &clip)
    {
        QStringList inputs, outputs;
        if (clip.picture) {
            inputs += videoSource(QLatin1String(clip.picture), clip.seconds);
            outputs += h264(clip.gop);
        }
        if (clip.audio) {
            inputs += toneSource(clip.seconds);
            outputs += {QStringLiteral("-c:a"), QLatin1String(clip.audio)};
        }
        return make(name, inputs + outputs + clip.options);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    // testsrc pictures (a frame counter) at the given size, and a 440 Hz tone.
    static QStringList videoSource(const QString &size, double seconds, int rate = 25)
    {
        return {
            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("testsrc=size=%1:rate=%2:duration=%3").arg(size).arg(rate).arg(seconds)};
    }
    static QStringList toneSource(double seconds, int rate = 44100, int channels = 2)
    {
        return {
            QStringLiteral("-f"),
            QStringLiteral("lavfi"),
            QStringLiteral("-i"),
            QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(seconds),
            QStringLiteral("-ac"),
            QString::number(channels)};
    }
    static QStringList h264(int gop = 25)
    {
        return {QStringLiteral("-c:v"),     QStringLiteral("libx264"), QStringLiteral("-preset"),
                QStringLiteral("veryfast"), QStringLiteral("-g"),      QString::number(gop),
                QStringLiteral("-bf"),      QStringLiteral("2"),       QStringLiteral("-pix_fmt"),
                QStringLiteral("yuv420p")};
    }

    QTemporaryDir dir;
};
