#pragma once
// Grid data out of and into streams: exporters that write what a data grid
// shows (tab-separated text, UTF-16 text, CSV, RTF and the grid library's own
// binary interchange format "VCLDBIF"), importers that read text, UTF-16 text
// and the binary format back into the records and columns the selection
// covers, and the clipboard routines (copy, cut, paste, delete) built on them.
#include "DBGridGxColumns.h"
#include "DBGridGxTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Variant.h"
#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TCustomDBGridGx;
class TDataSet;
class TField;

// ================================================================ export

class TDBGridGxExport {
public:
    TDBGridGxExport();
    virtual ~TDBGridGxExport();
    TDBGridGxExport(const TDBGridGxExport&) = delete;
    TDBGridGxExport& operator=(const TDBGridGxExport&) = delete;

    TCustomDBGridGx* DBGridGx() const { return FDBGridGx; }
    void SetDBGridGx(TCustomDBGridGx* grid) { FDBGridGx = grid; }

    // The walk over the selection (everything with IsExportAll).
    virtual void ExportToStream(QIODevice* AStream, bool IsExportAll);
    // Creates (truncates) the file and exports into it.
    void ExportToFile(const QString& FileName, bool IsExportAll);

protected:
    // Each format writes what it has: a format without a prefix, a suffix, titles or a kind of
    // cell leaves that hook as it is.
    virtual void BeginExport() {}
    virtual void EndExport() {}
    virtual void ExportTitleRow(TColumnsGxList& /*ColumnsList*/) {}
    virtual void ExportRecordRow(TColumnsGxList& ColumnsList);
    virtual void ExportDataCell(TColumnGx* /*Column*/, TColCellParamsGx& /*Params*/) {}
    virtual void ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo);
    virtual void ExportFooterCell(int /*DataCol*/, int /*Row*/, const QString& /*Text*/, TAlignment /*Alignment*/,
                                  TColor /*Background*/, TFont* /*AFont*/, TColumnGx* /*Column*/)
    {
    }

    // Writes bytes to the stream of the run.
    void Put(const QByteArray& bytes);
    // The text of a footer cell as the footer row writes it.
    QString FooterText(TColumnGx* Column, int FooterNo);
    // The footer's field of a column; nullptr when none.
    TField* FooterField(TColumnGx* Column, int FooterNo);
    // A footer cell as the footer row writes it: its font, colour, alignment and text after
    // the grid's footer-parameter event.
    void FooterCell(TColumnGx* Column, int FooterNo, TFont& AFont, TColor& Color, TAlignment& Alignment,
                    QString& Text);
    // Whether a data cell should show the edit text (numeric field, edit format preferred).
    bool UsesEditText(TColumnGx* Column) const;

    TColCellParamsGx FColCellParamsGx;
    TCustomDBGridGx* FDBGridGx = nullptr;
    TColumnsGxList* FExpCols = nullptr;
    QIODevice* FStream = nullptr;
    // Per footer row and exported column (index column + row × columns): sums and counts of
    // the exported records; FooterCounts counts the records an average covers.
    std::vector<Currency> FooterValues;
    std::vector<qint64> FooterCounts;

private:
    void SizeFooterValues(int ColumnCount);
    void AccumulateFooterValues();
};

class TDBGridGxExportAsText : public TDBGridGxExport {
public:
    void ExportToStream(QIODevice* AStream, bool IsExportAll) override;

protected:
    void ExportTitleRow(TColumnsGxList& ColumnsList) override;
    void ExportRecordRow(TColumnsGxList& ColumnsList) override;
    void ExportDataCell(TColumnGx* Column, TColCellParamsGx& Params) override;
    void ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo) override;
    void ExportFooterCell(int DataCol, int Row, const QString& Text, TAlignment Alignment, TColor Background,
                          TFont* AFont, TColumnGx* Column) override;
    virtual void PutRowSeparator();
    virtual void PutCellSeparator();
    // The characters of a text in the format's encoding.
    virtual QByteArray Encode(const QString& text) const;

    bool FirstRec = true;
    bool FirstCell = true;
};

// The text layout with every character as a UTF-16 little-endian code unit.
class TDBGridGxExportAsUnicodeText : public TDBGridGxExportAsText {
protected:
    QByteArray Encode(const QString& text) const override;
};

class TDBGridGxExportAsCSV : public TDBGridGxExportAsText {
public:
    TDBGridGxExportAsCSV();
    char Separator() const { return FSeparator; }
    void SetSeparator(char value) { FSeparator = value; }

protected:
    void ExportTitleRow(TColumnsGxList& ColumnsList) override;
    void ExportDataCell(TColumnGx* Column, TColCellParamsGx& Params) override;
    void ExportFooterCell(int DataCol, int Row, const QString& Text, TAlignment Alignment, TColor Background,
                          TFont* AFont, TColumnGx* Column) override;
    void PutCellSeparator() override;

private:
    QByteArray Quoted(const QString& text) const;
    char FSeparator;
};

class TDBGridGxExportAsRTF : public TDBGridGxExport {
public:
    void ExportToStream(QIODevice* AStream, bool IsExportAll) override;

protected:
    void EndExport() override;
    void ExportTitleRow(TColumnsGxList& ColumnsList) override;
    void ExportRecordRow(TColumnsGxList& ColumnsList) override;
    void ExportDataCell(TColumnGx* Column, TColCellParamsGx& Params) override;
    void ExportFooterRow(TColumnsGxList& ColumnsList, int FooterNo) override;
    void ExportFooterCell(int DataCol, int Row, const QString& Text, TAlignment Alignment, TColor Background,
                          TFont* AFont, TColumnGx* Column) override;

private:
    void PutText(const QByteArray& text);
    void PutLine(const QByteArray& text);
    int ColorIndex(TColor color);
    int FontIndex(const QString& name);
    void PutFontRun(TFont* AFont, const QString& Text, TColor Background);
    void PutCellBorders(bool Left, bool Top, bool Right, bool Bottom);
    void PutRowPrologue(TColumnsGxList& ColumnsList, const std::vector<TColor>& Shading);
    void PutCell(TAlignment Alignment, TFont* AFont, const QString& Text, TColor Background);
    void ExportMultiTitleRows(TColumnsGxList& ColumnsList);
    int TwipsOf(int Pixels) const;
    QByteArray Spacing() const;

    QIODevice* FCacheStream = nullptr;
    QStringList ColorTblList;
    QStringList FontTblList;
};

class TDBGridGxExportAsVCLDBIF : public TDBGridGxExport {
protected:
    void BeginExport() override;
    void EndExport() override;
    void ExportDataCell(TColumnGx* Column, TColCellParamsGx& Params) override;
};

// The separator the CSV exporter starts with.
extern char DBGridGxCSVSeparator;

// The text of a value for RTF: "\", "{" and "}" escaped, characters outside ASCII
// as Unicode escapes.
QByteArray RtfEscapedText(const QString& text);

// ================================================================ import

enum TImportTextSreamState : unsigned char { itssChar = 0, itssTab = 1, itssNewLine = 2, itssEof = 3 };

class TDBGridGxImport {
public:
    TDBGridGxImport() = default;
    virtual ~TDBGridGxImport() = default;
    TDBGridGxImport(const TDBGridGxImport&) = delete;
    TDBGridGxImport& operator=(const TDBGridGxImport&) = delete;

    TCustomDBGridGx* DBGridGx() const { return FDBGridGx; }
    void SetDBGridGx(TCustomDBGridGx* grid) { FDBGridGx = grid; }

    virtual void ImportFromStream(QIODevice* AStream, bool IsImportAll);
    void ImportFromFile(const QString& FileName, bool IsImportAll);

protected:
    // A format without a prefix, an ending or a kind of cell leaves that hook as it is.
    virtual void ReadPrefix() {}
    virtual void FinishImport() {}
    virtual void ImportRecord(TColumnsGxList& ColumnsList);
    virtual void ImportDataCell(TColumnGx* /*Column*/) {}

    // Runs an assignment; an error asks Yes/No/All (No ends the import silently).
    void AssignGuarded(const std::function<void()>& assign);
    // The column's field is ready to take a value (dataset editable and in edit or insert state).
    bool PrepareField(TField* Field);

    TCustomDBGridGx* FDBGridGx = nullptr;
    QIODevice* FStream = nullptr;
    TColumnsGxList* FImpCols = nullptr;
    bool Eos = false;
    bool FIgnoreAll = false;
};

class TDBGridGxImportAsText : public TDBGridGxImport {
public:
    void ImportFromStream(QIODevice* AStream, bool IsImportAll) override;

protected:
    void ReadPrefix() override;
    void ImportRecord(TColumnsGxList& ColumnsList) override;
    void ImportDataCell(TColumnGx* Column) override;
    // Bytes a character takes, and how one is read and decoded.
    virtual int CharSize() const { return 1; }
    virtual QString ReaderName() const { return QStringLiteral("TDBGridGxImportAsText"); }
    virtual QString Decode(const QByteArray& bytes) const;
    bool ReadChar(QByteArray& ch);
    TImportTextSreamState CheckState();
    void ReadCellText();

    QByteArray FLastChar;                // the character last read, in the stream's bytes
    TImportTextSreamState FLastState = itssNewLine;
    QString FLastString;
};

class TDBGridGxImportAsUnicodeText : public TDBGridGxImportAsText {
protected:
    int CharSize() const override { return 2; }
    QString ReaderName() const override { return QStringLiteral("TDBGridGxImportAsUnicodeText"); }
    QString Decode(const QByteArray& bytes) const override;
};

class TDBGridGxImportAsVCLDBIF : public TDBGridGxImport {
public:
    void ImportFromStream(QIODevice* AStream, bool IsImportAll) override;

protected:
    void ReadPrefix() override;
    void ImportRecord(TColumnsGxList& ColumnsList) override;
    void ImportDataCell(TColumnGx* Column) override;

private:
    void ReadValue();
    QByteArray ReadBytes(qint64 Count);
    qint32 ReadInt32();
    [[noreturn]] void FormatError();

    QByteArray FSignature;
    qint32 FColumnCount = 0;
    Variant LastValue;
    QStringList FieldNames;
    std::vector<int> FieldVisible;
    bool UseFieldNames = false;
};

// ================================================================ routines

using TDBGridGxExportClass = std::function<std::unique_ptr<TDBGridGxExport>()>;
using TDBGridGxImportClass = std::function<std::unique_ptr<TDBGridGxImport>()>;
template <class T> TDBGridGxExportClass ExportClassOf() { return [] { return std::make_unique<T>(); }; }
template <class T> TDBGridGxImportClass ImportClassOf() { return [] { return std::make_unique<T>(); }; }

void ExportGridToStream(const TDBGridGxExportClass& ExportClass, TCustomDBGridGx* Grid, QIODevice* Stream,
                        bool ForWholeGrid);
void ImportGridFromStream(const TDBGridGxImportClass& ImportClass, TCustomDBGridGx* Grid, QIODevice* Stream,
                          bool ForWholeGrid);

void CopyGridSelectionToClipboard(TCustomDBGridGx* Grid, bool ForWholeGrid);
void CutGridSelectionToClipboard(TCustomDBGridGx* Grid, bool ForWholeGrid);
void PasteClipboardIntoGrid(TCustomDBGridGx* Grid, bool ForWholeGrid);
void DeleteGridSelection(TCustomDBGridGx* Grid, bool ForWholeGrid);

// The visible columns of the collection from Left to Right (collection indexes).
void VisibleGridColumns(TCustomDBGridGx* Grid, int Left, int Right, TColumnsGxList& List);

// Text as UTF-16 little-endian bytes (no byte-order mark, no terminator) and back.
QByteArray Utf16LEBytes(const QString& text);
QString Utf16LEText(const QByteArray& bytes);

// Clipboard text with every line end as CR LF (a lone LF or CR included).
QString NormalizeLineEnds(const QString& text);
