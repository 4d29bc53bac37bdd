#pragma once
// The data cipher: DES (FIPS 46) with three changes in its round function.
// The maker's station records (after their ID column) and a few texts of the
// update module are enciphered with it. The program only deciphers; the
// enciphering side lives in tools/ (tools/cipher/Encipher.h).
//
// Changes to the round function f(R, K), all driven by TDesVariant:
//   1. the expanded R is XORed with the subkey and with a 6-byte round constant;
//   2. the fifth 6-bit group (counting from the most significant) is XORed
//      with the tweak byte before its S-box;
//   3. each of the four bytes after the permutation P is XORed with the tweak.
// A zero round constant and a zero tweak give standard DES.

#include <array>
#include <cstdint>
#include <string>

struct TDesVariant {
    std::array<std::uint8_t, 6> RoundConstant;
    std::uint8_t Tweak;
};

// The program's variant: round constant "vorpek", tweak 0x1B.
extern const TDesVariant DesMyVariant;
// Plain FIPS 46 DES (used to check the cipher against published vectors).
extern const TDesVariant DesStandardVariant;

// The fixed key of the station data: 9c a3 d1 f4 b8 e6 c7 5a.
const std::string &DataCipherKey();

// Sixteen 48-bit round keys K(1)..K(16), each in the low 48 bits, in forward order.
using TDesSubkeys = std::array<std::uint64_t, 16>;

// Key schedule from a key text: zero bytes pad it to 8 bytes; its first 8
// bytes are the key (parity bits ignored).
TDesSubkeys DesKeySchedule(const std::string &keyText);

// One 64-bit block (the first byte is the most significant) through the
// cipher. decipher = true uses the subkeys in reverse order.
std::uint64_t DesCryptBlock(std::uint64_t block, const TDesSubkeys &subkeys, bool decipher,
                            const TDesVariant &variant = DesMyVariant);

// Deciphers `data` in 8-byte blocks (ECB, no chaining); a final partial block
// is ignored; zero bytes at the end of the result are removed. The subkeys are
// derived afresh for every call and kept on the caller's stack, so several
// threads may decipher at the same time.
std::string DecipherBytes(const std::string &data, const std::string &key);
std::string DecipherBytes(const std::string &data, const std::string &key,
                          const TDesVariant &variant);

// DecipherBytes with the fixed key.
std::string DecipherText(const std::string &data);
