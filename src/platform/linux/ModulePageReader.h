#pragma once
// The page reader of an installed or built program: the reader module
// (trafalo_pagefetch.so) loaded at the first fetch, from the installed
// library folder first, else beside the program, and only from a file and
// folder no other user can have written.
#include "platform/IPageReader.h"

#include <memory>

class ModulePageReader : public IPageReader {
public:
    bool fetch(const std::string& url, int timeoutMs, std::int64_t maxBytes, Done done,
               std::string& why) override;

private:
    std::unique_ptr<IPageReader> m_module;
    bool m_failed = false;
    std::string m_why;
};
