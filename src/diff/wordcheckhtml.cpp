#include "diff/wordcheckhtml.h"

#include "diff/diffrender.h"
#include "diff/wordcheck.h"

#include <QUrl>

QString renderWordCheckHtml(const WordCheck &check)
{
    const QLatin1String red("#FF0000");
    const QLatin1String blue("#0000FF");
    const QLatin1String misspelt(misspellingColor);
    const auto struck = [](const QString &word, QLatin1String color) {
        return QLatin1String("<b style=\"text-decoration: line-through;\"><font color=\"") + color +
               QLatin1String("\">") + escapeForHtml(word) + QLatin1String("</font></b>");
    };
    const auto link = [](const CheckedWord &word, QLatin1String color) {
        return QLatin1String("<a href=\"lookup:") +
               QString::fromLatin1(QUrl::toPercentEncoding(word.lookup)) +
               QLatin1String("\"><b style=\"text-decoration: underline;\"><font color=\"") + color +
               QLatin1String("\">") + escapeForHtml(word.reference) +
               QLatin1String("</font></b></a>");
    };
    QString html;
    for (const CheckedWord &word : check.words) {
        if (!html.isEmpty())
            html += QLatin1Char(' ');
        switch (word.mark) {
        case WordMark::Correct:
            html += escapeForHtml(word.reference);
            break;
        case WordMark::Missing:
            html += link(word, blue);
            break;
        case WordMark::Wrong:
        case WordMark::Spacing:
            html += struck(word.typed, red) + QLatin1Char(' ') + link(word, blue);
            break;
        case WordMark::Spelling:
            html += struck(word.typed, misspelt) + QLatin1Char(' ') + link(word, misspelt);
            break;
        case WordMark::Extra:
            html += struck(word.typed, red);
            break;
        }
    }
    return html;
}

QString lookupOfLink(const QUrl &link)
{
    return link.scheme() == QLatin1String("lookup") ? link.path(QUrl::FullyDecoded) : QString();
}
