#pragma once
// Enciphering with the data cipher (stations/des_my.h): the same cipher, the
// subkeys in forward order, the plain text padded with zero bytes to a
// multiple of 8. Only the tools that make shipped data use it; the program
// itself only deciphers.
//
//   DecipherBytes(EncipherBytes(p, key), key) == p without its trailing zero bytes
//   DecipherText(EncipherText(p)) == p           (p not ending in zero bytes)

#include "stations/des_my.h"

#include <string>

// ECB over 8-byte blocks; the key text is zero-padded to 8 bytes and its first
// 8 bytes are used. An empty plain text gives an empty cipher text.
std::string EncipherBytes(const std::string &plain, const std::string &key,
                          const TDesVariant &variant = DesMyVariant);
// EncipherBytes with the fixed key of the station data.
std::string EncipherText(const std::string &plain);

// Upper-case hexadecimal, two digits per byte (the form in which the update
// module stores its enciphered texts).
std::string BytesToHex(const std::string &bytes);
// Two hexadecimal digits per byte (either case); false on any other text.
bool HexToBytesStrict(const std::string &hex, std::string &bytes);
// BytesToHex(EncipherText(plain)).
std::string EncipherTextHex(const std::string &plain);
