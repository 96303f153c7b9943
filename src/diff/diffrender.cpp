#include "diff/diffrender.h"

#include <QStringView>

#include <initializer_list>

namespace {

bool isAsciiLetter(QChar ch)
{
    const char16_t u = ch.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// One text view: the segments of one side, that side's own edits coloured. A changed
// word is coloured whole, so the letters of an equality that continue it are coloured too.
QString renderTextHtml(const QList<DiffSegment> &segments, DiffOperation shown,
                       QLatin1String colourOpen)
{
    const QString colourOpenText = colourOpen;
    const QString colourCloseText = QStringLiteral("</font>");
    qsizetype firstEqualityEnd = -1;
    qsizetype lastEqualityEnd = 0;
    qsizetype total = 0;
    for (const DiffSegment &segment : segments) {
        total += segment.text.size();
        if (segment.operation == DiffOperation::Equal) {
            if (firstEqualityEnd < 0)
                firstEqualityEnd = total;
            lastEqualityEnd = total;
        }
    }

    QString html = QStringLiteral("<html><head><meta http-equiv=\"content-type\" "
                                  "content=\"text/html; charset=UTF-8\" /></head>");
    // Appended piece by piece, without temporaries: a long comparison renders megabytes.
    html.reserve(total + total / 8 + 64 * segments.size());
    const auto appendAll = [&html](std::initializer_list<QStringView> pieces) {
        for (const QStringView piece : pieces)
            html += piece;
    };
    qsizetype end = 0;
    for (const DiffSegment &segment : segments) {
        end += segment.text.size();
        if (segment.operation == shown) {
            appendAll({colourOpenText, escapeForHtml(segment.text), colourCloseText});
            continue;
        }
        if (segment.operation != DiffOperation::Equal)
            continue;

        const QString t = escapeForHtml(segment.text);
        const qsizetype length = t.size();
        qsizetype head = 0;
        if (end != firstEqualityEnd) {
            while (head < length && isAsciiLetter(t[head]))
                ++head;
        }
        qsizetype tail = 0;
        if (end != lastEqualityEnd) {
            while (tail < length && isAsciiLetter(t[length - 1 - tail]))
                ++tail;
        }
        // A word of letters only between two changes belongs to neither of them.
        if (head + tail > length)
            head = tail = 0;
        const QStringView view(t);
        appendAll({colourOpenText, view.left(head), colourCloseText, u"<span>",
                   view.mid(head, length - head - tail), u"</span>", colourOpenText,
                   view.right(tail), colourCloseText});
    }
    html += QLatin1String("</html>");
    return html;
}

} // namespace

QString escapeForHtml(const QString &text)
{
    // One pass over the text: long comparisons render megabytes of it.
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += QLatin1String("&amp;");
            break;
        case u'<':
            escaped += QLatin1String("&lt;");
            break;
        case u'>':
            escaped += QLatin1String("&gt;");
            break;
        case u'\n':
            escaped += QLatin1String("<br>");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString renderFirstTextHtml(const QList<DiffSegment> &segments)
{
    return renderTextHtml(segments, DiffOperation::Delete,
                          QLatin1String("<font color=\"#FF0000\">"));
}

QString renderSecondTextHtml(const QList<DiffSegment> &segments)
{
    return renderTextHtml(segments, DiffOperation::Insert,
                          QLatin1String("<font color=\"#0000FF\">"));
}

QString renderSuggestionHtml(const QList<DiffSegment> &segments)
{
    qsizetype total = 0;
    for (const DiffSegment &segment : segments)
        total += segment.text.size();
    QString html;
    html.reserve(total + total / 8 + 80 * segments.size());
    for (const DiffSegment &segment : segments) {
        switch (segment.operation) {
        case DiffOperation::Delete:
            html += QLatin1String("<span><b style=\"text-decoration: line-through;\"><font "
                                  "color=\"#FF0000\">");
            break;
        case DiffOperation::Insert:
            html += QLatin1String("<span><b style=\"text-decoration: underline;\"><font "
                                  "color=\"#0000FF\">");
            break;
        case DiffOperation::Equal:
            html += QLatin1String("<span>");
            break;
        }
        html += escapeForHtml(segment.text);
        html += segment.operation == DiffOperation::Equal ? QLatin1String("</span>")
                                                          : QLatin1String("</font></b></span>");
    }
    return html;
}
