#include "ModulePageReader.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace {

std::unique_ptr<IPageReader> loadModule(std::string& why) {
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& path : {folder + QStringLiteral("/../lib/trafalo/trafalo_pagefetch.so"),
                                folder + QStringLiteral("/trafalo_pagefetch.so")}) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        std::string untrusted;
        if (!TrustedToLoad(path.toStdString(), untrusted)) {
            why = "not loading " + path.toStdString() + ": " + untrusted;
            continue;
        }
        QLibrary module(path);
        // Kept loaded for the rest of the run: the reader's code lives there.
        const auto make = reinterpret_cast<MakePageReader>(module.resolve("trafalo_make_page_fetch"));
        if (make) {
            return std::unique_ptr<IPageReader>(make());
        }
        why = module.errorString().toStdString();
    }
    if (why.empty()) {
        why = "no trafalo_pagefetch.so beside the program or in ../lib/trafalo";
    }
    return nullptr;
}

} // namespace

bool ModulePageReader::fetch(const std::string& url, int timeoutMs, std::int64_t maxBytes, Done done,
                             std::string& why) {
    if (!m_module && !m_failed) {
        m_module = loadModule(m_why);
        m_failed = !m_module;
    }
    if (!m_module) {
        why = m_why;
        return false;
    }
    return m_module->fetch(url, timeoutMs, maxBytes, std::move(done), why);
}
