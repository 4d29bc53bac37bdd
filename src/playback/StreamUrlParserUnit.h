#pragma once
// Which player plays an address. Kinds are single characters because they
// travel with every address and are stored in a station's VFormat field.

#include <functional>
#include <string>

constexpr char pkAuto = '0';            // not decided / not recognised
constexpr char pkReal = '1';
constexpr char pkWindowsMedia = '2';
constexpr char pkFlash = '3';           // FLV, RTMP, HDS, HLS
constexpr char pkWebReal = '4';         // only while playing: page holding a Real control
constexpr char pkWebWindowsMedia = '5'; // only while playing: page holding a Windows Media control
constexpr char pkWebPage = '6';         // only while playing: any other page

// Runs of ".ext" ended by "."; searched as text so that only whole items match.
// The Windows Media list is searched first, so extensions in both go there.
extern const char *const WindowsMediaExtensions;
extern const char *const RealExtensions;

// Fetches a page as text; empty on failure.
using TFetchText = std::function<std::string(const std::string &address)>;

// Classifies the address as pkAuto, pkReal, pkWindowsMedia or pkFlash. Only
// the key form ("&cf=KEY" or "?cf=KEY") changes the address: the marker and
// key are removed, the page at the rest is fetched (synchronously, through
// fetch) and the token of the page that holds the key, when it contains ":",
// becomes the address.
char ClassifyStreamAddress(std::string &address);
char ClassifyStreamAddress(std::string &address, const TFetchText &fetch);

// The token of text that contains the first occurrence of key, delimited by
// tab, line feed, carriage return, space or quotes; empty without the key.
std::string TokenAroundKey(const std::string &text, const std::string &key);
