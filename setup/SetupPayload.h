#pragma once
// The files the setup carries: the program, its tool, the first connection settings, the
// template and sample account sets and the print templates, embedded at build time as the
// resources ":/payload/<NAME>". Names are matched without regard to case.
#include <QString>
#include <QStringList>

class TSetupPayload {
public:
    // The names the build embedded.
    static QStringList Names();
    static bool Contains(const QString& name);
    // ":/payload/<NAME>" as embedded, or an empty string when the setup lacks it.
    static QString ResourcePath(const QString& name);
    // Writes the resource as a whole file, replacing an existing one. Raises EFOpenError
    // when the setup lacks it and EFCreateError when the file cannot be written.
    static void WriteTo(const QString& name, const QString& fileName, bool executable = false);
};

// The print templates: resource name and file name, in the order they are written.
struct TPrintTemplateFile {
    const char* Resource;
    const char16_t* FileName;
};
inline constexpr TPrintTemplateFile PrintTemplateFiles[] = {
    {"EXBILLA", u"材料出库单（普通型）.prt"},
    {"EXBILLC", u"材料出库单（多币种）.prt"},
    {"IMBILLA", u"材料入库单（成品型）.prt"},
    {"IMBILLB", u"材料入库单（运杂类）.prt"},
    {"IMBILLC", u"材料入库单（多币种）.prt"},
};
