#pragma once
// This computer's own IPv4 address.
#include <string>

class ILocalAddress {
public:
    virtual ~ILocalAddress() = default;
    // The first IPv4 address of this computer's host name that is not a
    // loopback address, else the source address of the default route; empty
    // when there is none. May wait on the name service: call it off the
    // window's thread.
    virtual std::string lookup() = 0;
};
