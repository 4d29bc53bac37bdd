#include "stations/des_my.h"

namespace {

// Tables of FIPS 46; bit 1 is the most significant bit of the input.
constexpr std::uint8_t IP[64] = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t FP[64] = {
    40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr std::uint8_t E[48] = {
    32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
    12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
    22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

constexpr std::uint8_t P[32] = {
    16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t PC1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
    10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
    14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t PC2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10,
    23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t Rotations[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t S[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
     0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
     4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
     15, 12, 8,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8, 5,  11, 12, 4,  15,
     13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2, 12, 1,  10, 14, 9,
     10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3, 14, 5,  2,  8,  4,
     3,  15, 0,  6, 10, 1,  13, 8,  9,  4, 5, 11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
     13, 0,  11, 7,  4,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
     1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
     6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
    {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1, 9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7, 4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Picks `outWidth` bits of `in` (whose width is `inWidth`) by a 1-based table.
constexpr std::uint64_t Permute(std::uint64_t in, int inWidth, const std::uint8_t *table, int outWidth)
{
    std::uint64_t out = 0;
    for (int i = 0; i < outWidth; ++i)
        out = (out << 1) | ((in >> (inWidth - table[i])) & 1u);
    return out;
}

// S-box j followed by P, for every 6-bit input: SP[j][v] is P applied to a
// 32-bit word that holds S(j)(v) in its 4-bit group j and zeros elsewhere.
using TSpTable = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr TSpTable MakeSpTable()
{
    TSpTable t{};
    for (int j = 0; j < 8; ++j) {
        for (int v = 0; v < 64; ++v) {
            const int row = ((v >> 4) & 2) | (v & 1);
            const int col = (v >> 1) & 0xF;
            const std::uint64_t s = S[j][row * 16 + col];
            const std::uint64_t word = s << ((7 - j) * 4);
            t[j][v] = static_cast<std::uint32_t>(Permute(word, 32, P, 32));
        }
    }
    return t;
}

constexpr TSpTable SP = MakeSpTable();

// A permutation as byte lookups: PermTable[i][b] is the output of the input
// whose byte i (0 = most significant) is b and whose other bytes are zero.
template <std::size_t InBytes> using TPermTable = std::array<std::array<std::uint64_t, 256>, InBytes>;

template <std::size_t InBytes>
constexpr TPermTable<InBytes> MakePermTable(const std::uint8_t *table, int outWidth)
{
    TPermTable<InBytes> t{};
    for (std::size_t i = 0; i < InBytes; ++i)
        for (std::size_t b = 0; b < 256; ++b)
            t[i][b] = Permute(static_cast<std::uint64_t>(b) << (8 * (InBytes - 1 - i)), static_cast<int>(8 * InBytes),
                              table, outWidth);
    return t;
}

template <std::size_t InBytes> std::uint64_t ApplyPerm(const TPermTable<InBytes> &t, std::uint64_t in)
{
    std::uint64_t out = 0;
    for (std::size_t i = 0; i < InBytes; ++i)
        out |= t[i][(in >> (8 * (InBytes - 1 - i))) & 0xFF];
    return out;
}

constexpr TPermTable<8> IpTable = MakePermTable<8>(IP, 64);
constexpr TPermTable<8> FpTable = MakePermTable<8>(FP, 64);
constexpr TPermTable<4> ETable = MakePermTable<4>(E, 48);
constexpr TPermTable<8> Pc1Table = MakePermTable<8>(PC1, 56);
constexpr TPermTable<7> Pc2Table = MakePermTable<7>(PC2, 48);

std::uint64_t LoadBlock(const unsigned char *p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

void StoreBlock(std::uint64_t v, char *p)
{
    for (int i = 7; i >= 0; --i) {
        p[i] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
}

} // namespace

const TDesVariant DesMyVariant = {{'v', 'o', 'r', 'p', 'e', 'k'}, 0x1B};
const TDesVariant DesStandardVariant = {{0, 0, 0, 0, 0, 0}, 0};

const std::string &DataCipherKey()
{
    static const std::string key("\x9c\xa3\xd1\xf4\xb8\xe6\xc7\x5a", 8);
    return key;
}

TDesSubkeys DesKeySchedule(const std::string &keyText)
{
    unsigned char key[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 8 && i < keyText.size(); ++i)
        key[i] = static_cast<unsigned char>(keyText[i]);
    const std::uint64_t cd = ApplyPerm(Pc1Table, LoadBlock(key));
    std::uint32_t c = static_cast<std::uint32_t>(cd >> 28) & 0x0FFFFFFFu;
    std::uint32_t d = static_cast<std::uint32_t>(cd) & 0x0FFFFFFFu;
    TDesSubkeys k{};
    for (int i = 0; i < 16; ++i) {
        const int r = Rotations[i];
        c = ((c << r) | (c >> (28 - r))) & 0x0FFFFFFFu;
        d = ((d << r) | (d >> (28 - r))) & 0x0FFFFFFFu;
        const std::uint64_t joined = (static_cast<std::uint64_t>(c) << 28) | d;
        k[i] = ApplyPerm(Pc2Table, joined);
    }
    return k;
}

std::uint64_t DesCryptBlock(std::uint64_t block, const TDesSubkeys &subkeys, bool decipher,
                            const TDesVariant &variant)
{
    // Changes 1 and 2 are XORs on the S-boxes' 48-bit input, so they fold
    // into one word applied with every subkey.
    std::uint64_t constant = 0;
    for (std::uint8_t b : variant.RoundConstant)
        constant = (constant << 8) | b;
    constant ^= static_cast<std::uint64_t>(variant.Tweak & 0x3F) << 18; // fifth group
    const std::uint32_t tweakWord = 0x01010101u * variant.Tweak;          // change 3

    const std::uint64_t ip = ApplyPerm(IpTable, block);
    std::uint32_t l = static_cast<std::uint32_t>(ip >> 32);
    std::uint32_t r = static_cast<std::uint32_t>(ip);
    for (int i = 0; i < 16; ++i) {
        const std::uint64_t k = subkeys[decipher ? 15 - i : i];
        const std::uint64_t x = ApplyPerm(ETable, r) ^ k ^ constant;
        std::uint32_t f = 0;
        for (int j = 0; j < 8; ++j)
            f |= SP[j][(x >> (42 - 6 * j)) & 0x3F];
        f ^= tweakWord;
        const std::uint32_t next = l ^ f;
        l = r;
        r = next;
    }
    const std::uint64_t preOutput = (static_cast<std::uint64_t>(r) << 32) | l;
    return ApplyPerm(FpTable, preOutput);
}

std::string DecipherBytes(const std::string &data, const std::string &key,
                          const TDesVariant &variant)
{
    const TDesSubkeys subkeys = DesKeySchedule(key);
    const std::size_t blocks = data.size() / 8;
    std::string out(blocks * 8, '\0');
    const auto *in = reinterpret_cast<const unsigned char *>(data.data());
    for (std::size_t b = 0; b < blocks; ++b)
        StoreBlock(DesCryptBlock(LoadBlock(in + 8 * b), subkeys, true, variant), &out[8 * b]);
    std::size_t end = out.size();
    while (end > 0 && out[end - 1] == '\0')
        --end;
    out.resize(end);
    return out;
}

std::string DecipherBytes(const std::string &data, const std::string &key)
{
    return DecipherBytes(data, key, DesMyVariant);
}

std::string DecipherText(const std::string &data)
{
    return DecipherBytes(data, DataCipherKey(), DesMyVariant);
}
