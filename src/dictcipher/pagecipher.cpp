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

template <std::size_t N>
void digest(const EVP_MD *md, const void *data, std::size_t size, std::array<std::uint8_t, N> &out)
{
    unsigned int length = 0;
    EVP_Digest(data, size, out.data(), &length, md, nullptr);
}

} // namespace

DerivedKey deriveKey(const void *passPhrase, int length)
{
    std::array<std::uint8_t, 32> padded{};
    const std::size_t used = std::size_t(std::clamp(length, 0, 32));
    std::memcpy(padded.data(), passPhrase, used);
    std::memcpy(padded.data() + used, pdfPadding.data(), 32 - used);
    DerivedKey key;
    digest(EVP_sha256(), padded.data(), padded.size(), key);
    for (int round = 1; round < 4002; ++round) {
        const DerivedKey previous = key;
        digest(EVP_sha256(), previous.data(), previous.size(), key);
    }
    return key;
}

PageKey pageKey(const DerivedKey &key, std::uint32_t pageNumber)
{
    std::array<std::uint8_t, 40> input{};
    std::memcpy(input.data(), key.data(), key.size());
    putLe32(input.data() + 32, pageNumber);
    // Written letter by letter so the salt does not sit in the binary as one string.
    input[36] = 'V';
    input[37] = 'r';
    input[38] = 'l';
    input[39] = 'n';
    PageKey out;
    digest(EVP_sha256(), input.data(), input.size(), out);
    return out;
}

PageIv pageIv(std::uint32_t pageNumber)
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
    PageIv iv;
    digest(EVP_md5(), seed.data(), seed.size(), iv);
    return iv;
}

PageCipher::PageCipher(const DerivedKey &key) : key_(key), ctx_(EVP_CIPHER_CTX_new()) {}

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
    if (!ctx_ || size % 16 != 0)
        return false;
    const PageKey key = pageKey(key_, pageNumber);
    const PageIv iv = pageIv(pageNumber);
    int produced = 0;
    return EVP_CipherInit_ex(ctx_.get(), EVP_aes_256_cbc(), nullptr, key.data(), iv.data(),
                             encipher) == 1 &&
           EVP_CIPHER_CTX_set_padding(ctx_.get(), 0) == 1 &&
           EVP_CipherUpdate(ctx_.get(), data, &produced, data, int(size)) == 1 &&
           std::size_t(produced) == size;
}

bool PageCipher::transformJournal(std::uint8_t *data, std::size_t size, std::int64_t offset)
{
    if (!ctx_ || offset < 0)
        return false;
    // Page number 0 never names a database page, so its key and vector are free for the
    // journal stream. The counter block is the vector plus the block index of offset.
    const PageKey key = pageKey(key_, 0);
    PageIv counter = pageIv(0);
    std::uint64_t add = std::uint64_t(offset) / 16;
    for (int i = 15; i >= 0 && add != 0; --i) {
        const std::uint64_t sum = counter[std::size_t(i)] + (add & 0xFF);
        counter[std::size_t(i)] = std::uint8_t(sum);
        add = (add >> 8) + (sum >> 8);
    }
    if (EVP_CipherInit_ex(ctx_.get(), EVP_aes_256_ctr(), nullptr, key.data(), counter.data(), 1) !=
        1)
        return false;
    std::array<std::uint8_t, 16> skip{};
    int produced = 0;
    const int skipped = int(offset % 16);
    return EVP_CipherUpdate(ctx_.get(), skip.data(), &produced, skip.data(), skipped) == 1 &&
           EVP_CipherUpdate(ctx_.get(), data, &produced, data, int(size)) == 1 &&
           std::size_t(produced) == size;
}

} // namespace dictcipher
