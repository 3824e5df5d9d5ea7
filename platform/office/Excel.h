#pragma once
// The spreadsheet application the reports and the clipboard imports drive: an application
// object with its workbooks, worksheets and ranges, offering the members the program calls
// (Visible, Workbooks.Add, Worksheets, Cells, Range by address, Columns, Merge, RowHeight,
// ColumnWidth, HorizontalAlignment, Font.Size/Bold, Borders.LineStyle, PageSetup.Orientation,
// Paste, Saved, Quit). Workbooks are kept in memory and written as .xlsx files; a visible
// application hands its unsaved workbooks to the desktop when it is released (see
// ExcelDesktop). Rows and columns count from 1. A call outside what the application accepts
// raises EOleException, as a failing automation call does.
#include "platform/rtl/Currency.h"
#include "platform/rtl/Variant.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TExcelWorksheet;
class TExcelWorkbook;
class TExcelApplication;

// Horizontal alignment codes: 1 general, 2 left, 3 centre, 4 right, 5 fill, 6 justify,
// 7 centre across selection, 8 distributed. The named constants of the application
// (xlLeft -4131, xlCenter -4108, xlRight -4152, xlJustify -4130, xlDistributed -4117) are
// accepted and stored as their codes.
enum : int { xlHAlignGeneral = 1, xlHAlignLeft = 2, xlHAlignCenter = 3, xlHAlignRight = 4 };
// Line styles of Borders.LineStyle.
enum : int {
    xlContinuous = 1, xlDash = -4115, xlDot = -4118, xlDashDot = 4, xlDashDotDot = 5, xlDouble = -4119,
    xlSlantDashDot = 13, xlLineStyleNone = -4142
};
// PageSetup.Orientation.
enum : int { xlPortrait = 1, xlLandscape = 2 };

inline constexpr int kExcelMaxRows = 1048576;
inline constexpr int kExcelMaxCols = 16384;

// Formatting of one cell (or the default of a column). 0 in a field means "not set".
struct TExcelCellFormat {
    double fontSize = 0;     // points; 0 = the workbook's default size
    bool bold = false;
    int halign = 0;          // code as above; 0 = general
    int lineStyle = 0;       // border on all four sides; 0 = none
    bool operator==(const TExcelCellFormat&) const = default;
};

struct TExcelCell {
    Variant value;           // Unassigned when empty
    quint16 format = 0;      // index into the sheet's format table
};

struct TExcelArea {
    int top = 1, left = 1, bottom = 1, right = 1;   // inclusive
    bool operator==(const TExcelArea&) const = default;
    bool intersects(const TExcelArea& o) const
    {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
};

// A range of one worksheet. Cheap to copy; valid while its worksheet lives.
class TExcelRange {
public:
    TExcelRange(TExcelWorksheet* sheet, const TExcelArea& area, bool wholeColumns = false);

    class FontRef {
    public:
        double Size() const;
        void SetSize(double points);
        bool Bold() const;
        void SetBold(bool v);
    private:
        friend class TExcelRange;
        explicit FontRef(const TExcelRange* r) : m_r(r) {}
        const TExcelRange* m_r;
    };
    class BordersRef {
    public:
        int LineStyle() const;
        void SetLineStyle(int style);
    private:
        friend class TExcelRange;
        explicit BordersRef(const TExcelRange* r) : m_r(r) {}
        const TExcelRange* m_r;
    };

    // Value of the top-left cell. Setting writes every cell of the range; a text that reads
    // as a plain decimal number is stored as that number, as typed input is.
    Variant Value() const;
    void SetValue(const Variant& v);
    // The top-left cell's value as text ("" when empty; numbers in the general form).
    QString Text() const;
    // Merges the range (with every merged area it overlaps) into one; the top-left value stays.
    void Merge();
    double RowHeight() const;
    void SetRowHeight(double points);
    // Width in characters of the standard font; given as a four-decimal fixed-point value.
    double ColumnWidth() const;
    void SetColumnWidth(Currency width);
    void SetColumnWidth(double width) { SetColumnWidth(Currency::FromDouble(width)); }
    int HorizontalAlignment() const;
    void SetHorizontalAlignment(int code);
    FontRef Font() const { return FontRef(this); }
    BordersRef Borders() const { return BordersRef(this); }

    QString Address() const;           // "A1:C3" (one cell: "A1")
    const TExcelArea& Area() const { return m_area; }
    bool WholeColumns() const { return m_whole; }
    TExcelWorksheet* Worksheet() const { return m_sheet; }

private:
    void applyFormat(const std::function<void(TExcelCellFormat&)>& change) const;
    const TExcelCellFormat& topLeftFormat() const;
    TExcelWorksheet* m_sheet;
    TExcelArea m_area;
    bool m_whole;
};

class TExcelPageSetup {
public:
    int Orientation() const { return m_orientation; }
    void SetOrientation(int o);
private:
    int m_orientation = xlPortrait;
};

class TExcelWorksheet {
public:
    TExcelWorksheet(TExcelWorkbook* book, const QString& name);

    QString Name() const { return m_name; }
    void SetName(const QString& name);   // raises on an invalid or duplicate name
    TExcelWorkbook* Workbook() const { return m_book; }

    TExcelRange Cells(int row, int col);
    // "A1", "B2:D4", "$A$1:$C$3"; letters in either case.
    TExcelRange Range(const QString& address);
    TExcelRange Columns(int col);
    TExcelPageSetup& PageSetup() { return m_pageSetup; }
    const TExcelPageSetup& PageSetup() const { return m_pageSetup; }
    // Pastes the clipboard's text at A1: rows by line breaks, columns by tabs; each cell
    // keeps its text as pasted.
    void Paste();
    void PasteText(const QString& text, int row = 1, int col = 1);

    // ---- contents for the writer and for readers ----
    int RowCount() const { return int(m_rows.size()); }        // last row holding a cell
    int ColumnCountOf(int row) const;                          // cells held in that row
    const TExcelCell* CellAt(int row, int col) const;          // null when none
    const TExcelCellFormat& Format(quint16 index) const { return m_formats[index]; }
    const QList<TExcelArea>& MergedAreas() const { return m_merges; }
    const QMap<int, double>& ColumnWidths() const { return m_colWidths; }
    const QMap<int, double>& RowHeights() const { return m_rowHeights; }
    const QMap<int, quint16>& ColumnFormats() const { return m_colFormats; }
    double DefaultRowHeight() const { return m_defaultRowHeight; }
    static constexpr double kStandardWidth = 8.43;
    static constexpr double kStandardHeight = 15.0;

private:
    friend class TExcelRange;
    TExcelCell& cell(int row, int col);
    quint16 formatIndex(const TExcelCellFormat& f);
    void checkArea(const TExcelArea& a) const;

    TExcelWorkbook* m_book;
    QString m_name;
    std::vector<std::vector<TExcelCell>> m_rows;   // [row - 1][col - 1]
    std::vector<TExcelCellFormat> m_formats{TExcelCellFormat{}};
    QList<TExcelArea> m_merges;
    QMap<int, double> m_colWidths, m_rowHeights;
    QMap<int, quint16> m_colFormats;
    double m_defaultRowHeight = kStandardHeight;
    TExcelPageSetup m_pageSetup;
};

class TExcelWorkbook {
public:
    TExcelWorkbook(TExcelApplication* app, const QString& name, int sheets);
    QString Name() const { return m_name; }
    TExcelApplication* Application() const { return m_app; }
    int WorksheetCount() const { return int(m_sheets.size()); }
    TExcelWorksheet* Worksheets(int index);           // from 1; raises when out of range
    TExcelWorksheet* ActiveSheet() { return Worksheets(m_active); }
    void SetActiveSheet(int index);
    TExcelWorksheet* AddWorksheet();                  // after the last one, becomes active
    bool Saved() const { return m_saved; }
    void SetSaved(bool v) { m_saved = v; }
    // Writes the workbook as an .xlsx file; raises EOleException when the file cannot be
    // written. Marks the workbook saved.
    void SaveAs(const QString& path);
    bool HasWorksheetNamed(const QString& name, const TExcelWorksheet* except) const;

private:
    TExcelApplication* m_app;
    QString m_name;
    std::vector<std::unique_ptr<TExcelWorksheet>> m_sheets;
    int m_active = 1;
    bool m_saved = true;
};

// The application object. Workbooks.Add gives a workbook of three sheets ("Sheet1" to
// "Sheet3"). When a visible application is released without Quit, each workbook that is not
// marked saved goes to the desktop (ExcelDesktop::Present).
class TExcelApplication {
public:
    TExcelApplication();
    ~TExcelApplication();
    TExcelApplication(const TExcelApplication&) = delete;
    TExcelApplication& operator=(const TExcelApplication&) = delete;

    bool Visible() const { return m_visible; }
    void SetVisible(bool v) { m_visible = v; }
    TExcelWorkbook* WorkbooksAdd();
    int WorkbookCount() const { return int(m_books.size()); }
    TExcelWorkbook* Workbooks(int index);             // from 1; raises when out of range
    TExcelWorkbook* ActiveWorkbook();                 // raises when there is none
    TExcelWorksheet* ActiveSheet() { return ActiveWorkbook()->ActiveSheet(); }
    // Closes every workbook without saving and ends the application.
    void Quit();
    bool Quitted() const { return m_quit; }

private:
    std::vector<std::unique_ptr<TExcelWorkbook>> m_books;
    int m_active = 0;
    int m_bookNumber = 0;
    bool m_visible = false;
    bool m_quit = false;
};

// The automation object "excel.application" as a reference: the application lives while
// a reference is held.
using ExcelApp = std::shared_ptr<TExcelApplication>;
// Creates the application object (hidden, no workbook).
ExcelApp CreateExcelApplication();

// Hand-over of finished workbooks to the desktop: the workbook is written to a new file in
// the temporary folder and opened with the desktop's spreadsheet program; when there is
// none, the file's path is shown in a message. Tests replace the opener.
class ExcelDesktop {
public:
    // Opens a file; false when no program could take it.
    using Opener = std::function<bool(const QString& path)>;
    // Replaces the opener; returns the previous one. An empty function restores the default.
    static Opener SetOpener(Opener opener);
    // Writes the workbook to a temporary .xlsx and hands it to the opener. Returns the path.
    static QString Present(TExcelWorkbook* book);
    // The desktop's default: a spreadsheet program registered for .xlsx files, started
    // through the desktop services. On a platform without a screen (offscreen) it starts
    // nothing and reports success.
    static bool DefaultOpener(const QString& path);
};

// Splits clipboard text as spreadsheets copy it: rows by line breaks (CR LF, LF or CR),
// cells by tabs; a cell that starts with a double quote runs to the closing quote and may
// hold tabs, line breaks and doubled quotes. A final line break ends the last row.
QList<QStringList> ParseTabText(const QString& text);

// Column letters of a column number (1 = "A", 27 = "AA"); empty outside 1..16384.
QString ExcelColumnLetters(int col);
