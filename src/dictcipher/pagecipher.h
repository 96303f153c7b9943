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

// The hashes behind the three functions above. Owns SHA-256 and MD5 fetched from OpenSSL
// once (OpenSSL 3 looks an algorithm up again on every call that names it by its legacy
// getter) and one digest context that every hash re-initialises. Used by one thread at a
// time.
class Digests final
{
public:
    Digests();

    // Each is false, with out unspecified, when OpenSSL refuses.
    bool deriveKey(const void *passPhrase, int length, DerivedKey &out);
    bool pageKey(const DerivedKey &key, std::uint32_t pageNumber, PageKey &out);
    bool pageIv(std::uint32_t pageNumber, PageIv &out);

private:
    template <std::size_t N>
    bool hash(const EVP_MD *md, const void *data, std::size_t size,
              std::array<std::uint8_t, N> &out);

    struct MdFree
    {
        void operator()(EVP_MD *md) const { EVP_MD_free(md); }
    };
    struct MdCtxFree
    {
        void operator()(EVP_MD_CTX *ctx) const { EVP_MD_CTX_free(ctx); }
    };
    // The context uses the fetched algorithms, so these are declared first and freed last.
    std::unique_ptr<EVP_MD, MdFree> sha256_;
    std::unique_ptr<EVP_MD, MdFree> md5_;
    std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx_;
};

// AES-256-CBC transform of whole database pages, and AES-256-CTR of journal bytes, under
// one derived key. Owns its digests and two cipher contexts, set up once and given only a
// new key or vector per call, so one instance must never be used from two threads at
// once: each open file of the cipher VFS has its own, and SQLite never calls one file from
// two threads at once.
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

    // The derived key, fixed at construction; a journal takes its database's from here.
    const DerivedKey &key() const { return key_; }

private:
    bool cbc(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber, int encipher);

    struct CipherFree
    {
        void operator()(EVP_CIPHER *cipher) const { EVP_CIPHER_free(cipher); }
    };
    struct CtxFree
    {
        void operator()(EVP_CIPHER_CTX *ctx) const { EVP_CIPHER_CTX_free(ctx); }
    };
    using Ctx = std::unique_ptr<EVP_CIPHER_CTX, CtxFree>;

    DerivedKey key_;
    Digests digests_;
    // The contexts use the fetched algorithms, so these are declared first and freed last.
    std::unique_ptr<EVP_CIPHER, CipherFree> aesCbc_;
    std::unique_ptr<EVP_CIPHER, CipherFree> aesCtr_;
    // Null when OpenSSL could not set it up; the calls that need it then return false.
    Ctx cbc_;
    // Keyed once with the journal key; each call sets only its counter block.
    Ctx ctr_;
    PageIv journalIv_{};
};

} // namespace dictcipher
