#include "dictcipher/dictcipher.h"
#include "dictcipher/pagecipher.h"

#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace dictcipher {

namespace {

// Journals (rollback journal and WAL) are enciphered too, because they hold copies of
// database pages that stay on disk after a crash. Their records are not page aligned (a
// rollback record is page number, page, checksum; a WAL frame has a 24-byte header), so
// instead of the page transform they get AES-CTR over the file's byte offsets, which works
// for any offset and length and leaves file sizes, and with them SQLite's journal logic,
// untouched. A journal borrows the keys of its keyed database file through the registry
// below, so a hot journal left by a crash is read back by the next keyed connection.
// Temporary files (statement journals, the copy VACUUM makes, sort spills) belong to one
// open file and die with it, so each gets a random key of its own: nothing else ever needs
// to read them. The super-journal holds only file names and stays plain.

constexpr int minPageSize = 512;
constexpr int maxPageSize = 65536;

bool isPageSize(int size)
{
    return size >= minPageSize && size <= maxPageSize && (size & (size - 1)) == 0;
}

// One open file of the cipher VFS; the real file of the default VFS follows it in memory.
// Lives on whatever thread SQLite uses the connection from, one call at a time.
struct CipherFile
{
    sqlite3_file base;
    sqlite3_file *real;
    bool isMainDb;
    std::string dbName;
    std::unique_ptr<PageCipher> cipher;
    // Enciphered copy of a page being written, so the caller's page stays plain.
    std::unique_ptr<std::uint8_t[]> pageBuffer;
};

// Keyed main database files by file name, so a journal opened later finds its keys.
// Guarded by registryMutex; entries are added by key() and removed on close. A file's
// cipher is set before its entry is added and destroyed only after the entry is removed,
// and its key never changes, so a journal may copy the key while it holds the mutex.
std::mutex registryMutex;
std::multimap<std::string, CipherFile *> registry;

sqlite3_vfs *realVfs(sqlite3_vfs *vfs)
{
    return static_cast<sqlite3_vfs *>(vfs->pAppData);
}

CipherFile *self(sqlite3_file *file)
{
    return reinterpret_cast<CipherFile *>(file);
}

void setKey(CipherFile *file, const DerivedKey &key)
{
    file->cipher = std::make_unique<PageCipher>(key);
    file->pageBuffer = std::make_unique<std::uint8_t[]>(maxPageSize);
}

int xClose(sqlite3_file *file)
{
    CipherFile *f = self(file);
    if (f->isMainDb) {
        const std::lock_guard lock(registryMutex);
        for (auto it = registry.begin(); it != registry.end(); ++it) {
            if (it->second == f) {
                registry.erase(it);
                break;
            }
        }
    }
    const int rc = f->real->pMethods ? f->real->pMethods->xClose(f->real) : SQLITE_OK;
    f->~CipherFile();
    return rc;
}

// Reads the page of size pageSize (page 1 prefix when pageSize is 0) that holds
// [offset, offset + amount) and copies that range out deciphered.
int readThroughPage(CipherFile *f, void *out, int amount, sqlite3_int64 offset, int pageSize)
{
    sqlite3_int64 start = 0;
    int length = int((offset + amount + 15) / 16 * 16);
    std::uint32_t pageNumber = 1;
    if (pageSize != 0) {
        start = offset / pageSize * pageSize;
        length = pageSize;
        pageNumber = std::uint32_t(offset / pageSize + 1);
    }
    if (offset + amount > start + length || length > maxPageSize)
        return SQLITE_IOERR_READ;
    std::uint8_t *page = f->pageBuffer.get();
    const int rc = f->real->pMethods->xRead(f->real, page, length, start);
    if (rc != SQLITE_OK) {
        std::memset(out, 0, std::size_t(amount));
        return rc;
    }
    if (!f->cipher->decipherPage(page, std::size_t(length), pageNumber))
        return SQLITE_IOERR_READ;
    std::memcpy(out, page + (offset - start), std::size_t(amount));
    return SQLITE_OK;
}

// The page size recorded in the enciphered header (bytes 16 and 17 of page 1), found by
// deciphering the first two blocks; 0 when the file is too short or the header is noise.
int headerPageSize(CipherFile *f)
{
    std::array<std::uint8_t, 32> head{};
    if (f->real->pMethods->xRead(f->real, head.data(), int(head.size()), 0) != SQLITE_OK ||
        !f->cipher->decipherPage(head.data(), head.size(), 1))
        return 0;
    const int size = head[16] << 8 | head[17];
    if (size == 1)
        return maxPageSize;
    return isPageSize(size) ? size : 0;
}

int xRead(sqlite3_file *file, void *out, int amount, sqlite3_int64 offset)
{
    CipherFile *f = self(file);
    if (!f->cipher)
        return f->real->pMethods->xRead(f->real, out, amount, offset);
    auto *bytes = static_cast<std::uint8_t *>(out);
    if (!f->isMainDb) {
        sqlite3_int64 size = 0;
        int rc = f->real->pMethods->xFileSize(f->real, &size);
        if (rc != SQLITE_OK)
            return rc;
        rc = f->real->pMethods->xRead(f->real, out, amount, offset);
        // Only the bytes that exist were enciphered; the zeros past the end stay zeros.
        const sqlite3_int64 present =
            std::max<sqlite3_int64>(0, std::min<sqlite3_int64>(amount, size - offset));
        if ((rc == SQLITE_OK || rc == SQLITE_IOERR_SHORT_READ) &&
            !f->cipher->transformJournal(bytes, std::size_t(present), offset))
            return SQLITE_IOERR_READ;
        return rc;
    }
    // SQLite reads whole pages, except the header and the change counter inside page 1.
    if (isPageSize(amount) && offset % amount == 0) {
        const int rc = f->real->pMethods->xRead(f->real, out, amount, offset);
        sqlite3_int64 present = amount;
        if (rc == SQLITE_IOERR_SHORT_READ) {
            // SQLite may ask for page 1 with a page size guessed before keying. The bytes
            // that exist decipher as a prefix of the page; what lies past the end stays
            // zero, as SQLite expects of a short read.
            sqlite3_int64 size = 0;
            if (f->real->pMethods->xFileSize(f->real, &size) != SQLITE_OK)
                return SQLITE_IOERR_READ;
            present = std::clamp<sqlite3_int64>(size - offset, 0, amount) / 16 * 16;
            std::memset(bytes + present, 0, std::size_t(amount - present));
        } else if (rc != SQLITE_OK) {
            return rc;
        }
        return f->cipher->decipherPage(bytes, std::size_t(present),
                                       std::uint32_t(offset / amount + 1))
                   ? rc
                   : SQLITE_IOERR_READ;
    }
    if (offset + amount <= minPageSize)
        return readThroughPage(f, out, amount, offset, 0);
    return readThroughPage(f, out, amount, offset, headerPageSize(f));
}

int xWrite(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    CipherFile *f = self(file);
    if (!f->cipher)
        return f->real->pMethods->xWrite(f->real, data, amount, offset);
    std::uint8_t *copy = f->pageBuffer.get();
    if (!f->isMainDb) {
        if (amount > maxPageSize) {
            // Journal writes are at most one record long; split anything larger anyway.
            const int half = amount / 2;
            const int rc = xWrite(file, data, half, offset);
            return rc != SQLITE_OK ? rc
                                   : xWrite(file, static_cast<const std::uint8_t *>(data) + half,
                                            amount - half, offset + half);
        }
        std::memcpy(copy, data, std::size_t(amount));
        if (!f->cipher->transformJournal(copy, std::size_t(amount), offset))
            return SQLITE_IOERR_WRITE;
        return f->real->pMethods->xWrite(f->real, copy, amount, offset);
    }
    // Anything but a whole page would go to disk plain or break a page apart.
    if (!isPageSize(amount) || offset % amount != 0)
        return SQLITE_IOERR_WRITE;
    std::memcpy(copy, data, std::size_t(amount));
    if (!f->cipher->encipherPage(copy, std::size_t(amount), std::uint32_t(offset / amount + 1)))
        return SQLITE_IOERR_WRITE;
    return f->real->pMethods->xWrite(f->real, copy, amount, offset);
}

int xTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    return self(file)->real->pMethods->xTruncate(self(file)->real, size);
}
int xSync(sqlite3_file *file, int flags)
{
    return self(file)->real->pMethods->xSync(self(file)->real, flags);
}
int xFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return self(file)->real->pMethods->xFileSize(self(file)->real, size);
}
int xLock(sqlite3_file *file, int level)
{
    return self(file)->real->pMethods->xLock(self(file)->real, level);
}
int xUnlock(sqlite3_file *file, int level)
{
    return self(file)->real->pMethods->xUnlock(self(file)->real, level);
}
int xCheckReservedLock(sqlite3_file *file, int *out)
{
    return self(file)->real->pMethods->xCheckReservedLock(self(file)->real, out);
}
int xFileControl(sqlite3_file *file, int op, void *arg)
{
    return self(file)->real->pMethods->xFileControl(self(file)->real, op, arg);
}
int xSectorSize(sqlite3_file *file)
{
    return self(file)->real->pMethods->xSectorSize(self(file)->real);
}
int xDeviceCharacteristics(sqlite3_file *file)
{
    return self(file)->real->pMethods->xDeviceCharacteristics(self(file)->real);
}
// The shared-memory index of WAL mode holds page numbers and checksums, no page content.
int xShmMap(sqlite3_file *file, int page, int size, int extend, void volatile **out)
{
    return self(file)->real->pMethods->xShmMap(self(file)->real, page, size, extend, out);
}
int xShmLock(sqlite3_file *file, int offset, int n, int flags)
{
    return self(file)->real->pMethods->xShmLock(self(file)->real, offset, n, flags);
}
void xShmBarrier(sqlite3_file *file)
{
    self(file)->real->pMethods->xShmBarrier(self(file)->real);
}
int xShmUnmap(sqlite3_file *file, int deleteFlag)
{
    return self(file)->real->pMethods->xShmUnmap(self(file)->real, deleteFlag);
}

// Version 2: without xFetch SQLite never maps the file into memory, where it would see
// enciphered pages.
const sqlite3_io_methods ioMethods = {2,
                                      xClose,
                                      xRead,
                                      xWrite,
                                      xTruncate,
                                      xSync,
                                      xFileSize,
                                      xLock,
                                      xUnlock,
                                      xCheckReservedLock,
                                      xFileControl,
                                      xSectorSize,
                                      xDeviceCharacteristics,
                                      xShmMap,
                                      xShmLock,
                                      xShmBarrier,
                                      xShmUnmap,
                                      nullptr,
                                      nullptr};

int xOpen(sqlite3_vfs *vfs, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *f = new (file) CipherFile{};
    f->real = reinterpret_cast<sqlite3_file *>(f + 1);
    f->isMainDb = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const int rc = realVfs(vfs)->xOpen(realVfs(vfs), name, f->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        f->~CipherFile();
        file->pMethods = nullptr;
        return rc;
    }
    file->pMethods = &ioMethods;
    if (f->isMainDb && name)
        f->dbName = name;
    constexpr int transient = SQLITE_OPEN_TEMP_DB | SQLITE_OPEN_TEMP_JOURNAL |
                              SQLITE_OPEN_TRANSIENT_DB | SQLITE_OPEN_SUBJOURNAL;
    if (flags & transient) {
        DerivedKey key;
        if (RAND_bytes(key.data(), int(key.size())) != 1) {
            xClose(file);
            file->pMethods = nullptr;
            return SQLITE_CANTOPEN;
        }
        setKey(f, key);
    }
    if ((flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL)) && name) {
        const std::string dbName = sqlite3_filename_database(name);
        const std::lock_guard lock(registryMutex);
        const auto it = registry.find(dbName);
        if (it != registry.end())
            setKey(f, it->second->cipher->key());
    }
    return SQLITE_OK;
}

int xDelete(sqlite3_vfs *vfs, const char *name, int syncDir)
{
    return realVfs(vfs)->xDelete(realVfs(vfs), name, syncDir);
}
int xAccess(sqlite3_vfs *vfs, const char *name, int flags, int *out)
{
    return realVfs(vfs)->xAccess(realVfs(vfs), name, flags, out);
}
int xFullPathname(sqlite3_vfs *vfs, const char *name, int size, char *out)
{
    return realVfs(vfs)->xFullPathname(realVfs(vfs), name, size, out);
}
void *xDlOpen(sqlite3_vfs *vfs, const char *name)
{
    return realVfs(vfs)->xDlOpen(realVfs(vfs), name);
}
void xDlError(sqlite3_vfs *vfs, int size, char *out)
{
    realVfs(vfs)->xDlError(realVfs(vfs), size, out);
}
void (*xDlSym(sqlite3_vfs *vfs, void *handle, const char *symbol))(void)
{
    return realVfs(vfs)->xDlSym(realVfs(vfs), handle, symbol);
}
void xDlClose(sqlite3_vfs *vfs, void *handle)
{
    realVfs(vfs)->xDlClose(realVfs(vfs), handle);
}
int xRandomness(sqlite3_vfs *vfs, int size, char *out)
{
    return realVfs(vfs)->xRandomness(realVfs(vfs), size, out);
}
int xSleep(sqlite3_vfs *vfs, int microseconds)
{
    return realVfs(vfs)->xSleep(realVfs(vfs), microseconds);
}
int xCurrentTime(sqlite3_vfs *vfs, double *out)
{
    return realVfs(vfs)->xCurrentTime(realVfs(vfs), out);
}
int xGetLastError(sqlite3_vfs *vfs, int size, char *out)
{
    return realVfs(vfs)->xGetLastError(realVfs(vfs), size, out);
}
int xCurrentTimeInt64(sqlite3_vfs *vfs, sqlite3_int64 *out)
{
    return realVfs(vfs)->xCurrentTimeInt64(realVfs(vfs), out);
}

sqlite3_vfs makeVfs()
{
    sqlite3_initialize();
    sqlite3_vfs *real = sqlite3_vfs_find(nullptr);
    sqlite3_vfs v{};
    v.iVersion = 2;
    v.szOsFile = int(sizeof(CipherFile)) + real->szOsFile;
    v.mxPathname = real->mxPathname;
    v.zName = "vorlyn-cipher";
    v.pAppData = real;
    v.xOpen = xOpen;
    v.xDelete = xDelete;
    v.xAccess = xAccess;
    v.xFullPathname = xFullPathname;
    v.xDlOpen = xDlOpen;
    v.xDlError = xDlError;
    v.xDlSym = xDlSym;
    v.xDlClose = xDlClose;
    v.xRandomness = xRandomness;
    v.xSleep = xSleep;
    v.xCurrentTime = xCurrentTime;
    v.xGetLastError = xGetLastError;
    v.xCurrentTimeInt64 = xCurrentTimeInt64;
    return v;
}

} // namespace

const char *vfsName()
{
    static sqlite3_vfs vfs = makeVfs();
    static const int registered = sqlite3_vfs_register(&vfs, 0);
    return registered == SQLITE_OK ? vfs.zName : nullptr;
}

int key(sqlite3 *db, const void *passPhrase, int length)
{
    sqlite3_file *file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        file->pMethods != &ioMethods)
        return SQLITE_MISUSE;
    CipherFile *f = self(file);
    // Opening read the header without keys, but only to guess a page size, which the
    // first read transaction corrects from the deciphered header. Keys are set once.
    if (f->cipher)
        return SQLITE_MISUSE;
    if (!passPhrase || length <= 0)
        return SQLITE_OK;
    setKey(f, deriveKey(passPhrase, length));
    const std::lock_guard lock(registryMutex);
    registry.emplace(f->dbName, f);
    return SQLITE_OK;
}

} // namespace dictcipher
