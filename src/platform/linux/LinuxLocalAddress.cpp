#include "LinuxLocalAddress.h"

#include "UniqueFd.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <resolv.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    return ::inet_ntop(AF_INET, &address, text, sizeof text) ? std::string(text) : std::string();
}

bool loopback(const in_addr& address) {
    return (ntohl(address.s_addr) >> 24) == 127;
}

} // namespace

std::string LinuxLocalAddress::lookup() {
    // A name server that does not answer is given up after a second, once:
    // the program's exit waits for a lookup under way. (The resolver's
    // settings are the calling thread's own.)
    if (res_init() == 0) {
        _res.retrans = 1;
        _res.retry = 1;
    }
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (::getaddrinfo(host, nullptr, &hints, &found) == 0) {
            std::string address;
            for (const addrinfo* a = found; a && address.empty(); a = a->ai_next) {
                const in_addr& ip = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
                if (!loopback(ip)) {
                    address = dotted(ip);
                }
            }
            ::freeaddrinfo(found);
            if (!address.empty()) {
                return address;
            }
        }
    }
    // Connecting a datagram socket only picks the route: nothing is sent.
    UniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_in far{};
    far.sin_family = AF_INET;
    far.sin_port = htons(53);
    ::inet_pton(AF_INET, "192.0.2.1", &far.sin_addr); // a documentation address: any routed one does
    sockaddr_in self{};
    socklen_t length = sizeof self;
    if (!socket.valid() || ::connect(socket.get(), reinterpret_cast<sockaddr*>(&far), sizeof far) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&self), &length) != 0 ||
        loopback(self.sin_addr)) {
        return {};
    }
    return dotted(self.sin_addr);
}
