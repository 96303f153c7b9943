#pragma once

// A lesson spoken by espeak-ng at test time: sentences with a second of silence around
// each, joined into one WAV file by ffmpeg.
#include "support/mediafixtures.h"

#include <QProcess>
#include <QtEndian>

#include <vector>

// The length of a 16-bit mono WAV file as espeak-ng writes it (its header's sizes may be
// left open, so the file's own size counts).
inline double wavSeconds(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    const qsizetype data = bytes.indexOf("data");
    if (bytes.size() < 44 || data < 0)
        return 0;
    const auto rate = qFromLittleEndian<qint32>(bytes.constData() + 24);
    return rate > 0 ? double(bytes.size() - data - 8) / 2 / rate : 0;
}

// Each sentence's start and end in the lesson (its clip, the synthesizer's own short
// silences included).
struct SpokenSpan
{
    double start = 0;
    double end = 0;
};

// Speaks sentences into fx's file name, a second of silence before, between and after
// them; nothing when espeak-ng or ffmpeg fails.
inline std::vector<SpokenSpan> makeSpokenLesson(MediaFixtures &fx, const QString &name,
                                                const QStringList &sentences)
{
    std::vector<SpokenSpan> spans;
    QStringList inputs;
    QString graph;
    const QString silence = QStringLiteral("anullsrc=r=22050:cl=mono:d=1");
    double at = 1;
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        const QString wav = fx.path(name + QStringLiteral(".sentence%1.wav").arg(i));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), wav, sentences[i]});
        if (!espeak.waitForFinished(60000) || espeak.exitCode() != 0) {
            qWarning("espeak-ng (Debian package espeak-ng) must be installed");
            return {};
        }
        const double seconds = wavSeconds(wav);
        if (seconds <= 0)
            return {};
        inputs += {QStringLiteral("-f"), QStringLiteral("lavfi"),
                   QStringLiteral("-i"), silence,
                   QStringLiteral("-i"), wav};
        graph += QStringLiteral("[%1:a][%2:a]").arg(2 * i).arg(2 * i + 1);
        spans.push_back({at, at + seconds});
        at += seconds + 1;
    }
    inputs += {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), silence};
    graph += QStringLiteral("[%1:a]concat=n=%2:v=0:a=1")
                 .arg(2 * sentences.size())
                 .arg(2 * sentences.size() + 1);
    if (!fx.make(name, inputs + QStringList{QStringLiteral("-filter_complex"), graph}))
        return {};
    return spans;
}
