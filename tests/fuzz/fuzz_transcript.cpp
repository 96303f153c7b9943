// Loading a transcript into the editor's document: the bytes go through the editor's own
// loading (character set of the HTML, plain-text detection) into a spell-checking edit
// whose highlighter marks every word, and the document is written back as the editor saves.
#include "fuzzenvironment.h"

#include "editor/documentbytes.h"
#include "spelling/ctextcheckeredit.h"

#include <QApplication>
#include <QFile>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

namespace {

CTextCheckerEdit &edit()
{
    static CTextCheckerEdit *const e = [] {
        fuzzenv::application<QApplication>();
        const QDir dir(fuzzenv::enterWorkingFolder());
        // the program's American pair, where the run tree puts it, and no learner's word list
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
        if (!dir.mkpath(QStringLiteral("spell/dict")))
            abort();
        for (const char *ext : {".aff", ".dic"}) {
            const QString name = QLatin1String("en_US") + QLatin1String(ext);
            if (!QFile::link(QStringLiteral(VORLYN_HUNSPELL_DIR "/") + name,
                             dir.filePath(QStringLiteral("spell/dict/") + name)))
                abort();
        }
        return new CTextCheckerEdit;
    }();
    return *e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CTextCheckerEdit &e = edit();
    loadDocumentBytes(e, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    e.document()->toHtml();
    e.clear();
    return 0;
}
