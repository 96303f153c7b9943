#include "lesson/lessontext.h"

#include "lesson/filesbeside.h"
#include "text/plaintext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocument>

#include <poppler-qt6.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace lesson {

namespace {

// Longer than any transcript of a lesson: an audiobook's text is a few megabytes.
constexpr qint64 maxTextBytes = 20 * 1024 * 1024;

// The charset a <meta> tag near the start declares, as browsers read it: Latin-1 and
// ASCII pages are Windows-1252. Empty when none is declared.
QByteArray declaredCharset(const QByteArray &bytes)
{
    static const QRegularExpression meta(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?([A-Za-z0-9_.:-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = meta.match(QString::fromLatin1(bytes.left(4096)));
    if (!match.hasMatch())
        return {};
    const QByteArray name = match.captured(1).toLatin1().toLower();
    if (name == "iso-8859-1" || name == "latin1" || name == "us-ascii" || name == "ascii")
        return "windows-1252";
    return name;
}

// An HTML page's bytes as text: a byte-order mark first, then the declared charset when the
// bytes are valid in it, else the detection every plain-text file goes through.
QString decodeHtml(const QByteArray &bytes)
{
    const QByteArray charset =
        QStringConverter::encodingForData(bytes) ? QByteArray() : declaredCharset(bytes);
    if (!charset.isEmpty()) {
        QStringDecoder declared(charset.constData());
        if (declared.isValid()) {
            QString text = declared(bytes);
            if (!declared.hasError())
                return text;
        }
    }
    return decodePlainText(bytes);
}

// The text layer of a PDF, its pages apart by a blank line; nothing, with why set, when
// the file is no PDF poppler can open, is locked, or has no text on any page.
std::optional<QString> pdfText(const QByteArray &bytes, QString *why)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(bytes);
    if (!document || document->numPages() < 1) {
        *why = QCoreApplication::translate(
            "lesson::LessonText", "The PDF %1 is damaged or not a PDF; its text cannot be read.");
        return std::nullopt;
    }
    if (document->isLocked()) {
        *why = QCoreApplication::translate(
            "lesson::LessonText", "The PDF %1 is locked with a password; its text cannot be read.");
        return std::nullopt;
    }
    QStringList pages;
    for (int i = 0; i < document->numPages(); ++i) {
        const std::unique_ptr<Poppler::Page> page = document->page(i);
        if (page)
            pages += page->text(QRectF()).trimmed();
    }
    pages.removeAll(QString());
    if (pages.isEmpty()) {
        *why = QCoreApplication::translate(
            "lesson::LessonText",
            "The PDF %1 has no text layer: its pages are only images. Choose a PDF "
            "whose text can be selected, or a text file.");
        return std::nullopt;
    }
    return pages.join(QStringLiteral("\n\n"));
}

} // namespace

namespace {

const QStringList &textSuffixes()
{
    static const QStringList suffixes{QStringLiteral("txt"), QStringLiteral("md"),
                                      QStringLiteral("html"), QStringLiteral("htm"),
                                      QStringLiteral("pdf")};
    return suffixes;
}

} // namespace

QStringList lessonTextFilesBeside(const QString &mediaFile)
{
    // The learner's own transcripts are named after their lessons' whole names
    // ("lesson.mp4.html", "lesson.mkv.html"): never the text to check one against. A tag that
    // is not a language's ("en", "en-GB", "zh-Hans"), or that names a kind of media, is one.
    static const QRegularExpression language(
        QStringLiteral("^[A-Za-z]{2,3}([-_][A-Za-z0-9]{2,8})*$"));
    static const QStringList media{u"aac"_s,  u"avi"_s, u"flac"_s, u"flv"_s, u"m4a"_s,  u"m4v"_s,
                                   u"mka"_s,  u"mkv"_s, u"mov"_s,  u"mp3"_s, u"mp4"_s,  u"mpeg"_s,
                                   u"mpg"_s,  u"oga"_s, u"ogg"_s,  u"ogv"_s, u"opus"_s, u"rm"_s,
                                   u"rmvb"_s, u"swf"_s, u"ts"_s,   u"vob"_s, u"wav"_s,  u"webm"_s,
                                   u"wma"_s,  u"wmv"_s};
    const QFileInfo lesson(mediaFile);
    const QString base = lesson.completeBaseName();
    QStringList files = filesBeside(mediaFile, textSuffixes());
    files.removeIf([&](const QString &f) {
        const QFileInfo text(f);
        const QString tag = text.completeBaseName().mid(base.size() + 1);
        return text.fileName().startsWith(lesson.fileName() + u'.') ||
               (!tag.isEmpty() &&
                (!language.match(tag).hasMatch() || media.contains(tag, Qt::CaseInsensitive)));
    });
    return files;
}

bool isLessonTextFile(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return textSuffixes().contains(suffix) || suffix == u"markdown";
}

std::optional<QString> readLessonText(const QString &file, QString *why)
{
    QString reason;
    const auto fail = [&] {
        if (why)
            *why = reason.arg(QDir::toNativeSeparators(file));
        return std::nullopt;
    };
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        reason =
            QCoreApplication::translate("lesson::LessonText", "Cannot open the lesson text %1.");
        return fail();
    }
    // one byte more than allowed tells a file at the limit from one over it, and a device
    // that never ends is not read to its end
    const QByteArray bytes = in.read(maxTextBytes + 1);
    if (in.error() != QFileDevice::NoError) {
        reason =
            QCoreApplication::translate("lesson::LessonText", "Cannot read the lesson text %1.");
        return fail();
    }
    if (bytes.size() > maxTextBytes) {
        reason = QCoreApplication::translate(
            "lesson::LessonText", "The lesson text %1 is over 20 MB, too long for a lesson.");
        return fail();
    }

    const QString suffix = QFileInfo(file).suffix().toLower();
    QString text;
    if (suffix == u"pdf" || bytes.startsWith("%PDF-")) {
        const std::optional<QString> pdf = pdfText(bytes, &reason);
        if (!pdf)
            return fail();
        text = *pdf;
    } else if (suffix == u"html" || suffix == u"htm") {
        QTextDocument document;
        document.setHtml(decodeHtml(bytes));
        text = document.toPlainText();
    } else if (suffix == u"md" || suffix == u"markdown") {
        QTextDocument document;
        document.setMarkdown(decodePlainText(bytes));
        text = document.toPlainText();
    } else {
        text = decodePlainText(bytes);
    }
    // other systems' line ends and Unicode's line separators as "\n"; a page's pictures
    // as nothing
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    if (text.trimmed().isEmpty()) {
        reason =
            QCoreApplication::translate("lesson::LessonText", "The lesson text %1 has no text.");
        return fail();
    }
    return text;
}

} // namespace lesson
