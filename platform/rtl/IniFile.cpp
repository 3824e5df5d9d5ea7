#include "IniFile.h"
#include "Exceptions.h"
#include "Format.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The file as lines, with what is needed to write it back the way it was.
struct IniText {
    QStringList lines;
    QString eol = QStringLiteral("\n");
    bool bom = false;
};

IniText load(const QString& fileName)
{
    IniText t;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return t;
    QByteArray data = f.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) {
        t.bom = true;
        data.remove(0, 3);
    }
    if (data.contains("\r\n"))
        t.eol = QStringLiteral("\r\n");
    QString text = QString::fromUtf8(data);
    t.lines = text.split(QLatin1Char('\n'));
    for (QString& l : t.lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!t.lines.isEmpty() && t.lines.last().isEmpty())
        t.lines.removeLast();
    return t;
}

void save(const QString& fileName, const IniText& t)
{
    QString text;
    for (const QString& l : t.lines)
        text += l + t.eol;
    QByteArray data = text.toUtf8();
    if (t.bom)
        data.prepend("\xEF\xBB\xBF");
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(fileName));
}

bool sectionOf(const QString& line, QString& name)
{
    QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    int close = t.indexOf(QLatin1Char(']'));
    name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
    return true;
}

bool keyOf(const QString& line, QString& key, QString* value = nullptr)
{
    QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return false;
    int eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    key = t.left(eq).trimmed();
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        // A value between matching quotes is read without them.
        if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// Line range of the first section of that name: [header, end). False when absent.
bool findSection(const IniText& t, const QString& section, int& header, int& end)
{
    const QString wanted = section.trimmed();
    for (int i = 0; i < t.lines.size(); ++i) {
        QString name;
        if (sectionOf(t.lines[i], name) && same(name, wanted)) {
            header = i;
            end = i + 1;
            QString dummy;
            while (end < t.lines.size() && !sectionOf(t.lines[end], dummy))
                ++end;
            return true;
        }
    }
    return false;
}

int findKey(const IniText& t, int header, int end, const QString& key, QString* value = nullptr)
{
    const QString wanted = key.trimmed();
    for (int i = header + 1; i < end; ++i) {
        QString k;
        if (keyOf(t.lines[i], k, value) && same(k, wanted))
            return i;
    }
    return -1;
}

} // namespace

TIniFile::TIniFile(const QString& fileName) : m_fileName(fileName) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    QString value;
    if (findSection(t, section, header, end) && findKey(t, header, end, key, &value) >= 0)
        return value;
    return def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    QString text = ReadString(section, key, QString());
    if (text.size() > 2 && text[0] == QLatin1Char('0') && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X')))
        text = QLatin1Char('$') + text.mid(2);
    return StrToIntDef(text, def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    IniText t = load(m_fileName);
    const QString line = key.trimmed() + QLatin1Char('=') + value;
    int header = 0, end = 0;
    if (!findSection(t, section, header, end)) {
        t.lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']') << line;
    } else {
        int at = findKey(t, header, end, key);
        if (at >= 0) {
            t.lines[at] = line;
        } else {
            int insertAt = end;
            while (insertAt > header + 1 && t.lines[insertAt - 1].trimmed().isEmpty())
                --insertAt;
            t.lines.insert(insertAt, line);
        }
    }
    save(m_fileName, t);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString& section) const
{
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    return findSection(t, section, header, end);
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    return findSection(t, section, header, end) && findKey(t, header, end, key) >= 0;
}

QStringList TIniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    if (!findSection(t, section, header, end))
        return keys;
    for (int i = header + 1; i < end; ++i) {
        QString k;
        if (keyOf(t.lines[i], k))
            keys << k;
    }
    return keys;
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    IniText t = load(m_fileName);
    for (const QString& l : t.lines) {
        QString name;
        if (sectionOf(l, name) && !names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    return names;
}

void TIniFile::EraseSection(const QString& section)
{
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    if (!findSection(t, section, header, end))
        return;
    t.lines.erase(t.lines.begin() + header, t.lines.begin() + end);
    save(m_fileName, t);
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    IniText t = load(m_fileName);
    int header = 0, end = 0;
    if (!findSection(t, section, header, end))
        return;
    int at = findKey(t, header, end, key);
    if (at < 0)
        return;
    t.lines.removeAt(at);
    save(m_fileName, t);
}
