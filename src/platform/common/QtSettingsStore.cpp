#include "QtSettingsStore.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

QtSettingsStore::QtSettingsStore(QString configFolder) : m_folder(std::move(configFolder)) {}
QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::filePath(const std::string& app) const {
    const QString name = QString::fromStdString(app);
    return m_folder + '/' + name + '/' + name + ".ini";
}

QtSettingsStore::File& QtSettingsStore::file(const std::string& app) {
    const auto found = m_files.find(app);
    if (found != m_files.end()) {
        return found->second;
    }
    File& created = m_files[app];
    load(app, created);
    return created;
}

void QtSettingsStore::load(const std::string& app, File& loaded) {
    if (m_folder.isEmpty()) {
        return;
    }
    const QString path = filePath(app);
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        return; // none yet, or unreadable: the defaults
    }
    const QByteArray bytes = input.read(kMaxFileBytes + 1);
    input.close();
    if (bytes.size() > kMaxFileBytes || !LooksLikeIni(std::string_view(bytes.constData(), bytes.size()))) {
        // Not a settings file: kept aside for the user, and never read or
        // written back again, so the start and the exit stay quick.
        const QString aside = path + ".bad";
        QFile::remove(aside);
        const bool moved = QFile::rename(path, aside);
        LogError("the settings file " + path.toStdString() + " is not a settings file; " +
                 (moved ? "set aside as " + aside.toStdString() + ", starting" : "starting") +
                 " on defaults");
        return;
    }
    QSettings settings(path, QSettings::IniFormat);
    for (const QString& name : settings.allKeys()) {
        const QVariant value = settings.value(name);
        std::string text;
        // A hand-written value with commas reads back as a list: keep its text.
        if (value.typeId() == QMetaType::QStringList) {
            text = value.toStringList().join(',').toStdString();
        } else if (value.canConvert<QString>()) {
            text = value.toString().toStdString();
        } else {
            continue;
        }
        const qsizetype slash = name.indexOf('/');
        const QString section = slash < 0 ? QStringLiteral("General") : name.left(slash);
        loaded.entries.push_back({section.toStdString(), name.mid(slash + 1).toStdString(), std::move(text)});
    }
}

const IniEntry* QtSettingsStore::find(const std::string& app, const std::string& section,
                                      const std::string& key) {
    for (const IniEntry& entry : file(app).entries) {
        if (entry.section == section && entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

std::string QtSettingsStore::get(const std::string& app, const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
    const IniEntry* entry = find(app, section, key);
    return entry ? entry->value : defaultValue;
}

bool QtSettingsStore::has(const std::string& app, const std::string& section, const std::string& key) {
    return find(app, section, key) != nullptr;
}

bool QtSettingsStore::set(const std::string& app, const std::string& section, const std::string& key,
                          const std::string& value) {
    return setMany(app, section, {{key, value}});
}

bool QtSettingsStore::setMany(const std::string& app, const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& values) {
    File& target = file(app);
    // The keys written go after the others, in the order given.
    for (const auto& written : values) {
        std::erase_if(target.entries, [&](const IniEntry& entry) {
            return entry.section == section && entry.key == written.first;
        });
        target.entries.push_back({section, written.first, written.second});
    }
    std::optional<std::string> error;
    if (m_folder.isEmpty()) {
        error = "there is no configuration folder (neither XDG_CONFIG_HOME nor HOME is set)";
    } else {
        const QString path = filePath(app);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            error = "cannot make the folder of " + path.toStdString();
        } else {
            error = ReplaceFileAtomically(path.toStdString(), FormatIni(target.entries));
        }
    }
    if (error) {
        if (!target.failureLogged) {
            target.failureLogged = true;
            LogError("the settings are not saved: " + *error);
        }
        return false;
    }
    return true;
}
