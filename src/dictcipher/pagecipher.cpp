#include "dictcipher/pagecipher.h"

#include <algorithm>
#include <cstring>

namespace dictcipher {

namespace {

constexpr std::array<std::uint8_t, 32> pdfPadding{
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

void putLe32(std::uint8_t *out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = std::uint8_t(value >> (8 * i));
}

} // namespace

DerivedKey deriveKey(const void *passPhrase, int length)
{
    DerivedKey key{};
    Digests().deriveKey(passPhrase, length, key);
    return key;
}

PageKey pageKey(const DerivedKey &key, std::uint32_t pageNumber)
{
    PageKey out{};
    Digests().pageKey(key, pageNumber, out);
    return out;
}

PageIv pageIv(std::uint32_t pageNumber)
{
    PageIv iv{};
    Digests().pageIv(pageNumber, iv);
    return iv;
}

Digests::Digests()
    : sha256_(EVP_MD_fetch(nullptr, "SHA256", nullptr)),
      md5_(EVP_MD_fetch(nullptr, "MD5", nullptr)), ctx_(EVP_MD_CTX_new())
{}

template <std::size_t N>
bool Digests::hash(const EVP_MD *md, const void *data, std::size_t size,
                   std::array<std::uint8_t, N> &out)
{
    unsigned int length = 0;
    return md && ctx_ && EVP_DigestInit_ex(ctx_.get(), md, nullptr) == 1 &&
           EVP_DigestUpdate(ctx_.get(), data, size) == 1 &&
           EVP_DigestFinal_ex(ctx_.get(), out.data(), &length) == 1 && length == N;
}

bool Digests::deriveKey(const void *passPhrase, int length, DerivedKey &out)
{
    std::array<std::uint8_t, 32> padded{};
    const std::size_t used = std::size_t(std::clamp(length, 0, 32));
    std::memcpy(padded.data(), passPhrase, used);
    std::memcpy(padded.data() + used, pdfPadding.data(), 32 - used);
    if (!hash(sha256_.get(), padded.data(), padded.size(), out))
        return false;
    for (int round = 1; round < 4002; ++round) {
        const DerivedKey previous = out;
        if (!hash(sha256_.get(), previous.data(), previous.size(), out))
            return false;
    }
    return true;
}

bool Digests::pageKey(const DerivedKey &key, std::uint32_t pageNumber, PageKey &out)
{
    std::array<std::uint8_t, 40> input{};
    std::memcpy(input.data(), key.data(), key.size());
    putLe32(input.data() + 32, pageNumber);
    // Written letter by letter so the salt does not sit in the binary as one string.
    input[36] = 'V';
    input[37] = 'r';
    input[38] = 'l';
    input[39] = 'n';
    return hash(sha256_.get(), input.data(), input.size(), out);
}

bool Digests::pageIv(std::uint32_t pageNumber, PageIv &out)
{
    std::array<std::uint8_t, 16> seed{};
    // 64-bit so that page numbers near 2^32 do not overflow before the first reduction.
    std::int64_t z = std::int64_t(pageNumber) + 1;
    for (int step = 0; step < 4; ++step) {
        z = 40692 * (z % 52774) - 3791 * (z / 52774);
        if (z < 0)
            z += 2147483399;
        putLe32(seed.data() + 4 * step, std::uint32_t(z));
    }
    return hash(md5_.get(), seed.data(), seed.size(), out);
}

PageCipher::PageCipher(const DerivedKey &key)
    : key_(key), aesCbc_(EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr)),
      aesCtr_(EVP_CIPHER_fetch(nullptr, "AES-256-CTR", nullptr)), cbc_(EVP_CIPHER_CTX_new()),
      ctr_(EVP_CIPHER_CTX_new())
{
    // Padding stays off across the per-page re-initialisations, which change only key,
    // vector and direction.
    if (!aesCbc_ || !cbc_ ||
        EVP_CipherInit_ex2(cbc_.get(), aesCbc_.get(), nullptr, nullptr, 1, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(cbc_.get(), 0) != 1)
        cbc_.reset();
    // Page number 0 never names a database page, so its key and vector are free for the
    // journal stream.
    PageKey journalKey{};
    if (!aesCtr_ || !ctr_ || !digests_.pageKey(key_, 0, journalKey) ||
        !digests_.pageIv(0, journalIv_) ||
        EVP_CipherInit_ex2(ctr_.get(), aesCtr_.get(), journalKey.data(), nullptr, 1, nullptr) != 1)
        ctr_.reset();
}

bool PageCipher::encipherPage(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber)
{
    return cbc(data, size, pageNumber, 1);
}

bool PageCipher::decipherPage(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber)
{
    return cbc(data, size, pageNumber, 0);
}

bool PageCipher::cbc(std::uint8_t *data, std::size_t size, std::uint32_t pageNumber, int encipher)
{
    if (!cbc_ || size % 16 != 0)
        return false;
    PageKey key;
    PageIv iv;
    int produced = 0;
    return digests_.pageKey(key_, pageNumber, key) && digests_.pageIv(pageNumber, iv) &&
           EVP_CipherInit_ex2(cbc_.get(), nullptr, key.data(), iv.data(), encipher, nullptr) == 1 &&
           EVP_CipherUpdate(cbc_.get(), data, &produced, data, int(size)) == 1 &&
           std::size_t(produced) == size;
}

bool PageCipher::transformJournal(std::uint8_t *data, std::size_t size, std::int64_t offset)
{
    if (!ctr_ || offset < 0)
        return false;
    // The counter block is the journal vector plus the block index of offset.
    PageIv counter = journalIv_;
    std::uint64_t add = std::uint64_t(offset) / 16;
    for (int i = 15; i >= 0 && add != 0; --i) {
        const std::uint64_t sum = counter[std::size_t(i)] + (add & 0xFF);
        counter[std::size_t(i)] = std::uint8_t(sum);
        add = (add >> 8) + (sum >> 8);
    }
    if (EVP_CipherInit_ex2(ctr_.get(), nullptr, nullptr, counter.data(), 1, nullptr) != 1)
        return false;
    std::array<std::uint8_t, 16> skip{};
    int produced = 0;
    const int skipped = int(offset % 16);
    return EVP_CipherUpdate(ctr_.get(), skip.data(), &produced, skip.data(), skipped) == 1 &&
           EVP_CipherUpdate(ctr_.get(), data, &produced, data, int(size)) == 1 &&
           std::size_t(produced) == size;
}

} // namespace dictcipher
