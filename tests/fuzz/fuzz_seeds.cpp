// Writes the seed corpora of the fuzz targets that need no ffmpeg into <folder>/<target>/:
// dictionaries written as the phonetic tests write them, transcripts, typed pronunciations,
// pairs of texts, subtitle files and lesson texts. The media seeds are clips that
// tools/fuzz.sh makes with ffmpeg.
#include "phonetic/dictionaryfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool writeSeed(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The dictionary target reads a mode byte first: 0 for a stored (enciphered) file, 1 for a
// plain database it enciphers itself with the page size of the header.
bool dictionarySeeds(const QDir &out)
{
    const QList<Row> rows{
        {"record", "r&#618;k&#596;&#720;d", "a lasting account<br/>to set down"},
        {"recorder", "r&#618;k&#596;&#720;d&#601;", "a machine that records"},
        {"read", "ri&#720;d", "to look at and understand"},
        {"thought", "&#952;&#596;&#720;t", QByteArray("an idea; ").repeated(600)},
        {"measure", "m&#603;&#658;&#601;", "a unit"},
    };
    QTemporaryDir plainDir;
    QTemporaryDir storedDir;
    if (!plainDir.isValid() || !storedDir.isValid() ||
        !writeDictionary(plainDir.path(), rows, QByteArray()) ||
        !writeDictionary(storedDir.path(), rows, storePassPhrase))
        return false;
    const QByteArray plain = readAll(plainDir.filePath(QStringLiteral("dict/words.db")));
    const QByteArray stored = readAll(storedDir.filePath(QStringLiteral("dict/words.db")));
    return !plain.isEmpty() && !stored.isEmpty() &&
           writeSeed(out, QStringLiteral("plain.db"), '\x01' + plain) &&
           writeSeed(out, QStringLiteral("stored.db"), '\x00' + stored) &&
           writeSeed(out, QStringLiteral("stored-cut.db"), '\x00' + stored.left(5000));
}

bool transcriptSeeds(const QDir &out)
{
    const QByteArray html =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\"><html><head>"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" /></head>"
        "<body><p style=\"margin-top:0px;\"><span style=\" font-weight:600;\">Unit 1</span></p>"
        "<ul><li>I recieved the letter.</li><li>It was <i>raining</i>.</li></ul>"
        "<table border=\"1\"><tr><td>one</td><td colspan=\"2\">two</td></tr></table>"
        "<p align=\"center\"><a href=\"#x\">link</a> &amp; &#952; &lt;b&gt;</p></body></html>";
    const QByteArray gbk = "<html><head><meta charset=\"gb18030\"></head><body><p>\xc4\xe3\xba\xc3"
                           " hello</p></body></html>";
    const QString text = QStringLiteral("The quick brown fox.\nSecond line, caf\u00e9.\n");
    QByteArray utf16("\xff\xfe", 2);
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return writeSeed(out, QStringLiteral("transcript.html"), html) &&
           writeSeed(out, QStringLiteral("gb18030.html"), gbk) &&
           writeSeed(out, QStringLiteral("utf8.txt"), text.toUtf8()) &&
           writeSeed(out, QStringLiteral("utf16.txt"), utf16) &&
           writeSeed(out, QStringLiteral("latin1.txt"), "na\xefve r\xe9sum\xe9\n");
}

bool phoneticSeeds(const QDir &out)
{
    const QStringList typed{
        QStringLiteral("r\u026Ak\u0254\u02D0d"), QStringLiteral("'ri:d"),
        QStringLiteral("\u03B8\u0254\u02D0t"),   QStringLiteral("d\u0292ei"),
        QStringLiteral("m\u025B\u0292\u0259"),   QStringLiteral("t\u0283i\u0259")};
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (!writeSeed(out, QStringLiteral("typed%1").arg(i), typed[i].toUtf8()))
            return false;
    }
    return writeSeed(out, QStringLiteral("stored"), "r&#618;k&#596;&#720;d&#601;");
}

bool diffSeeds(const QDir &out)
{
    const QList<QByteArray> pairs{
        "I have recieved the leter yesterday.\xffI received the letter yesterday.",
        "line one\nline two\nline three\n\xffline one\nline 2\nline three\nline four\n",
        "The cat sat on the mat.\xffThe dog sat on a mat!",
        "caf\xc3\xa9 na\xc3\xafve\xff"
        "cafe naive",
        "abc\xff",
    };
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        if (!writeSeed(out, QStringLiteral("pair%1").arg(i), pairs[i]))
            return false;
    }
    return true;
}

// Each seed's first byte picks the suffix the target writes the file with.
bool subtitleSeeds(const QDir &out)
{
    const QByteArray srt = "1\r\n00:00:01,000 --> 00:00:02,500\r\n<i>Hello</i> there.\r\n\r\n"
                           "2\r\n00:00:02,000 --> 00:00:04,000\r\nOverlapping line\r\n\r\n"
                           "3\r\n00:00:05,000 --> 00:00:05,000\r\n\r\n";
    const QByteArray vtt = "WEBVTT\n\n00:01.000 --> 00:02.000 align:start\nOne <b>two</b>\n\n"
                           "bad --> timing\nLost\n\n00:03.000 --> 00:04.000\nThree\n";
    const QByteArray ass =
        "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, Style, "
        "Name, MarginL, MarginR, MarginV, Effect, Text\nDialogue: 0,0:00:01.00,0:00:02.00,"
        "Default,,0,0,0,,{\\i1}Styled{\\i0}\\Nline\n";
    return writeSeed(out, QStringLiteral("srt"), '\0' + srt) &&
           writeSeed(out, QStringLiteral("vtt"), '\1' + vtt) &&
           writeSeed(out, QStringLiteral("ass"), '\2' + ass) &&
           writeSeed(out, QStringLiteral("gb18030.srt"),
                     '\0' + QByteArray("1\n00:00:01,000 --> 00:00:02,000\n\xc4\xe3\xba\xc3\n"));
}

// Lesson texts as publishers write them: speaker labels, stage directions, abbreviations,
// numbers, wrapped lines and headings.
bool sentenceSeeds(const QDir &out)
{
    return writeSeed(out, QStringLiteral("dialogue.txt"),
                     "Talking about tea\nNEIL: Hello. [laughs] I'm Neil, and Dr Smith is here.\n"
                     "Rob: Hi! It's 10.30 a.m. on the 21st, and tea costs \xc2\xa3"
                     "2.50... "
                     "or 50% more\nthan in 1999.\n\n(music)\nDr Smith:\n\"Mr. Jones left.\" "
                     "He said: e.g. the U.S. Army\xe2\x80\xa6 3.5 km, 5,000 people, etc.\r\n") &&
           writeSeed(out, QStringLiteral("wrapped.txt"),
                     "The history of tea\nTea was first drunk in China, thousands of years\n"
                     "ago, by well-known emperors (it\xe2\x80\x99s said). $5 bought 2nd-rate "
                     "tea in the 1990s.\n\n[MUSIC PLAYING]\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const auto sub = [&root](const char *name) {
        root.mkpath(QLatin1String(name));
        return QDir(root.filePath(QLatin1String(name)));
    };
    const bool ok = dictionarySeeds(sub("dictionary")) && transcriptSeeds(sub("transcript")) &&
                    phoneticSeeds(sub("phonetic")) && diffSeeds(sub("diff")) &&
                    subtitleSeeds(sub("subtitles")) && sentenceSeeds(sub("sentences"));
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: could not write the seeds\n");
    return ok ? 0 : 1;
}
