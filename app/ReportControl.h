#pragma once
// Print templates: TReportControl holds a page of cells laid out in lines, as
// a ruled paper form. A cell whose text starts with "#" names a bill field and
// is filled when the bill prints; one line can be the data line, repeated for
// the bill's lines. The same control is the designer's view (drawn and edited
// with the mouse) and the bill forms' hidden printer.
//
// All geometry is in screen pixels of the page at ScreenPixelsPerInch (96),
// whatever the real screen is; millimetres become pixels as
// trunc(mm * 96 / 25 + 0.5).
#include "platform/gui/ControlBase.h"
#include "platform/gui/Canvas.h"

#include <QList>
#include <QPointer>
#include <memory>
#include <vector>

class TDataSet;
class TReportControl;
class TReportLine;
class TReportEditWindow;

// The font as it is stored in a template: the 92 bytes of the Windows LOGFONTW
// record. Drawing maps it to an installed font (FontFromLogFont).
struct TLogFontW {
    qint32 lfHeight = 0;
    qint32 lfWidth = 0;
    qint32 lfEscapement = 0;
    qint32 lfOrientation = 0;
    qint32 lfWeight = 0;
    quint8 lfItalic = 0;
    quint8 lfUnderline = 0;
    quint8 lfStrikeOut = 0;
    quint8 lfCharSet = 0;
    quint8 lfOutPrecision = 0;
    quint8 lfClipPrecision = 0;
    quint8 lfQuality = 0;
    quint8 lfPitchAndFamily = 0;
    char16_t lfFaceName[32] = {};

    QString FaceName() const;
    void SetFaceName(const QString& name);  // at most 31 units, zero-filled
    bool operator==(const TLogFontW&) const = default;
};
constexpr int kLogFontSize = 92;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// 10 points at the screen resolution (-13), DEFAULT_CHARSET, "宋体".
TLogFontW DefaultCellLogFont();
// The drawing font of a stored font: the face when it is installed, else the
// application's CJK face; height in logical pixels.
TFont FontFromLogFont(const TLogFontW& lf);
// The stored form of a font object's attributes.
TLogFontW LogFontFromFont(const TFont& font);

// Millimetres to template pixels: trunc(mm * 96 / 25 + 0.5).
int MmToPixels(int mm);

// Longest cell text, in UTF-16 units.
constexpr int kMaxCellText = 1000;

// One running page sum while printing.
struct TMyTotal {
    QString nametext;
    double value = 0;
};

// One line's horizontal extent while merging cells; Left 65535 means no cell.
struct TMyRect {
    int Left = 65535;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Variable kinds of a cell.
enum : int { vkFixed = 0, vkField = 1, vkPageNumber = 2, vkPrintDate = 3, vkPageSum = 4, vkPageSumCapitals = 5 };

class TReportCell {
public:
    explicit TReportCell(TReportLine* line = nullptr);
    TReportCell(const TReportCell&) = delete;
    TReportCell& operator=(const TReportCell&) = delete;

    // Copies attributes, text and font (not position, owner or owned cells).
    void CopyCell(const TReportCell& from);

    TReportLine* OwnerLine() const { return FOwnerLine; }
    TReportControl* ReportControl() const;
    TReportCell* OwnerCell() const { return FOwnerCell; }
    int OwnedCellCount() const { return int(FCellsList.size()); }
    TReportCell* OwnedCell(int i) const { return FCellsList.value(i); }
    const QList<TReportCell*>& OwnedCells() const { return FCellsList; }
    // Merges a cell below into this one: its text is appended (the joined text
    // is cut at 1000 units) and cleared, it becomes owned and the cells it
    // owned pass to this cell.
    void AddOwnedCell(TReportCell* cell);
    // Inserts an owned cell at a position of the list without touching texts.
    void InsertOwnedCell(int index, TReportCell* cell);
    // Releases one owned cell: its owner is cleared and its height measured again.
    void RemoveOwnedCell(TReportCell* cell);
    void RemoveAllOwnedCell();

    int CellIndex() const { return FCellIndex; }
    int CellLeft() const { return FCellLeft; }
    void SetCellLeft(int left);
    int CellWidth() const { return FCellWidth; }
    void SetCellWidth(int width);       // at least 10
    int CellTop() const;
    int CellHeight() const;
    int OwnerLineHeight() const;
    TRect CellRect() const { return FCellRect; }
    TRect TextRect() const { return FTextRect; }
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int m);
    int DragCellHeight() const { return FDragCellHeight; }
    int MinCellHeight() const { return FMinCellHeight; }
    int RequiredCellHeight() const { return FRequiredCellHeight; }

    bool LeftLine() const { return FLeftLine; }
    bool TopLine() const { return FTopLine; }
    bool RightLine() const { return FRightLine; }
    bool BottomLine() const { return FBottomLine; }
    int LeftLineWidth() const { return FLeftLineWidth; }
    int TopLineWidth() const { return FTopLineWidth; }
    int RightLineWidth() const { return FRightLineWidth; }
    int BottomLineWidth() const { return FBottomLineWidth; }
    void SetLines(bool left, bool top, bool right, bool bottom, int leftWidth, int topWidth, int rightWidth,
                  int bottomWidth);

    quint32 Diagonal() const { return FDiagonal; }
    void SetDiagonal(quint32 d) { FDiagonal = d; }
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor c) { FTextColor = c; }
    TColor BkColor() const { return FBackGroundColor; }
    void SetBkColor(TColor c) { FBackGroundColor = c; }
    int HorzAlign() const { return FHorzAlign; }
    void SetHorzAlign(int a);
    int VertAlign() const { return FVertAlign; }
    void SetVertAlign(int a);
    QString CellText() const { return FCellText; }
    void SetCellText(const QString& text);  // cut at 1000 units
    TLogFontW LogFont() const { return FLogFont; }
    void SetLogFont(const TLogFontW& lf);
    bool Isvarray() const { return Fisvarray; }
    int varraytype() const { return Fvarraytype; }
    void Setvarraytype(int kind);       // kinds other than 0 make the cell a variable
    QString cellvarraytext() const { return Fcellvarraytext; }

    // The bill data that fills the cell: the lines on the data line, else the head.
    TDataSet* Dataset() const;

    // Geometry rules: the height the text needs, and the frame and text rectangles.
    void CalcMinCellHeight();
    void CalcCellRect();

    // Drawing in screen (bPrint false) or print appearance.
    void PaintCell(TCanvas* canvas, bool bPrint);
    void PaintCellgrid(TCanvas* canvas, bool bPrint);
    void Paintcellvarray(TCanvas* canvas, bool bPrint);

private:
    friend class TReportLine;
    friend class TReportControl;
    friend class TReportFileReader;

    // Frame (background, edges, diagonals) and text, each when asked; the text
    // is the printed value of a variable when values is set.
    void drawCell(TCanvas* canvas, bool bPrint, bool frame, bool text, bool values);
    void paintBackground(TCanvas* canvas, bool bPrint);
    void paintEdges(TCanvas* canvas, bool bPrint);
    void paintDiagonals(TCanvas* canvas);
    void paintText(TCanvas* canvas, const QString& text);
    // The text a variable prints: field values are read here, other kinds were
    // set by the print run.
    QString printValue();

    int FLeftMargin = 5;
    TReportLine* FOwnerLine = nullptr;
    TReportCell* FOwnerCell = nullptr;
    QList<TReportCell*> FCellsList;
    int FCellIndex = -1;
    int FCellLeft = 0;
    int FCellWidth = 0;
    TRect FCellRect;
    TRect FTextRect;
    int FDragCellHeight = 0;
    int FMinCellHeight = 0;
    int FRequiredCellHeight = 0;
    bool FLeftLine = true, FTopLine = true, FRightLine = true, FBottomLine = true;
    int FLeftLineWidth = 1, FTopLineWidth = 1, FRightLineWidth = 1, FBottomLineWidth = 1;
    quint32 FDiagonal = 0;
    TColor FTextColor = 0;
    TColor FBackGroundColor = 0xFFFFFF;
    int FHorzAlign = 0;
    int FVertAlign = 1;
    QString FCellText;
    TLogFontW FLogFont;
    bool Fisvarray = false;
    int Fvarraytype = 0;
    QString Fcellvarraytext;
};

class TReportLine {
public:
    explicit TReportLine(TReportControl* control);
    ~TReportLine();
    TReportLine(const TReportLine&) = delete;
    TReportLine& operator=(const TReportLine&) = delete;

    TReportControl* ReportControl() const { return FReportControl; }
    int CellCount() const { return int(FCells.size()); }
    TReportCell* Cell(int i) const;
    int IndexOfCell(const TReportCell* cell) const;
    // A new cell with the default attributes, appended (or inserted at index).
    TReportCell* AppendCell();
    TReportCell* InsertCell(int index);
    // Takes a cell out of the line; the caller frees it.
    std::unique_ptr<TReportCell> TakeCell(TReportCell* cell);
    // Fills an empty line with cells of one width starting at the left margin.
    void CreateLine(int left, int cellNumber, int cellWidth);
    // A copy of another line's cells and kind; dragged and minimum height are
    // the other line's dragged height, rows per page 1. Copies of owned cells
    // join their owner: appended to its list, or, with beforeOriginal, just
    // before the cell they copy.
    void CopyLine(const TReportLine& from, bool beforeOriginal);

    int Index() const { return FIndex; }
    int LineTop() const { return FLineTop; }
    void SetLineTop(int top);
    int LineHeight() const { return std::max(FDragHeight, FMinHeight); }
    void SetLineHeight(int h) { FDragHeight = h; }
    int MinHeight() const { return FMinHeight; }
    int DragHeight() const { return FDragHeight; }
    TRect LineRect() const;
    TRect PrevLineRect() const { return FLineRect; }
    int Linetype() const { return Flinetype; }
    // 1 makes this the only data line (grey on screen); other values make it
    // an ordinary line (white).
    void SetLinetype(int type);
    int prtlines() const { return Fprtlines; }
    void Setprtlines(int n) { Fprtlines = n; }

    // Line height: the largest cell height, at least 20, with the cells
    // renumbered and placed side by side from the left margin. In the print
    // layout the cells' heights are not looked at.
    void CalcLineHeight(bool forPrint = false);

private:
    friend class TReportControl;
    friend class TReportFileReader;

    TReportControl* FReportControl;
    std::vector<std::unique_ptr<TReportCell>> FCells;
    int FIndex = 0;
    int FMinHeight = 20;
    int FDragHeight = 0;
    int FLineTop = 0;
    TRect FLineRect;
    int Flinetype = 0;
    int Fprtlines = 1;
};

// Where a print run draws: the printer, or a test's recording device.
class TReportPrintTarget {
public:
    virtual ~TReportPrintTarget() = default;
    // Whether there is a device to print on.
    virtual bool Available() = 0;
    // Whether, where there is no device, the pages can go to a file instead.
    virtual bool OffersFile() const { return false; }
    // Asks the clerk for that file (suggestedName its name without folder or
    // suffix); true when one was chosen for this run.
    virtual bool ChooseFile(const QString& suggestedName)
    {
        Q_UNUSED(suggestedName);
        return false;
    }
    virtual void BeginDoc(const QString& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual TCanvas* Canvas() = 0;
    // The printable area in device pixels.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
};

class TReportControl : public TCustomControl {
    Q_OBJECT
public:
    explicit TReportControl(QWidget* parent = nullptr);
    ~TReportControl() override;

    // ---- model ----------------------------------------------------------
    int LineCount() const { return int(FLineList.size()); }
    TReportLine* Line(int i) const;
    int IndexOfLine(const TReportLine* line) const;
    // A new empty line appended below the others (or inserted at index).
    TReportLine* AppendLine();
    TReportLine* InsertLine(int index);
    const QList<TReportCell*>& SelectCells() const { return FSelectCells; }
    TReportCell* EditCell() const { return FEditCell; }

    bool IsPreview() const { return FPreviewStatus; }
    void SetPreview(bool v);
    int ReportScale() const { return FReportScale; }
    void SetReportScale(int scale);
    int pagewidth() const { return FPageWidth; }
    void Setpagewidth(int w);
    int pageheight() const { return FPageHeight; }
    void Setpageheight(int h);
    int LeftMarginPx() const { return FLeftMargin; }
    int TopMarginPx() const { return FTopMargin; }
    int RightMarginPx() const { return FRightMargin; }
    int BottomMarginPx() const { return FBottomMargin; }
    bool IsNewTable() const { return FNewTable; }
    int DataLine() const { return FDataLine; }
    int TablePerPage() const { return FTablePerPage; }
    TDataSet* headdataset() const { return FHeaddataset; }
    void Setheaddataset(TDataSet* ds) { FHeaddataset = ds; }
    TDataSet* bodydataset() const { return Fbodydataset; }
    void Setbodydataset(TDataSet* ds) { Fbodydataset = ds; }
    int pgwidth() const { return Fpgwidth; }
    void Setpgwidth(int mm) { Fpgwidth = mm; }
    int pgheight() const { return Fpgheight; }
    void Setpgheight(int mm) { Fpgheight = mm; }
    int billtype() const { return FBilltype; }
    void Setbilltype(int t) { FBilltype = t; }

    // Page size from the printer's printable area; the control's size from it and the zoom.
    void CalcWndSize();
    // Layout pass: owners' heights, line heights, lines stacked from the top margin.
    void UpdateLines();
    // The same with every line as high as its dragged height (at least 20).
    void UpdatePrintLines();

    // ---- files (ReportFile.cpp) ----------------------------------------
    // Writes the template. Raises EFCreateError when the file cannot be written.
    void SaveToFile(const QString& FileName);
    // Reads a template for design. A file that is not a template, or is
    // damaged, is refused with "打开文件错误" (and the reason) and leaves the
    // control as it was; returns whether it was read. Raises EFOpenError when
    // the file cannot be opened.
    bool LoadFromFile(const QString& FileName);
    // Reads a template for printing: the data line is repeated as many times
    // as it prints per page.
    bool LoadFromFileforprint(const QString& FileName);
    // The file image of the template (what SaveToFile writes).
    QByteArray SaveToBytes();
    // Reads a file image; an empty result means it was read, else the reason it was refused.
    QString LoadFromBytes(const QByteArray& data, bool forPrint);

    // ---- editing (ReportEdit.cpp) ---------------------------------------
    bool AddSelectedCell(TReportCell* Cell);
    bool RemoveSelectedCell(TReportCell* Cell);
    void RemoveAllSelectedCell();
    bool IsCellSelected(const TReportCell* Cell) const;
    bool CanAdd() const { return FSelectCells.size() <= 1; }
    bool CanInsert() const { return !FSelectCells.isEmpty(); }
    bool CanSplit() const;

    void NewTable(int ColNumber, int RowNumber);
    void AddLine();
    void InsertLine();
    void DeleteLine();
    void AddCell();
    void InsertCell();
    void DeleteCell();
    void CombineCell();
    void SplitCell();
    void VSplitCell(int Number);
    void ResetContent();

    void SetCellLines(bool bLeftLine, bool bTopLine, bool bRightLine, bool bBottomLine, int nLeftLineWidth,
                      int nTopLineWidth, int nRightLineWidth, int nBottomLineWidth);
    void SetCellDiagonal(quint32 NewDiagonal);
    void SetCellColor(TColor NewTextColor, TColor NewBackColor);
    void SetCellFont(const TLogFontW& CellFont);
    void setfont(const TFont& font);
    void SetCellAlign(int NewHorzAlign, int NewVertAlign);
    void sethorzalign(int NewHorzAlign);
    void setvertalign(int NewVertAlign);
    void setvarraytype(int value);
    void Setreportlinetype(int lnty);
    void SetprtlineS(int lines);
    void selectreportline();
    void SetMargin(int nLeftMargin, int nTopMargin, int nRightMargin, int nBottomMargin);
    TRect GetMargin() const;
    void savetoreportcontrol(TReportControl*& rptctrl) {}

    // ---- printing (ReportPrint.cpp) -------------------------------------
    void PrintIt();
    void printvarray();
    void printgrid();
    // The same runs on another target (a recording device in the tests).
    void PrintTo(TReportPrintTarget& target, int mode);
    enum : int { pmFull = 0, pmData = 1, pmGrid = 2 };
    bool bodyexhausted() const { return FBodyExhausted; }

    // ---- view (ReportView.cpp) -----------------------------------------
    TReportCell* CellFromPoint(const TPoint& point) const;
    void StartMouseDrag(const TPoint& point);
    void StartMouseSelect(const TPoint& point, bool bSelectFlag);
    void MouseMoveHandler(const TPoint& point);
    // The in-place edit window while a cell is edited (null otherwise).
    QWidget* EditWindow() const;
    void CloseEditWindow(bool takeText);
    // Page coordinates of a point of the control, and back.
    TPoint ToPage(const TPoint& p) const;
    TRect FromPage(const TRect& r) const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    TCursor CursorAt(int X, int Y) override;
    void CancelMode() override;

protected:
    void Paint() override;

private:
    friend class TReportCell;
    friend class TReportLine;
    friend class TReportFileReader;

    void layout(bool forPrint);
    void freeAllLines();
    // Takes a cell out of every merge and the selection before it is freed.
    void detachCell(TReportCell* cell);
    void deleteCells(const QList<TReportCell*>& cells);
    void invalidateCell(const TReportCell* cell);
    void editTextChanged();
    void editCellAt(const TPoint& point);
    void finishDrag(const TPoint& point);
    void drawGuide();
    int firstDataLinePrtlines() const;
    void printPage(TReportPrintTarget& target, int mode, int page, int pages, std::vector<TMyTotal>& totals,
                   int& dataCounter, int records);

    bool FPreviewStatus = false;
    std::vector<std::unique_ptr<TReportLine>> FLineList;
    QList<TReportCell*> FSelectCells;
    TReportCell* FEditCell = nullptr;
    int FReportScale = 100;
    int FPageWidth = 0, FPageHeight = 0;
    int FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;
    int FLeftMargin1 = 20, FRightMargin1 = 20, FTopMargin1 = 20, FBottomMargin1 = 20;
    bool FNewTable = true;
    int FDataLine = 57;
    int FTablePerPage = 1;
    TPoint FMousePoint;
    bool FDblClickPending = false;  // a double-click whose press is on its way
    QPointer<TReportEditWindow> FEditWnd;
    TDataSet* FHeaddataset = nullptr;
    TDataSet* Fbodydataset = nullptr;
    int Fpgheight = 0, Fpgwidth = 0;
    int FBilltype = 0;
    bool FBodyExhausted = false;

    // Mouse state: a rubber-band selection or a border drag in progress.
    enum class TMouseState { None, Selecting, RowDrag, ColumnDrag };
    TMouseState FMouseState = TMouseState::None;
    TReportCell* FPressedCell = nullptr;
    QList<TReportCell*> FMovingCells;
    int FGuidePos = 0;       // page coordinate of the guide
    int FGuideMin = 0, FGuideMax = 0;
    bool FGuideShown = false;
};
