#pragma once

#include "diff/diffengine.h"

#include <QList>
#include <QString>

// HTML views of one comparison result, for the comparison dialog's text widgets. Pure
// functions of the segment list; callable from any thread.

// Text1: kept and deleted text, with deletions and the letters of the words they change
// in red.
QString renderFirstTextHtml(const QList<DiffSegment> &segments);
// Text2: kept and inserted text, with insertions and the letters of the words they change
// in blue.
QString renderSecondTextHtml(const QList<DiffSegment> &segments);
// Both texts merged: deletions struck through in red, insertions underlined in blue.
QString renderSuggestionHtml(const QList<DiffSegment> &segments);

// Escapes the markup characters and turns line feeds into line breaks.
QString escapeForHtml(const QString &text);
