#pragma once
// TIniFile with Windows INI semantics: sections and keys ignore case, keys with blanks are
// kept as they are, values are not escaped, the file is UTF-8; a missing file, section or key
// reads the default; writing updates one key in place and keeps the rest of the file
// (comments, order, other keys). Every write goes to disk at once, creating the file and its
// folder when missing; a failed write raises EIniFileException "Unable to write to <file>".
// As Windows does, a value between matching quotes ("..." or '...') reads without them.
#include <QString>
#include <QStringList>

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);
    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;   // bad text gives def; "0x1F" is hex
    // Read as an integer: 0 is false, any other integer true; a missing key or text that is
    // not an integer (such as "True") gives def.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);        // "1" / "0"
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList ReadSection(const QString& section) const;   // key names
    QStringList ReadSections() const;
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
private:
    QString m_fileName;
};
