#include "QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

QtSettingsStore::QtSettingsStore(QString configFolder) : m_folder(std::move(configFolder)) {}
QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::filePath(const std::string& app) const {
    const QString name = QString::fromStdString(app);
    return m_folder + '/' + name + '/' + name + ".ini";
}

QSettings& QtSettingsStore::store(const std::string& app) {
    auto& slot = m_stores[app];
    if (!slot) {
        slot = std::make_unique<QSettings>(filePath(app), QSettings::IniFormat);
        // Write a new file beside the old one and rename it over, so a crash
        // mid-save leaves the old or the new file, never a torn one.
        slot->setAtomicSyncRequired(true);
    }
    return *slot;
}

std::string QtSettingsStore::get(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
    QSettings& settings = store(app);
    const QString path = QString::fromStdString(section) + '/' + QString::fromStdString(key);
    const QVariant value = settings.value(path);
    if (!value.isValid()) {
        return defaultValue;
    }
    // A hand-written value with commas reads back as a list: keep its text.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(',').toStdString();
    }
    if (!value.canConvert<QString>()) {
        return defaultValue;
    }
    return value.toString().toStdString();
}

bool QtSettingsStore::has(const std::string& app, const std::string& section, const std::string& key) {
    return store(app).contains(QString::fromStdString(section) + '/' + QString::fromStdString(key));
}

bool QtSettingsStore::set(const std::string& app, const std::string& section, const std::string& key,
                          const std::string& value) {
    QSettings& settings = store(app);
    QDir().mkpath(QFileInfo(settings.fileName()).absolutePath());
    settings.setValue(QString::fromStdString(section) + '/' + QString::fromStdString(key),
                      QString::fromStdString(value));
    settings.sync();
    return settings.status() == QSettings::NoError;
}
