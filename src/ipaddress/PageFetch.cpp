#include "ipaddress/PageFetch.h"

#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

std::unique_ptr<PageFetch> LoadPageFetch(std::string& why) {
    const QString folder = QCoreApplication::applicationDirPath();
    // The installed library folder first; beside the program for a build
    // run where it was made. Code is loaded only from a file and folder no
    // other user can have written.
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
        // Kept loaded for the rest of the run: the fetcher's code lives there.
        const auto make = reinterpret_cast<MakePageFetch>(module.resolve("trafalo_make_page_fetch"));
        if (make) {
            return std::unique_ptr<PageFetch>(make());
        }
        why = module.errorString().toStdString();
    }
    if (why.empty()) {
        why = "no trafalo_pagefetch.so beside the program or in ../lib/trafalo";
    }
    return nullptr;
}
