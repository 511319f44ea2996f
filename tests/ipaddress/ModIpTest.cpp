#include "ipaddress/modIP.h"

#include <gtest/gtest.h>

namespace {

TEST(EchoPageAddress, TheFirstLineReducedToItsAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"<html><body>Current IP Address: 203.0.113.7</body></html>\n", "203.0.113.7"},
        {"  Address: 203.0.113.7 \n<p>more 1.2.3.4</p>", "203.0.113.7"},
        {"Current IP Address: 203.0.113.7</body></html>", ""}, // no line feed
        {"Address: 203.0.113\n", ""},                          // fewer than three dots
        {"203.0.113.7<br>\n", "203.0.113.7"},                  // no colon
        {"IP: 10.0.0.1 and more\n", "10.0.0.1 and more"},      // no "<": all after the colon
        {"a.b.c.d:\x01\x02x.y.z<\n", "x.y.z"},                 // control characters become spaces, trimmed
        {"", ""},
    };
    for (const auto& [page, caption] : cases) {
        EXPECT_EQ(EchoPageAddress(page), caption) << page;
    }
    EXPECT_EQ(EchoPageAddress("IP: " + std::string(500, '.') + "\n").size(), 64u);
    EXPECT_EQ(LocalAddressCaption("192.168.1.10"), "192.168.1.10");
    EXPECT_EQ(LocalAddressCaption(""), "");
    EXPECT_EQ(IpToolTip("192.168.1.10"), "Your IP address is 192.168.1.10");
    EXPECT_EQ(IpToolTip(""), "");
}

// Only web pages are fetched: the echo page's address comes from the
// settings file, which anyone who can write it could point elsewhere.
TEST(MayFetch, WebPagesOnly) {
    EXPECT_TRUE(MayFetch("http://127.0.0.1:8080/"));
    EXPECT_TRUE(MayFetch("HTTPS://example.org"));
    EXPECT_FALSE(MayFetch("file:///etc/passwd"));
    EXPECT_FALSE(MayFetch("ftp://example.org/"));
    EXPECT_FALSE(MayFetch("http"));
}

} // namespace
