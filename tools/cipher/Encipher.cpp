#include "cipher/Encipher.h"

namespace {

std::uint64_t LoadBlock(const unsigned char *p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

std::string EncipherBytes(const std::string &plain, const std::string &key, const TDesVariant &variant)
{
    const TDesSubkeys subkeys = DesKeySchedule(key);
    std::string padded = plain;
    padded.resize((plain.size() + 7) / 8 * 8, '\0');
    std::string out(padded.size(), '\0');
    const auto *in = reinterpret_cast<const unsigned char *>(padded.data());
    for (std::size_t b = 0; b < padded.size(); b += 8) {
        std::uint64_t v = DesCryptBlock(LoadBlock(in + b), subkeys, false, variant);
        for (int i = 7; i >= 0; --i) {
            out[b + static_cast<std::size_t>(i)] = static_cast<char>(v & 0xFF);
            v >>= 8;
        }
    }
    return out;
}

std::string EncipherText(const std::string &plain)
{
    return EncipherBytes(plain, DataCipherKey(), DesMyVariant);
}

std::string BytesToHex(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 0xF];
    }
    return hex;
}

bool HexToBytesStrict(const std::string &hex, std::string &bytes)
{
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    bytes.clear();
    if (hex.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

std::string EncipherTextHex(const std::string &plain) { return BytesToHex(EncipherText(plain)); }
