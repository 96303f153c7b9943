// Reading the dictionary database through the page cipher, then searching it as the lookup
// does. The first byte chooses what the rest is: even, the file as stored (enciphered), so
// damage falls on the cipher text; odd, a plain database that is enciphered here page by
// page, so damage falls on what SQLite reads, with the page size of its header or, from
// the first byte, a wrong one. The file may be of any length.
#include "fuzzenvironment.h"

#include "dictcipher/pagecipher.h"
#include "phonetic/dictionarypassphrase.h"
#include "phonetic/phoneticdictionary.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

// The page size the plain header states (bytes 16 and 17; 1 means 65536), else 4096.
size_t headerPageSize(const QByteArray &plain)
{
    if (plain.size() < 18)
        return 4096;
    const int stated = uint8_t(plain[16]) << 8 | uint8_t(plain[17]);
    if (stated == 1)
        return 65536;
    return stated >= 512 && (stated & (stated - 1)) == 0 ? size_t(stated) : 4096;
}

QByteArray encipher(QByteArray plain, unsigned sizeChoice)
{
    static dictcipher::PageCipher cipher(
        dictcipher::deriveKey(dictionaryPassPhrase, int(sizeof dictionaryPassPhrase - 1)));
    const size_t pageSize = sizeChoice == 0 ? headerPageSize(plain) : size_t(256) << sizeChoice;
    auto *bytes = reinterpret_cast<uint8_t *>(plain.data());
    const size_t total = size_t(plain.size());
    for (size_t start = 0; start < total; start += pageSize) {
        // a last part page is enciphered as far as whole blocks go, like a file cut short
        const size_t length = std::min(pageSize, total - start) / 16 * 16;
        if (length > 0 &&
            !cipher.encipherPage(bytes + start, length, uint32_t(start / pageSize + 1)))
            abort();
    }
    return plain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        fuzzenv::application<QCoreApplication>();
        return QDir(fuzzenv::enterWorkingFolder()).mkpath(QStringLiteral("dict"));
    }();
    if (!ready || size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const QByteArray file = data[0] % 2 == 0 ? rest : encipher(rest, (data[0] >> 1) % 9);
    // a header that asks for a write-ahead log makes SQLite leave files beside the database
    for (const char *leftover : {"dict/words.db-wal", "dict/words.db-shm", "dict/words.db-journal"})
        QFile::remove(QLatin1String(leftover));
    {
        QFile out(QStringLiteral("dict/words.db"));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size())
            abort();
    }
    PhoneticDictionary dictionary;
    dictionary.lookupWord(QByteArrayLiteral("record"));
    dictionary.searchByCaption(QByteArrayLiteral("^re"), PhoneticDictionary::AllRows);
    dictionary.searchByPhonetic(QStringLiteral("r\u026Ak"), PhoneticDictionary::Limited);
    return 0;
}
