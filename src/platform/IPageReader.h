#pragma once
// Reading the first line of a web page, for the IP address labels. The work
// is done by a module of its own, loaded at the first fetch, so the program
// maps the network libraries only when someone asks for the public address.
#include <cstdint>
#include <functional>
#include <string>

class IPageReader {
public:
    using Done = std::function<void(const std::string& text)>;
    virtual ~IPageReader() = default;
    // Reads url directly (no proxy, no cache) with the agent "vb wininet" and
    // calls done once, on this thread, with what was read: up to and
    // including the first line feed, at most maxBytes; what arrived so far
    // after timeoutMs without progress or on an error. A newer fetch aborts
    // the one running (its done is still called); destruction drops both.
    // False, with why and done never called, when no page can be read here
    // at all (the module is missing or was refused); it is not tried again.
    virtual bool fetch(const std::string& url, int timeoutMs, std::int64_t maxBytes, Done done,
                       std::string& why) = 0;
};

// The module's entry point: a reader that always fetches.
extern "C" IPageReader* trafalo_make_page_fetch();
using MakePageReader = IPageReader* (*)();
