#pragma once
// A blocking fetch of a small text over HTTP(S) or FTP. The stream address
// classification needs one page fetch before the downloaders exist; they take
// this over later. Time and size are bounded so that a stalling or endless
// page cannot hold up the caller.

#include <cstddef>
#include <string>

struct TFetchLimits {
    long ConnectTimeoutMs = 5000;
    long TotalTimeoutMs = 10000;
    std::size_t MaxBytes = 1 << 20;
};

// The body at address (the first blank-separated token of it), empty on any
// failure: bad address, refused or stalled connection, HTTP error status,
// time-out, or a body larger than MaxBytes. Follows redirects; only http,
// https and ftp are allowed, also for redirect targets.
std::string FetchText(const std::string &address, const TFetchLimits &limits = {});
