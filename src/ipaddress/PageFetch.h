#pragma once
// Reading the first line of a web page, for the IP address labels. The work
// is done by a module of its own, loaded at the first fetch, so the program
// maps Qt Network and the libraries under it only when someone asks for the
// public address.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class PageFetch {
public:
    using Done = std::function<void(const std::string& text)>;
    virtual ~PageFetch() = default;
    // Reads url directly (no proxy, no cache) with the agent "vb wininet" and
    // calls done once, on this thread, with what was read: up to and
    // including the first line feed, at most maxBytes; what arrived so far
    // after timeoutMs without progress or on an error. A newer fetch aborts
    // the one running (its done is still called); destruction drops both.
    virtual void fetch(const std::string& url, int timeoutMs, std::int64_t maxBytes, Done done) = 0;
};

// The module's entry point.
extern "C" PageFetch* trafalo_make_page_fetch();
using MakePageFetch = PageFetch* (*)();

// Loads the module from the program's folder, else from ../lib/trafalo
// beside it (an installed program). Null when it cannot be loaded; why says
// what failed.
std::unique_ptr<PageFetch> LoadPageFetch(std::string& why);
