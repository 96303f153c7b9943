#pragma once

#include <QByteArray>

class QTextEdit;

// Puts the bytes of a transcript or text file into edit as the editor opens files: HTML in
// the character set it declares (else ISO-8859-1), anything else as plain text in the
// encoding it is found to be in. GUI thread only.
void loadDocumentBytes(QTextEdit &edit, const QByteArray &bytes);
