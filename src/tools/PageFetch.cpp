#include "tools/PageFetch.h"

#include <QCoreApplication>
#include <QLibrary>

std::unique_ptr<PageFetch> LoadPageFetch(std::string& why) {
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& path : {folder + QStringLiteral("/trafalo_pagefetch.so"),
                                folder + QStringLiteral("/../lib/trafalo/trafalo_pagefetch.so")}) {
        QLibrary module(path);
        // Kept loaded for the rest of the run: the fetcher's code lives there.
        const auto make = reinterpret_cast<MakePageFetch>(module.resolve("trafalo_make_page_fetch"));
        if (make) {
            return std::unique_ptr<PageFetch>(make());
        }
        why = module.errorString().toStdString();
    }
    return nullptr;
}
