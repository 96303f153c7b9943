#include "editor/documentbytes.h"

#include "text/plaintext.h"

#include <QTextCodec>
#include <QTextEdit>

void loadDocumentBytes(QTextEdit &edit, const QByteArray &bytes)
{
    // An HTML page may declare any character set, most of which the string converters of
    // the toolkit do not know; the codecs do.
    QTextCodec *codec = QTextCodec::codecForHtml(bytes, QTextCodec::codecForName("ISO-8859-1"));
    const QString text = codec->toUnicode(bytes);
    if (Qt::mightBeRichText(text))
        edit.setHtml(text);
    else
        edit.setPlainText(decodePlainText(bytes));
}
