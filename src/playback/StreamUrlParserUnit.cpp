#include "playback/StreamUrlParserUnit.h"

#include "network/HttpText.h"

#include <algorithm>
#include <string_view>

const char *const WindowsMediaExtensions =
    ".asf.wm.wma.wmv.wmd.avi.wav.snd.au.aif.aifc.aiff.mp3.asx.wax.m3u.wpl.wvx.wmx.mpeg.mpg.m1v.mp2."
    "mpa.mpe.ifo.vob.dvr-ms.mid.rmi.midi.tta.wmz.cda.mpv2.mp2v.";
const char *const RealExtensions =
    ".ra.rax.rm.rmvb.mp3.rmx.rmj.rms.wav.au.aiff.acp.m4a.m4p.rv.ram.rmm.rvx.rp.rtx.rt.mp2.mpa.mp1.mpga."
    "mpg.mpeg.smi.smil.m3u.pls.xpl.rmp.avi.aif.sdp.rv.rm33j.rjs.";

namespace {

constexpr const char *TokenDelimiters = "\t\n\r \"'";

bool StartsWith(const std::string &text, const char *prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool Contains(const std::string &text, const char *part)
{
    return text.find(part) != std::string::npos;
}

// Trimmed of blanks and control characters, ASCII letters lower-cased.
std::string Normalized(const std::string &address)
{
    const auto isBlank = [](unsigned char c) { return c <= ' '; };
    auto first = std::find_if_not(address.begin(), address.end(), isBlank);
    auto last = std::find_if_not(address.rbegin(), address.rend(), isBlank).base();
    std::string copy(first, first < last ? last : first);
    for (char &c : copy)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return copy;
}

// Removes "&cf=KEY" / "?cf=KEY" and, when the fetched page names a stream
// address holding the key, puts that address in its place.
void ResolveKeyForm(std::string &address, const TFetchText &fetch)
{
    auto marker = address.find("&cf=");
    if (marker == std::string::npos)
        marker = address.find("?cf=");
    if (marker == std::string::npos)
        return;
    const auto keyStart = marker + 4;
    // The key's first character may be anything; a blank after it ends it.
    auto keyEnd = keyStart < address.size() ? address.find(' ', keyStart + 1) : std::string::npos;
    if (keyEnd == std::string::npos)
        keyEnd = address.size();
    const std::string key = address.substr(keyStart, keyEnd - keyStart);
    address.erase(marker, keyEnd - marker);
    // Without a key every page would "contain" it at its start.
    if (key.empty())
        return;
    const std::string page = fetch(address);
    if (page.empty())
        return;
    const std::string token = TokenAroundKey(page, key);
    if (token.find(':') != std::string::npos)
        address = token;
}

} // namespace

std::string TokenAroundKey(const std::string &text, const std::string &key)
{
    const auto at = text.find(key);
    if (at == std::string::npos)
        return {};
    const auto before = text.find_last_of(TokenDelimiters, at);
    const auto start = before == std::string::npos ? 0 : before + 1;
    auto end = text.find_first_of(TokenDelimiters, at + key.size());
    if (end == std::string::npos)
        end = text.size();
    return start <= end ? text.substr(start, end - start) : std::string();
}

char ClassifyStreamAddress(std::string &address)
{
    return ClassifyStreamAddress(address, [](const std::string &page) { return FetchText(page); });
}

char ClassifyStreamAddress(std::string &address, const TFetchText &fetch)
{
    ResolveKeyForm(address, fetch);
    const std::string copy = Normalized(address);
    if (StartsWith(copy, "rtsp:") || StartsWith(copy, "pnm:"))
        return pkReal;
    if (StartsWith(copy, "mms:") || StartsWith(copy, "mmst:"))
        return pkWindowsMedia;
    if (StartsWith(copy, "rtmp:") || Contains(copy, ".flv") || Contains(copy, ".f4m") || Contains(copy, "m3u8"))
        return pkFlash;
    // "/" is no separator here: "host.com/live" has the extension ".com/live".
    const auto last = copy.find_last_of(".\\:");
    if (last == std::string::npos || copy[last] != '.')
        return pkAuto;
    const std::string extension = copy.substr(last) + ".";
    if (std::string_view(WindowsMediaExtensions).find(extension) != std::string_view::npos)
        return pkWindowsMedia;
    if (std::string_view(RealExtensions).find(extension) != std::string_view::npos)
        return pkReal;
    return pkAuto;
}
