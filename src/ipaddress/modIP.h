#pragma once
// The texts of the IP address labels: the echo page's answer reduced to an
// address, and the socket library's messages. Plain C++.
#include <cstdint>
#include <string>
#include <string_view>

// The caption for a fetched page: its first line (up to and including the
// first line feed; none without one) when it holds at least three dots, then
// the part after its first ":" and before the first "<", trimmed. Empty when
// the page is of another form. The result is plain text of at most 64
// characters, with no control characters.
std::string EchoPageAddress(std::string_view page);
// The caption for a local address: itself when it holds three dots, else empty.
std::string LocalAddressCaption(std::string_view address);
// "Your IP address is " and the caption, or empty for an empty caption.
std::string IpToolTip(std::string_view caption);

// The socket library's messages.
std::string HostNameErrorText(std::int32_t code);
std::string SocketsNotRespondingText();
std::string SocketsMinimumText();
std::string SocketsVersionText(int major, int minor);
inline constexpr const char* kSocketsCleanupError = "Socket error occurred in Cleanup.";

// The echo page used when the setting "url" is absent, and whether an address
// may be fetched (http and https only).
inline constexpr const char* kDefaultEchoPage = "http://checkip.dyndns.org/";
bool MayFetch(std::string_view url);
