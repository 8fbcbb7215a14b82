#pragma once
// A Windows-style INI file read once: sections and keys are matched without
// regard to case, as the suite's other programs (written for Windows) expect.
// Files saved by Windows tools in the ANSI code page are read as Latin-1.

#include <QHash>
#include <QString>

class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString &path) { load(path); }
    bool load(const QString &path); // false when the file cannot be read
    bool exists() const { return m_exists; }
    QString readString(const QString &section, const QString &key,
                       const QString &fallback = {}) const;
    int readInteger(const QString &section, const QString &key, int fallback = 0) const;
    bool hasKey(const QString &section, const QString &key) const;

private:
    bool m_exists = false;
    QHash<QString, QString> m_values; // "section\nkey" in lower case
};
