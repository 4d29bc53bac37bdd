// orvane_encipher: prints the data cipher's text of each argument, in
// upper-case hexadecimal, one line per argument (the fixed key).
//   orvane_encipher TEXT...          encipher
//   orvane_encipher -d HEX...        decipher (to check a stored text)
#include "cipher/Encipher.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TEXT...   |   %s -d HEX...\n", argv[0], argv[0]);
        return 2;
    }
    const bool decipher = std::strcmp(argv[1], "-d") == 0;
    for (int i = decipher ? 2 : 1; i < argc; ++i) {
        if (decipher) {
            std::string bytes;
            if (!HexToBytesStrict(argv[i], bytes)) {
                std::fprintf(stderr, "not hexadecimal: %s\n", argv[i]);
                return 1;
            }
            std::printf("%s\n", DecipherText(bytes).c_str());
        } else {
            std::printf("%s\n", EncipherTextHex(argv[i]).c_str());
        }
    }
    return 0;
}
