#include "RegIniFile.h"

#include <QStandardPaths>

TRegIniFile::TRegIniFile(const QString& keyName) : m_keyName(keyName), m_ini(RegistryFileName()) {}

QString TRegIniFile::RegistryFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Depotrix/registry.ini");
}

QString TRegIniFile::SectionOf(const QString& section) const
{
    if (m_keyName.isEmpty())
        return section;
    return section.isEmpty() ? m_keyName : m_keyName + QLatin1Char('\\') + section;
}

QString TRegIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return m_ini.ReadString(SectionOf(section), key, def);
}

void TRegIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    m_ini.WriteString(SectionOf(section), key, value);
}

QStringList TRegIniFile::ReadSection(const QString& section) const
{
    return m_ini.ReadSection(SectionOf(section));
}

void TRegIniFile::EraseSection(const QString& section)
{
    m_ini.EraseSection(SectionOf(section));
}
