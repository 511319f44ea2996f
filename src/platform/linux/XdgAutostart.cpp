#include "XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

XdgAutostart::XdgAutostart(std::string folder) : m_folder(std::move(folder)) {}

std::optional<std::string> XdgAutostart::entryPath(const std::string& name) const {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        m_folder.empty()) {
        return std::nullopt;
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt; // no line breaks into the entry's Name
        }
    }
    return m_folder + "/" + name + ".desktop";
}

bool XdgAutostart::add(const std::string& name, const std::string& command) {
    const std::optional<std::string> path = entryPath(name);
    const std::optional<std::string> exec = DesktopExecValue(command);
    if (!path || !exec || !QDir().mkpath(QString::fromStdString(m_folder))) {
        return false;
    }
    QSaveFile file(QString::fromStdString(*path));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const std::string text = DesktopEntryText(name, *exec);
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.commit();
}

bool XdgAutostart::remove(const std::string& name) {
    const std::optional<std::string> path = entryPath(name);
    if (!path) {
        return false;
    }
    QFile file(QString::fromStdString(*path));
    return !file.exists() || file.remove();
}

std::optional<std::string> DesktopExecValue(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    bool reserved = false;
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
        if (std::string_view(" \"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) {
            reserved = true;
        }
    }
    // "%" starts a field code even inside quotes; "%%" is a literal one.
    std::string quoted;
    if (reserved) {
        quoted += '"';
    }
    for (const char c : path) {
        if (c == '%') {
            quoted += "%%";
        } else if (reserved && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            quoted += '\\';
            quoted += c;
        } else {
            quoted += c;
        }
    }
    if (reserved) {
        quoted += '"';
    }
    // The Exec value is itself a string value, whose escape is the backslash.
    std::string value;
    for (const char c : quoted) {
        if (c == '\\') {
            value += "\\\\";
        } else {
            value += c;
        }
    }
    return value;
}

std::string DesktopEntryText(const std::string& name, const std::string& execValue) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + execValue +
           "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
}
