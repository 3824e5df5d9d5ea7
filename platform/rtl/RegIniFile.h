#pragma once
// TRegIniFile: a key of the Windows registry below the current user, kept as INI
// sections. The key HKEY_CURRENT_USER\<KeyName> with its sub-key <Section> becomes
// the section "<KeyName>\<Section>" of one INI file in the user's configuration
// folder: <config>/Depotrix/registry.ini ($XDG_CONFIG_HOME, by default ~/.config).
// A key's default value is the name "@", as registry export files write it.
#include "IniFile.h"

class TRegIniFile {
public:
    explicit TRegIniFile(const QString& keyName);
    // The INI file that holds the registry keys of the program.
    static QString RegistryFileName();
    const QString& KeyName() const { return m_keyName; }
    // The INI section of a sub-key.
    QString SectionOf(const QString& section) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    QStringList ReadSection(const QString& section) const;
    void EraseSection(const QString& section);
    TIniFile& IniFile() { return m_ini; }

private:
    QString m_keyName;
    TIniFile m_ini;
};
