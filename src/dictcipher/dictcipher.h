#pragma once

#include <sqlite3.h>

// Entry points of the page cipher. A connection that should be enciphered is opened with
// the VFS named by vfsName() and keyed with key() before its first statement.
namespace dictcipher {

// Registers the cipher VFS (once per process, thread-safe) and returns its name for
// sqlite3_open_v2, or null if SQLite refused it. The VFS passes everything through
// until a file is keyed.
const char *vfsName();

// Attaches the keys derived from passPhrase to the main database of db, whose file must
// have been opened through vfsName(); call it before the first statement. A length of 0
// (or a null pass phrase) leaves the file plain. Returns SQLITE_OK, or SQLITE_MISUSE when
// the main database is not a file of the cipher VFS or already carries keys.
int key(sqlite3 *db, const void *passPhrase, int length);

} // namespace dictcipher
