#include "text/plaintext.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextCodec>

#include <uchardet.h>

#include <memory>
#include <string_view>
#include <type_traits>

namespace {

// UTF-16 written without a byte-order mark: plain text has no zero bytes of its own, so
// zeros on one side of most code-unit pairs and none on the other give the byte order.
std::optional<QStringConverter::Encoding> unmarkedUtf16(const QByteArray &bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0)
        return std::nullopt;
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    const qsizetype pairs = bytes.size() / 2;
    if (evenZeros == 0 && oddZeros * 2 >= pairs)
        return QStringConverter::Utf16LE;
    if (oddZeros == 0 && evenZeros * 2 >= pairs)
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// The learners' own texts are Chinese, and a few Chinese words are too short for the
// detector. Bytes that pair up into the common Chinese characters (both bytes 0xA1 to
// 0xFE) are taken as GB18030; a Windows text read that way would pair its ’ (0x92) with the
// letter after it, outside that range.
bool isCommonChinese(const QByteArray &bytes)
{
    const auto isHigh = [](char c) { return uchar(c) >= 0xA1 && uchar(c) <= 0xFE; };
    bool anyPair = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (uchar(bytes[i]) < 0x80)
            continue;
        if (i + 1 >= bytes.size() || !isHigh(bytes[i]) || !isHigh(bytes[i + 1]))
            return false;
        anyPair = true;
        ++i;
    }
    return anyPair;
}

// The detector's guess, or empty when it has none.
QByteArray detectedCharset(const QByteArray &bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector ||
        uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

// Whether the bytes 0x80 to 0x9F of the text, and there are some, are all quotes, dashes,
// ellipses or bullets in Windows-1252, as a word processor on Windows writes them.
bool hasOnlyWindowsPunctuation(const QByteArray &bytes)
{
    constexpr std::string_view punctuation("\x82\x84\x85\x8B\x91\x92\x93\x94\x95\x96\x97\x9B");
    bool any = false;
    for (const char c : bytes) {
        if (uchar(c) < 0x80 || uchar(c) > 0x9F)
            continue;
        if (punctuation.find(c) == std::string_view::npos)
            return false;
        any = true;
    }
    return any;
}

QTextCodec *codecForDetected(const QByteArray &bytes)
{
    const QByteArray charset = detectedCharset(bytes).toUpper();
    // Texts called Latin-1 or ASCII by a detector are, in practice, Windows texts: the
    // bytes 0x80 to 0x9F are its quotes and dashes, never Latin-1's control codes. The
    // detector may also call a short text with a few curly apostrophes a Mac code page
    // ("don\x92t" as "donít"); a Windows text is far more likely.
    if (charset.isEmpty() || charset == "ASCII" || charset == "ISO-8859-1" ||
        (charset.startsWith("MAC") && hasOnlyWindowsPunctuation(bytes)))
        return QTextCodec::codecForName("windows-1252");
    if (QTextCodec *codec = QTextCodec::codecForName(charset))
        return codec;
    return QTextCodec::codecForName("windows-1252");
}

} // namespace

QString decodePlainText(const QByteArray &bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return decoder(bytes);
    }
    if (const auto utf16 = unmarkedUtf16(bytes)) {
        QStringDecoder decoder(*utf16);
        return decoder(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    if (isCommonChinese(bytes))
        return QTextCodec::codecForName("GB18030")->toUnicode(bytes);
    return codecForDetected(bytes)->toUnicode(bytes);
}

std::optional<QString> readPlainTextFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decodePlainText(bytes);
}
