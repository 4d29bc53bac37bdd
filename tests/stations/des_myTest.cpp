// The data cipher: DES with a round constant and a 0x1B tweak, deciphering in
// ECB over 8-byte blocks with zero padding removed.
#include "cipher/Encipher.h"
#include "stations/des_my.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace {

std::string Bytes(std::uint64_t v)
{
    std::string s(8, '\0');
    for (int i = 7; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
        v >>= 8;
    }
    return s;
}

std::uint64_t Value(const std::string &s)
{
    std::uint64_t v = 0;
    for (unsigned char c : s)
        v = (v << 8) | c;
    return v;
}

struct TVector {
    std::uint64_t key, plain, cipher;
};

// Published DES vectors: the classic worked example, the textbook key
// schedule example and two entries of the NBS known-answer tests.
const TVector StandardVectors[] = {
    {0x0123456789ABCDEFULL, 0x4E6F772069732074ULL, 0x3FA40E8A984D4815ULL}, // "Now is t"
    {0x133457799BBCDFF1ULL, 0x0123456789ABCDEFULL, 0x85E813540F0AB405ULL},
    {0x0101010101010101ULL, 0x8000000000000000ULL, 0x95F8A5E5DD31D900ULL},
    {0x0101010101010101ULL, 0x4000000000000000ULL, 0xDD7F121CA5015619ULL},
};

} // namespace

TEST(DesMy, StandardVariantIsFips46Des)
{
    for (const TVector &v : StandardVectors) {
        const TDesSubkeys k = DesKeySchedule(Bytes(v.key));
        EXPECT_EQ(DesCryptBlock(v.plain, k, false, DesStandardVariant), v.cipher) << std::hex << v.key;
        EXPECT_EQ(DesCryptBlock(v.cipher, k, true, DesStandardVariant), v.plain) << std::hex << v.key;
        // DecipherBytes with the standard variant deciphers the vector (less
        // the plain text's trailing zero bytes, which it removes).
        std::string plain = DecipherBytes(Bytes(v.cipher), Bytes(v.key), DesStandardVariant);
        plain.resize(8, '\0');
        EXPECT_EQ(Value(plain), v.plain);
    }
}

TEST(DesMy, ProgramVariantDiffersFromDes)
{
    const TDesSubkeys k = DesKeySchedule(Bytes(0x0123456789ABCDEFULL));
    EXPECT_NE(DesCryptBlock(0x4E6F772069732074ULL, k, false, DesMyVariant), 0x3FA40E8A984D4815ULL);
    // Each change on its own alters the result.
    TDesVariant constantOnly = DesMyVariant;
    constantOnly.Tweak = 0;
    TDesVariant tweakOnly = DesStandardVariant;
    tweakOnly.Tweak = 0x1B;
    const std::uint64_t a = DesCryptBlock(1, k, false, constantOnly);
    const std::uint64_t b = DesCryptBlock(1, k, false, tweakOnly);
    const std::uint64_t c = DesCryptBlock(1, k, false, DesMyVariant);
    const std::uint64_t d = DesCryptBlock(1, k, false, DesStandardVariant);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
    EXPECT_NE(c, d);
}

TEST(DesMy, ProgramVariantKnownAnswer)
{
    // Pinned output of the program's variant with the fixed key, so that a
    // change to the cipher cannot pass unnoticed (shipped data would no
    // longer decipher).
    const TDesSubkeys k = DesKeySchedule(DataCipherKey());
    const std::uint64_t c = DesCryptBlock(0x4E6F772069732074ULL, k, false, DesMyVariant);
    EXPECT_EQ(DesCryptBlock(c, k, true, DesMyVariant), 0x4E6F772069732074ULL);
    EXPECT_EQ(BytesToHex(EncipherText("Now is t")), BytesToHex(Bytes(c)));
    EXPECT_EQ(BytesToHex(EncipherText("Orvane station data")), "B641038B65BEFE2CA16D9095C548C78D2DE1367E325ED60F");
}

TEST(DesMy, FixedKey)
{
    EXPECT_EQ(BytesToHex(DataCipherKey()), "9CA3D1F4B8E6C75A");
    const std::string plain = "Groove Salad\tAmbient";
    EXPECT_EQ(DecipherText(EncipherText(plain)), plain);
    EXPECT_EQ(DecipherBytes(EncipherText(plain), DataCipherKey()), plain);
}

TEST(DesMy, ShortKeyIsZeroPaddedAndLongKeyCut)
{
    const std::string plain = "abcdefgh12345678";
    const std::string shortKey = "key";
    EXPECT_EQ(DecipherBytes(EncipherBytes(plain, shortKey), std::string("key\0\0\0\0\0", 8)), plain);
    EXPECT_EQ(DecipherBytes(EncipherBytes(plain, std::string("key\0\0\0\0\0", 8)), shortKey), plain);
    EXPECT_EQ(DecipherBytes(EncipherBytes(plain, "12345678"), "12345678 and more"), plain);
    EXPECT_EQ(DecipherBytes(EncipherBytes(plain, ""), std::string(8, '\0')), plain);
}

TEST(DesMy, PartialFinalBlockIsIgnored)
{
    const std::string cipher = EncipherText("ABCDEFGH");
    ASSERT_EQ(cipher.size(), 8u);
    std::string data = cipher + "1234567"; // 15 bytes
    EXPECT_EQ(DecipherText(data), "ABCDEFGH");
    EXPECT_EQ(DecipherText(cipher.substr(0, 7)), "");
    EXPECT_EQ(DecipherText(""), "");
}

TEST(DesMy, TrailingZeroBytesAreRemoved)
{
    const std::string plain("ab\0cd\0\0\0", 8);
    EXPECT_EQ(DecipherText(EncipherText(plain)), std::string("ab\0cd", 5));
    // Zero padding of a short text disappears the same way.
    EXPECT_EQ(EncipherText("abc").size(), 8u);
    EXPECT_EQ(DecipherText(EncipherText("abc")), "abc");
    EXPECT_EQ(DecipherText(EncipherText(std::string(16, '\0'))), "");
    EXPECT_EQ(EncipherText(""), "");
}

TEST(DesMy, AnyByteValueRoundTrips)
{
    std::mt19937 rng(7);
    for (int n = 0; n < 200; ++n) {
        std::string plain(static_cast<std::size_t>(rng() % 70), '\0');
        for (char &c : plain)
            c = static_cast<char>(rng() % 256);
        if (!plain.empty() && plain.back() == '\0')
            plain.back() = '\t';
        ASSERT_EQ(DecipherText(EncipherText(plain)), plain);
    }
}

TEST(DesMy, EcbBlocksAreIndependent)
{
    const std::string a = EncipherText("SAMEBLK!SAMEBLK!");
    EXPECT_EQ(a.substr(0, 8), a.substr(8, 8));
}

TEST(DesMy, TwoThreadsDecipherAtOnce)
{
    const std::string plain = "Radio Paradise\tEclectic\tUnited States\tCalifornia\tChico\tEnglish";
    const std::string cipher = EncipherText(plain);
    std::atomic<int> bad{0};
    auto work = [&] {
        for (int i = 0; i < 2000; ++i)
            if (DecipherText(cipher) != plain)
                ++bad;
    };
    std::thread t1(work), t2(work);
    t1.join();
    t2.join();
    EXPECT_EQ(bad.load(), 0);
}

TEST(DesMy, HexHelpers)
{
    EXPECT_EQ(BytesToHex(std::string("\x00\x9c\xff", 3)), "009CFF");
    std::string b;
    EXPECT_TRUE(HexToBytesStrict("009cFF", b));
    EXPECT_EQ(b, std::string("\x00\x9c\xff", 3));
    EXPECT_FALSE(HexToBytesStrict("0", b));
    EXPECT_FALSE(HexToBytesStrict("zz", b));
    const std::string hex = EncipherTextHex("http://updates.example.org/");
    EXPECT_EQ(hex.size() % 16, 0u);
    ASSERT_TRUE(HexToBytesStrict(hex, b));
    EXPECT_EQ(DecipherText(b), "http://updates.example.org/");
}
