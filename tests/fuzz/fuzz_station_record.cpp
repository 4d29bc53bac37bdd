// Fuzzes what parses untrusted bytes without files: station record lines
// (plain and enciphered), the cipher, line IDs, address lists and the
// country outline. Checks round trips besides the sanitizers.
#include "cipher/Encipher.h"
#include "stations/RadioTextDB.h"
#include "stations/TextDB.h"
#include "stations/des_my.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::string> Fields(const TRadioTable &t)
{
    return {t.VID,      t.VRadioName, t.VGenre,  t.VCountry,   t.VState,  t.VCity,     t.VLanguage, t.VFormat,
            t.VValidity, t.VSpeed,    t.VFrequency, t.VProxy, t.VHomepage, t.VSchedule, t.VStreamURL};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string in(reinterpret_cast<const char *>(data), size);

    // A parsed record composes to a line that parses to the same fields.
    TRadioTable t;
    t.ParseRecord(in);
    for (const std::string &f : Fields(t))
        Require(f.find('\t') == std::string::npos);
    TRadioTable u;
    u.ParseRecord(t.ComposeRecord());
    Require(Fields(u) == Fields(t));
    (void)t.StationInfoText();

    // Enciphered: whatever follows the first TAB is cipher text.
    t.SetEncry(true);
    t.ParseRecord(in);
    (void)t.StationInfoText();

    // The cipher: any bytes decipher to whole blocks without trailing zeros;
    // enciphering and deciphering round-trip.
    const std::string plain = DecipherText(in);
    Require(plain.size() <= in.size() / 8 * 8);
    Require(plain.empty() || plain.back() != '\0');
    const std::string key = in.substr(0, std::min<std::size_t>(in.size(), 11));
    (void)DecipherBytes(in, key);
    std::string text = in;
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    Require(DecipherBytes(EncipherBytes(text, key), key) == text);
    Require(EncipherText(in).size() % 8 == 0);

    (void)TTextTable::LineId(in);

    // Address lists: joining what was split gives the text back.
    Require(TRadioTable::JoinAddresses(TRadioTable::SplitAddresses(in)) == in);

    // Country outline over the input's lines.
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= in.size(); ++i) {
        if (i == in.size() || in[i] == '\n') {
            lines.push_back(in.substr(start, i - start));
            start = i + 1;
        }
    }
    const auto countries = CountryList(lines);
    for (const std::string &c : countries) {
        for (const std::string &s : StateList(lines, c))
            (void)CityList(lines, c, s);
    }
    if (lines.size() >= 2)
        (void)CityList(lines, lines[0], lines[1]);
    return 0;
}
