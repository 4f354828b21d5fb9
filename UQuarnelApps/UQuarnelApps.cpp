#include "UQuarnelApps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

std::string EnvOrEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string ConfigFolder()
{
    // A relative XDG_CONFIG_HOME is invalid by its own rules and would depend on the current
    // folder, so it is ignored like an unset one.
    const std::string xdg = EnvOrEmpty("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') {
        return xdg;
    }
    return QFile::encodeName(QDir::homePath()).toStdString() + "/.config";
}

int HexDigit(const char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string ComputeIniFileName()
{
    const std::string windir = EnvOrEmpty("windir");
    if (!windir.empty()) {
        return WithTrailingSlash(windir) + IniBaseName;
    }
    const std::string folder = ConfigFolder();
    // Failing to create the folder is not fatal here: reading then finds no file and gives the
    // defaults, and the first write reports the path it could not write.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return WithTrailingSlash(folder) + IniBaseName;
}

std::string ProgramFolder()
{
    if (QCoreApplication::instance() != nullptr) {
        const QString folder = QCoreApplication::applicationDirPath();
        if (!folder.isEmpty()) {
            return WithTrailingSlash(QFile::encodeName(folder).toStdString());
        }
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.has_parent_path()) {
        return {};
    }
    return WithTrailingSlash(program.parent_path().string());
}

std::string DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder =
        !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return WithTrailingSlash(QFile::encodeName(folder).toStdString());
}

std::string TitleWithoutVersion(const std::string& title)
{
    const std::size_t blank = title.rfind(' ');
    return blank == std::string::npos ? title : title.substr(0, blank);
}

std::string ColumnKey(const int index)
{
    return KeyColumnPrefix + std::to_string(index);
}

std::optional<int> ParseProfileInteger(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // The magnitude may reach one past INT_MAX for the most negative value.
    const long long limit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int ReadProfileInteger(const TProfileFile& profile, std::string_view section, std::string_view key,
                       const int defaultValue)
{
    const auto text = profile.ReadString(section, key);
    if (!text) {
        return defaultValue;
    }
    return ParseProfileInteger(*text).value_or(defaultValue);
}

std::string AboutMessage(const std::string& appTitle, const std::string& description,
                         const std::uint16_t firstYear, const std::uint16_t lastYear)
{
    std::string years = std::to_string(firstYear);
    if (lastYear != 0) {
        years += '-';
        years += std::to_string(lastYear);
    }
    return appTitle + "\r\r" + description + "\r\r" + "Web site: " + WebAddress + "\r" +
           "E-mail: " + EMailAddress + "\r\r" + "Copyright (c) " + years +
           " The Quarnel developers";
}
