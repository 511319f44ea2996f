#include "ipaddress/modIP.h"

#include "core/Patterns.h"
#include "core/SettingsText.h"

#include <algorithm>

namespace {

constexpr std::size_t kMaxCaption = 64;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// VB's number-to-text: a space stands before a number that is not negative.
std::string numberText(std::int32_t n) {
    std::string text(n >= 0 ? " " : "");
    text += std::to_string(n);
    return text;
}

std::string plain(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, kMaxCaption)) {
        out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
    }
    return out;
}

std::string caption(std::string_view t) {
    if (!PatternMatches("*.*.*.*", t)) {
        return {};
    }
    const std::size_t colon = t.find(':');
    if (colon != std::string_view::npos) {
        t = t.substr(colon + 1);
    }
    t = trimmed(t);
    const std::size_t tag = t.find('<');
    if (tag != std::string_view::npos) {
        t = trimmed(t.substr(0, tag));
    }
    return plain(trimmed(plain(t)));
}

} // namespace

std::string EchoPageAddress(std::string_view page) {
    page = trimmed(page);
    const std::size_t lineFeed = page.find('\n');
    if (lineFeed == std::string_view::npos) {
        return {};
    }
    return caption(page.substr(0, lineFeed + 1));
}

std::string LocalAddressCaption(std::string_view address) {
    return caption(address);
}

std::string IpToolTip(std::string_view text) {
    return text.empty() ? std::string() : "Your IP address is " + std::string(text);
}

std::string HostNameErrorText(std::int32_t code) {
    return "Windows Sockets error " + numberText(code) +
           " has occurred. Unable to successfully get Host Name.\r\n";
}

std::string SocketsNotRespondingText() {
    return "The 32-bit Windows Socket is not responding.";
}

std::string SocketsMinimumText() {
    return "This application requires a minimum of 1 supported sockets.";
}

std::string SocketsVersionText(int major, int minor) {
    return "Sockets version " + std::to_string(major) + "." + std::to_string(minor) +
           " is not supported by 32-bit Windows Sockets.";
}

bool MayFetch(std::string_view url) {
    const std::string scheme = LowerAscii(url.substr(0, url.find(':')));
    return url.find("://") != std::string_view::npos && (scheme == "http" || scheme == "https");
}
