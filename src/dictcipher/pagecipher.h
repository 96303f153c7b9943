#pragma once

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace dictcipher {

using DerivedKey = std::array<std::uint8_t, 32>;
using PageKey = std::array<std::uint8_t, 32>;
using PageIv = std::array<std::uint8_t, 16>;

// The 32-byte key derived from a pass phrase: the first 32 bytes of it, padded with the
// standard PDF password padding, hashed 4002 times with SHA-256.
DerivedKey deriveKey(const void *passPhrase, int length);

// SHA-256 of the derived key, the page number (little-endian) and our salt.
PageKey pageKey(const DerivedKey &key, std::uint32_t pageNumber);

// MD5 of four steps of a multiplicative generator seeded with the page number.
PageIv pageIv(std::uint32_t pageNumber);

// AES-256-CBC transform of whole database pages, and AES-256-CTR of journal bytes, under
// one derived key. Owns its OpenSSL context; used by one open file at a time (SQLite
// never calls one file from two threads at once).
class PageCipher final
{
public:
    explicit PageCipher(const DerivedKey &key);

    // Transforms size bytes in place (a multiple of 16, at most one page) as the start
    // of page pageNumber. A prefix of a page deciphers on its own, which is how the
    // header is read before the page size is known. False when OpenSSL refuses.
    bool encipherPage(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber);
    bool decipherPage(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber);

    // XORs size bytes at byte offset of a journal file with the journal key stream;
    // the same call enciphers and deciphers.
    bool transformJournal(std::uint8_t *data, std::size_t size, std::int64_t offset);

private:
    bool cbc(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber, int encipher);

    struct CtxFree
    {
        void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
    };
    DerivedKey key_;
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx_;
};

} // namespace dictcipher
