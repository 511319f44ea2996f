#pragma once
// The host name's address through the resolver (Debian maps the host name to
// 127.0.1.1, so loopback answers are passed over), else the address the
// kernel would send from on the default route: a UDP socket connected, with
// nothing sent.
#include "platform/ILocalAddress.h"

class LinuxLocalAddress : public ILocalAddress {
public:
    std::string lookup() override;
};
