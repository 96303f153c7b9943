#pragma once

#include <sqlite3.h>

// Entry points of the page cipher. A connection that should be enciphered is opened with
// the VFS named by vfsName() and keyed with key() before its first statement.
namespace dictcipher {

// Registers the cipher VFS (once per process, thread-safe) and returns its name for
// sqlite3_open_v2 (null if SQLite refused it). It passes everything through until a file is keyed.
const char *vfsName();

// Attaches the keys derived from passPhrase to the main database of db, whose file must
// have been opened through vfsName(), before its first statement. A length of 0 (or a null pass
// phrase) leaves the file plain. Returns SQLITE_OK, or SQLITE_MISUSE when the main
// database is not a file of the cipher VFS or has already been read.
int key(sqlite3 *db, const void *passPhrase, int length);

} // namespace dictcipher
