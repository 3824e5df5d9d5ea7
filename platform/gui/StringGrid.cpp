#include "StringGrid.h"

#include "Application.h"
#include "Canvas.h"
#include "DrawUtils.h"

#include "platform/rtl/Exceptions.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {
constexpr int SizingZone = 3;   // pixels either side of a column line that start sizing
}

TStringGrid::TStringGrid(QWidget* parent) : TCustomControl(parent), m_fixedColor(clBtnFace)
{
    SetScrollBars(TScrollStyle::ssBoth);
    m_colWidths = QVector<int>(m_colCount, m_defaultColWidth);
    m_rowHeights = QVector<int>(m_rowCount, m_defaultRowHeight);
    ensureCells();
    resize(320, 120);
}

TStringGrid::~TStringGrid() = default;

// ---------------------------------------------------------------- structure

void TStringGrid::ensureCells()
{
    m_cells.resize(size_t(m_rowCount));
    for (auto& row : m_cells)
        if (row.size() < m_colCount) row.resize(m_colCount);
}

void TStringGrid::SetColCount(int n)
{
    n = std::max(n, 1);
    if (n == m_colCount) return;
    if (m_fixedCols >= n) m_fixedCols = n - 1;
    const int old = m_colCount;
    m_colCount = n;
    m_colWidths.resize(n);
    for (int i = old; i < n; ++i) m_colWidths[i] = m_defaultColWidth;
    ensureCells();
    m_topLeft.X = std::clamp(m_topLeft.X, m_fixedCols, std::max(m_fixedCols, n - 1));
    m_current.X = std::clamp(m_current.X, m_fixedCols, std::max(m_fixedCols, n - 1));
    m_anchor.X = std::clamp(m_anchor.X, m_fixedCols, std::max(m_fixedCols, n - 1));
    syncScrollBars();
    if (!m_inPaint) Invalidate();
}

void TStringGrid::SetRowCount(int n)
{
    n = std::max(n, 1);
    if (n == m_rowCount) return;
    if (m_fixedRows >= n) m_fixedRows = n - 1;
    int old = m_rowCount;
    m_rowCount = n;
    m_rowHeights.resize(n);
    for (int i = old; i < n; ++i) m_rowHeights[i] = m_defaultRowHeight;
    ensureCells();
    m_topLeft.Y = std::clamp(m_topLeft.Y, m_fixedRows, std::max(m_fixedRows, n - 1));
    m_current.Y = std::clamp(m_current.Y, m_fixedRows, std::max(m_fixedRows, n - 1));
    m_anchor.Y = std::clamp(m_anchor.Y, m_fixedRows, std::max(m_fixedRows, n - 1));
    syncScrollBars();
    if (!m_inPaint) Invalidate();
}

void TStringGrid::SetFixedCols(int n)
{
    if (n < 0 || n >= m_colCount) throw EInvalidOperation(QStringLiteral("Fixed column count must be less than column count"));
    // A new fixed count starts the view, the current cell and the anchor over at the first
    // scrollable column, as a freshly initialised grid would.
    m_fixedCols = n;
    m_topLeft.X = n;
    m_current.X = n;
    m_anchor.X = n;
    syncScrollBars();
    Invalidate();
}

void TStringGrid::SetFixedRows(int n)
{
    if (n < 0 || n >= m_rowCount) throw EInvalidOperation(QStringLiteral("Fixed row count must be less than row count"));
    m_fixedRows = n;
    m_topLeft.Y = n;
    m_current.Y = n;
    m_anchor.Y = n;
    syncScrollBars();
    Invalidate();
}

void TStringGrid::SetDefaultColWidth(int w)
{
    m_defaultColWidth = w;
    m_colWidths.fill(w);
    syncScrollBars();
    Invalidate();
}

void TStringGrid::SetDefaultRowHeight(int h)
{
    m_defaultRowHeight = h;
    m_rowHeights.fill(h);
    syncScrollBars();
    Invalidate();
}

int TStringGrid::ColWidths(int c) const { return c >= 0 && c < m_colCount ? m_colWidths[c] : m_defaultColWidth; }

void TStringGrid::SetColWidths(int c, int w)
{
    if (c < 0 || c >= m_colCount || m_colWidths[c] == w) return;
    m_colWidths[c] = w;
    syncScrollBars();
    if (!m_inPaint) Invalidate();
    placeEditor();
}

int TStringGrid::RowHeights(int r) const { return r >= 0 && r < m_rowCount ? m_rowHeights[r] : m_defaultRowHeight; }

void TStringGrid::SetRowHeights(int r, int h)
{
    if (r < 0 || r >= m_rowCount || m_rowHeights[r] == h) return;
    m_rowHeights[r] = h;
    syncScrollBars();
    if (!m_inPaint) Invalidate();
    placeEditor();
}

void TStringGrid::SetGridLineWidth(int w)
{
    m_lineWidth = std::max(0, w);
    syncScrollBars();
    Invalidate();
}

void TStringGrid::SetOptions(TGridOptions o)
{
    m_options = o;
    if (!(o & goEditing)) hideEditor(true);
    if (o & goRowSelect) {
        m_anchor = {m_colCount - 1, m_current.Y};
        m_current.X = m_fixedCols;
    }
    Invalidate();
}

// ---------------------------------------------------------------- contents

QString TStringGrid::Cells(int c, int r) const
{
    if (r < 0 || r >= int(m_cells.size()) || c < 0 || c >= m_cells[size_t(r)].size()) return QString();
    return m_cells[size_t(r)][c];
}

void TStringGrid::SetCells(int c, int r, const QString& s)
{
    if (r < 0 || c < 0 || r >= m_rowCount || c >= m_colCount) return;
    // Only the written row is looked at: a long report writes many cells into many rows.
    if (size_t(r) >= m_cells.size()) ensureCells();
    QVector<QString>& row = m_cells[size_t(r)];
    if (row.size() < m_colCount) row.resize(m_colCount);
    if (row[c] == s) return;
    row[c] = s;
    if (!m_inPaint) InvalidateRect(CellRect(c, r));
}

QStringList TStringGrid::Rows(int r) const
{
    QStringList out;
    for (int c = 0; c < m_colCount; ++c) out.append(Cells(c, r));
    return out;
}

QStringList TStringGrid::Cols(int c) const
{
    QStringList out;
    for (int r = 0; r < m_rowCount; ++r) out.append(Cells(c, r));
    return out;
}

// ---------------------------------------------------------------- geometry

int TStringGrid::colStart(int c) const
{
    int x = 0;
    if (c < m_fixedCols) {
        for (int i = 0; i < c; ++i) x += m_colWidths[i] + m_lineWidth;
        return x;
    }
    if (c < m_topLeft.X || c >= m_colCount) return -1;
    for (int i = 0; i < m_fixedCols; ++i) x += m_colWidths[i] + m_lineWidth;
    const int width = ClientWidth();
    for (int i = m_topLeft.X; i < c && x < width; ++i) x += m_colWidths[i] + m_lineWidth;
    return x < width ? x : -1;
}

int TStringGrid::rowStart(int r) const
{
    int y = 0;
    if (r < m_fixedRows) {
        for (int i = 0; i < r; ++i) y += m_rowHeights[i] + m_lineWidth;
        return y;
    }
    if (r < m_topLeft.Y || r >= m_rowCount) return -1;
    for (int i = 0; i < m_fixedRows; ++i) y += m_rowHeights[i] + m_lineWidth;
    // Rows far below the view are not walked to: once past the client area the row is hidden.
    const int height = ClientHeight();
    for (int i = m_topLeft.Y; i < r && y < height; ++i) y += m_rowHeights[i] + m_lineWidth;
    return y < height ? y : -1;
}

TRect TStringGrid::CellRect(int c, int r) const
{
    if (c < 0 || r < 0 || c >= m_colCount || r >= m_rowCount) return TRect();
    int x = colStart(c), y = rowStart(r);
    if (x < 0 || y < 0) return TRect();
    return TRect(x, y, x + m_colWidths[c], y + m_rowHeights[r]);
}

int TStringGrid::VisibleColCount() const
{
    int x = 0;
    for (int i = 0; i < m_fixedCols; ++i) x += m_colWidths[i] + m_lineWidth;
    int n = 0;
    for (int c = m_topLeft.X; c < m_colCount; ++c) {
        x += m_colWidths[c];
        if (x > ClientWidth()) break;
        x += m_lineWidth;
        ++n;
    }
    return n;
}

int TStringGrid::VisibleRowCount() const
{
    int y = 0;
    for (int i = 0; i < m_fixedRows; ++i) y += m_rowHeights[i] + m_lineWidth;
    int n = 0;
    for (int r = m_topLeft.Y; r < m_rowCount; ++r) {
        y += m_rowHeights[r];
        if (y > ClientHeight()) break;
        y += m_lineWidth;
        ++n;
    }
    return n;
}

int TStringGrid::lastTopLeftCol() const
{
    int room = ClientWidth();
    for (int i = 0; i < m_fixedCols; ++i) room -= m_colWidths[i] + m_lineWidth;
    int c = m_colCount - 1;
    int used = m_colWidths.value(c) + m_lineWidth;
    while (c > m_fixedCols && used + m_colWidths[c - 1] + m_lineWidth <= room) {
        --c;
        used += m_colWidths[c] + m_lineWidth;
    }
    return std::max(m_fixedCols, c);
}

int TStringGrid::lastTopLeftRow() const
{
    int room = ClientHeight();
    for (int i = 0; i < m_fixedRows; ++i) room -= m_rowHeights[i] + m_lineWidth;
    int r = m_rowCount - 1;
    int used = m_rowHeights.value(r) + m_lineWidth;
    while (r > m_fixedRows && used + m_rowHeights[r - 1] + m_lineWidth <= room) {
        --r;
        used += m_rowHeights[r] + m_lineWidth;
    }
    return std::max(m_fixedRows, r);
}

void TStringGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    TGridCoord g = MouseCoord(X, Y);
    ACol = g.X;
    ARow = g.Y;
}

TGridCoord TStringGrid::MouseCoord(int X, int Y) const
{
    TGridCoord g{-1, -1};
    auto find = [](int pos, int fixed, int first, int count, const QVector<int>& sizes, int lw, int limit) {
        if (pos < 0 || pos >= limit) return -1;
        int p = 0;
        for (int i = 0; i < fixed; ++i) {
            if (pos < p + sizes[i] + lw) return i;
            p += sizes[i] + lw;
        }
        for (int i = first; i < count; ++i) {
            if (pos < p + sizes[i] + lw) return i;
            p += sizes[i] + lw;
            if (p >= limit) break;
        }
        return -1;
    };
    g.X = find(X, m_fixedCols, m_topLeft.X, m_colCount, m_colWidths, m_lineWidth, ClientWidth());
    g.Y = find(Y, m_fixedRows, m_topLeft.Y, m_rowCount, m_rowHeights, m_lineWidth, ClientHeight());
    if (g.X < 0 || g.Y < 0) g = {-1, -1};
    return g;
}

// ---------------------------------------------------------------- view

void TStringGrid::setTopLeft(int c, int r)
{
    c = std::clamp(c, m_fixedCols, std::max(m_fixedCols, lastTopLeftCol()));
    r = std::clamp(r, m_fixedRows, std::max(m_fixedRows, lastTopLeftRow()));
    if (c == m_topLeft.X && r == m_topLeft.Y) return;
    m_topLeft = {c, r};
    syncScrollBars();
    Invalidate();
    placeEditor();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TStringGrid::SetLeftCol(int c) { setTopLeft(c, m_topLeft.Y); }
void TStringGrid::SetTopRow(int r) { setTopLeft(m_topLeft.X, r); }

void TStringGrid::syncScrollBars()
{
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    si.nMin = 0;
    si.nPage = 0;
    si.nMax = std::max(0, lastTopLeftCol() - m_fixedCols);
    si.nPos = m_topLeft.X - m_fixedCols;
    SetScrollInfo(SB_HORZ, si);
    si.nMax = std::max(0, lastTopLeftRow() - m_fixedRows);
    si.nPos = m_topLeft.Y - m_fixedRows;
    SetScrollInfo(SB_VERT, si);
}

void TStringGrid::Resize()
{
    syncScrollBars();
    // A larger window may show the last lines from an earlier top-left cell.
    setTopLeft(m_topLeft.X, m_topLeft.Y);
}

void TStringGrid::ScrollBarMessage(int bar, int code, int pos)
{
    const bool horz = bar == SB_HORZ;
    int cur = horz ? m_topLeft.X : m_topLeft.Y;
    const int fixed = horz ? m_fixedCols : m_fixedRows;
    const int page = std::max(1, horz ? VisibleColCount() : VisibleRowCount());
    const int last = horz ? lastTopLeftCol() : lastTopLeftRow();
    int next = cur;
    switch (code) {
    case SB_LINEUP: next = cur - 1; break;
    case SB_LINEDOWN: next = cur + 1; break;
    case SB_PAGEUP: next = cur - page; break;
    case SB_PAGEDOWN: next = cur + page; break;
    case SB_THUMBTRACK:
        if (!(m_options & goThumbTracking)) return;
        next = fixed + pos;
        break;
    case SB_THUMBPOSITION: next = fixed + pos; break;
    case SB_TOP: next = fixed; break;
    case SB_BOTTOM: next = last; break;
    default: return;
    }
    if (horz)
        setTopLeft(next, m_topLeft.Y);
    else
        setTopLeft(m_topLeft.X, next);
}

void TStringGrid::scrollInView(int c, int r)
{
    int left = m_topLeft.X, top = m_topLeft.Y;
    if (c >= m_fixedCols) {
        if (c < left) left = c;
        else if (c >= left + VisibleColCount()) {
            // Advance until the column is wholly visible.
            int room = ClientWidth();
            for (int i = 0; i < m_fixedCols; ++i) room -= m_colWidths[i] + m_lineWidth;
            int used = m_colWidths[c] + m_lineWidth;
            left = c;
            while (left > m_fixedCols && used + m_colWidths[left - 1] + m_lineWidth <= room) {
                --left;
                used += m_colWidths[left] + m_lineWidth;
            }
        }
    }
    if (r >= m_fixedRows) {
        if (r < top) top = r;
        else if (r >= top + VisibleRowCount()) {
            int room = ClientHeight();
            for (int i = 0; i < m_fixedRows; ++i) room -= m_rowHeights[i] + m_lineWidth;
            int used = m_rowHeights[r] + m_lineWidth;
            top = r;
            while (top > m_fixedRows && used + m_rowHeights[top - 1] + m_lineWidth <= room) {
                --top;
                used += m_rowHeights[top] + m_lineWidth;
            }
        }
    }
    setTopLeft(left, top);
}

// ---------------------------------------------------------------- current cell

bool TStringGrid::SelectCell(int c, int r)
{
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, c, r, can);
    return can;
}

void TStringGrid::moveCurrent(int c, int r, bool moveAnchor, bool show)
{
    c = std::clamp(c, m_fixedCols, std::max(m_fixedCols, m_colCount - 1));
    r = std::clamp(r, m_fixedRows, std::max(m_fixedRows, m_rowCount - 1));
    if (m_options & goRowSelect) c = m_fixedCols;
    if ((c != m_current.X || r != m_current.Y) && !SelectCell(c, r)) return;
    hideEditor(true);
    m_current = {c, r};
    if (moveAnchor || !(m_options & goRangeSelect)) m_anchor = m_current;
    if (m_options & goRowSelect) m_anchor = {m_colCount - 1, r};
    if (show) scrollInView(c, r);
    Invalidate();
    if (m_options & goAlwaysShowEditor) showEditor();
}

void TStringGrid::SetCol(int c)
{
    if (c != m_current.X) {
        moveCurrent(c, m_current.Y, true, true);
        Click();
    }
}

void TStringGrid::SetRow(int r)
{
    if (r != m_current.Y) {
        moveCurrent(m_current.X, r, true, true);
        Click();
    }
}

TGridRect TStringGrid::Selection() const
{
    return {std::min(m_current.X, m_anchor.X), std::min(m_current.Y, m_anchor.Y),
            std::max(m_current.X, m_anchor.X), std::max(m_current.Y, m_anchor.Y)};
}

void TStringGrid::SetSelection(const TGridRect& r)
{
    m_current = {r.Left, r.Top};
    m_anchor = {r.Right, r.Bottom};
    Invalidate();
}

// ---------------------------------------------------------------- painting

void TStringGrid::DrawCell(int c, int r, const TRect& rect, TGridDrawState state)
{
    TCanvas* cv = Canvas();
    if (m_defaultDrawing) {
        TRect textRect = rect;
        cv->TextRect(textRect, rect.Left + 2, rect.Top + 2, Cells(c, r));
    }
    if (OnDrawCell) OnDrawCell(this, c, r, rect, state);
}

void TStringGrid::Paint()
{
    TCanvas* cv = Canvas();
    m_inPaint = true;
    const TRect client = ClientRect();
    const TGridRect sel = Selection();
    const bool focused = hasFocus();
    const int cw = client.Width(), ch = client.Height();

    // Visible columns and rows, each with its start.
    std::vector<std::pair<int, int>> cols, rows;
    int x = 0;
    for (int c = 0; c < m_fixedCols && x < cw; ++c) { cols.push_back({c, x}); x += m_colWidths[c] + m_lineWidth; }
    const int fixedRight = x;
    for (int c = m_topLeft.X; c < m_colCount && x < cw; ++c) { cols.push_back({c, x}); x += m_colWidths[c] + m_lineWidth; }
    const int gridRight = x;
    int y = 0;
    for (int r = 0; r < m_fixedRows && y < ch; ++r) { rows.push_back({r, y}); y += m_rowHeights[r] + m_lineWidth; }
    const int fixedBottom = y;
    for (int r = m_topLeft.Y; r < m_rowCount && y < ch; ++r) { rows.push_back({r, y}); y += m_rowHeights[r] + m_lineWidth; }
    const int gridBottom = y;

    // Space after the last line.
    cv->Brush()->SetColor(Color());
    if (gridRight < cw) cv->FillRect(TRect(gridRight, 0, cw, ch));
    if (gridBottom < ch) cv->FillRect(TRect(0, gridBottom, std::min(gridRight, cw), ch));

    // Grid lines first, so that the cell painters may draw over them.
    if (m_lineWidth > 0) {
        for (const auto& [c, cx] : cols) {
            const bool fixedCol = c < m_fixedCols;
            for (const auto& [r, ry] : rows) {
                const bool fixedCell = fixedCol || r < m_fixedRows;
                const bool vert = m_options & (fixedCell ? goFixedVertLine : goVertLine);
                const bool horz = m_options & (fixedCell ? goFixedHorzLine : goHorzLine);
                const TColor line = fixedCell ? clBlack : clSilver;
                const TColor back = fixedCell ? m_fixedColor : Color();
                const int w = m_colWidths[c], h = m_rowHeights[r];
                cv->FillRect(TRect(cx + w, ry, cx + w + m_lineWidth, ry + h + m_lineWidth), vert ? line : back);
                cv->FillRect(TRect(cx, ry + h, cx + w + m_lineWidth, ry + h + m_lineWidth), horz ? line : back);
            }
        }
    }
    Q_UNUSED(fixedRight);
    Q_UNUSED(fixedBottom);

    for (const auto& [r, ry] : rows) {
        for (const auto& [c, cx] : cols) {
            // A cell-drawing handler may change the grid's size while it paints (the report
            // header painters set the column count): cells that left the grid are not drawn.
            if (c >= m_colCount || r >= m_rowCount) continue;
            TRect rect(cx, ry, cx + m_colWidths[c], ry + m_rowHeights[r]);
            if (!cv->RectVisible(rect)) continue;
            TGridDrawState state;
            const bool fixedCell = c < m_fixedCols || r < m_fixedRows;
            if (fixedCell) state << gdFixed;
            const bool current = c == m_current.X && r == m_current.Y;
            if (current && focused) state << gdFocused;
            if (!fixedCell && c >= sel.Left && c <= sel.Right && r >= sel.Top && r <= sel.Bottom) state << gdSelected;
            if (m_defaultDrawing) {
                cv->Font()->Assign(*Font());
                const bool highlight = state.contains(gdSelected)
                    && (!state.contains(gdFocused) || (m_options & (goDrawFocusSelected | goRowSelect)));
                if (highlight) {
                    cv->Brush()->SetColor(clHighlight);
                    cv->Font()->SetColor(clHighlightText);
                } else {
                    cv->Brush()->SetColor(fixedCell ? m_fixedColor : Color());
                }
                cv->FillRect(rect);
            }
            DrawCell(c, r, rect, state);
            if (m_defaultDrawing && fixedCell) {
                TRect edge = rect;
                DrawEdge(cv, edge, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
                DrawEdge(cv, edge, BDR_RAISEDINNER, BF_TOPLEFT);
            }
            if (m_defaultDrawing && state.contains(gdFocused) && !(m_options & goRowSelect)
                && !((m_options & goEditing) && (m_options & goAlwaysShowEditor)))
                cv->DrawFocusRect(rect);
        }
    }
    m_inPaint = false;
}

// ---------------------------------------------------------------- keyboard

UINT TStringGrid::GetDlgCode()
{
    UINT code = DLGC_WANTARROWS;
    if (!(m_options & goRowSelect)) {
        if (m_options & goTabs) code |= DLGC_WANTTAB;
        if (m_options & goEditing) code |= DLGC_WANTCHARS;
    }
    return code;
}

bool TStringGrid::WantSpecialKey(WORD Key, TShiftState)
{
    return Key == VK_RETURN && (m_options & goEditing) && !(m_options & goRowSelect);
}

void TStringGrid::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int pageRows = std::max(1, VisibleRowCount());
    const int pageCols = std::max(1, VisibleColCount());
    int c = m_current.X, r = m_current.Y;
    const bool ctrl = Shift.contains(ssCtrl);
    const bool keepAnchor = Shift.contains(ssShift) && (m_options & goRangeSelect);
    switch (Key) {
    case VK_UP: if (ctrl) { SetTopRow(m_topLeft.Y - 1); return; } --r; break;
    case VK_DOWN: if (ctrl) { SetTopRow(m_topLeft.Y + 1); return; } ++r; break;
    case VK_LEFT:
        if (m_options & goRowSelect) { SetLeftCol(m_topLeft.X - 1); return; }
        c = ctrl ? c - pageCols : c - 1;
        break;
    case VK_RIGHT:
        if (m_options & goRowSelect) { SetLeftCol(m_topLeft.X + 1); return; }
        c = ctrl ? c + pageCols : c + 1;
        break;
    case VK_PRIOR: r = ctrl ? m_topLeft.Y : r - pageRows; break;
    case VK_NEXT: r = ctrl ? m_topLeft.Y + pageRows - 1 : r + pageRows; break;
    case VK_HOME:
        if (ctrl) { c = m_fixedCols; r = m_fixedRows; }
        else if (m_options & goRowSelect) r = m_fixedRows;
        else c = m_fixedCols;
        break;
    case VK_END:
        if (ctrl) { c = m_colCount - 1; r = m_rowCount - 1; }
        else if (m_options & goRowSelect) r = m_rowCount - 1;
        else c = m_colCount - 1;
        break;
    case VK_TAB:
        if (Shift.contains(ssShift)) {
            if (--c < m_fixedCols) { c = m_colCount - 1; if (--r < m_fixedRows) r = m_rowCount - 1; }
        } else if (++c >= m_colCount) {
            c = m_fixedCols;
            if (++r >= m_rowCount) r = m_fixedRows;
        }
        break;
    case VK_F2:
        if (m_options & goEditing) showEditor();
        return;
    default:
        return;
    }
    if (c != m_current.X || r != m_current.Y) {
        moveCurrent(c, r, !keepAnchor, true);
        Click();
    }
}

void TStringGrid::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (!(m_options & goEditing)) return;
    if (Key == QChar(13)) {
        if (!(m_options & goAlwaysShowEditor)) {
            if (EditorMode()) hideEditor(true); else showEditor();
        }
        Key = QChar(0);
        return;
    }
    if (Key.unicode() >= 32 || Key == QChar(8)) {
        showEditor();
        if (m_editor) {
            if (Key == QChar(8)) m_editor->backspace();
            else m_editor->setText(QString(Key));
        }
        Key = QChar(0);
    }
}

// ---------------------------------------------------------------- editor

void TStringGrid::showEditor()
{
    if (!(m_options & goEditing) || (m_options & goRowSelect)) return;
    if (!m_editor) {
        m_editor = new QLineEdit(this);
        m_editor->setFrame(false);
        m_editor->installEventFilter(this);
    }
    QString text = Cells(m_current.X, m_current.Y);
    if (OnGetEditText) OnGetEditText(this, m_current.X, m_current.Y, text);
    m_editor->setText(text);
    m_editorShown = true;
    placeEditor();
    m_editor->show();
    m_editor->setFocus();
    m_editor->selectAll();
}

void TStringGrid::placeEditor()
{
    if (!m_editor || !m_editorShown) return;
    TRect r = CellRect(m_current.X, m_current.Y);
    if (r.IsEmpty()) {
        m_editor->hide();
        return;
    }
    m_editor->setGeometry(r.toQRect());
    m_editor->show();
}

void TStringGrid::hideEditor(bool accept)
{
    if (!m_editor || !m_editorShown) return;
    m_editorShown = false;
    if (accept) {
        const QString text = m_editor->text();
        if (text != Cells(m_current.X, m_current.Y)) {
            SetCells(m_current.X, m_current.Y, text);
            if (OnSetEditText) OnSetEditText(this, m_current.X, m_current.Y, text);
        }
    }
    const bool hadFocus = m_editor->hasFocus();
    m_editor->hide();
    if (hadFocus) setFocus();
}

void TStringGrid::SetEditorMode(bool v)
{
    if (v) showEditor();
    else hideEditor(true);
}

void TStringGrid::DoExit()
{
    if (!(m_options & goAlwaysShowEditor) && !(m_editor && m_editor->hasFocus())) hideEditor(true);
    TCustomControl::DoExit();
}

bool TStringGrid::eventFilter(QObject* o, QEvent* e)
{
    if (o == m_editor && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape) {
            hideEditor(false);
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            Application->Guard([&] { hideEditor(true); });
            setFocus();
            return true;
        }
    }
    return TCustomControl::eventFilter(o, e);
}

// ---------------------------------------------------------------- mouse

int TStringGrid::sizingColAt(int X, int Y) const
{
    if (!(m_options & goColSizing)) return -1;
    int fixedBottom = 0;
    for (int i = 0; i < m_fixedRows; ++i) fixedBottom += m_rowHeights[i] + m_lineWidth;
    if (Y >= fixedBottom) return -1;
    for (int c = 0; c < m_colCount; ++c) {
        int x = colStart(c);
        if (x < 0) continue;
        int edge = x + m_colWidths[c];
        if (std::abs(X - edge) <= SizingZone) return c;
    }
    return -1;
}

TCursor TStringGrid::CursorAt(int X, int Y)
{
    if (m_sizingCol >= 0 || sizingColAt(X, Y) >= 0) return crHSplit;
    return TCustomControl::CursorAt(X, Y);
}

void TStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    hideEditor(true);
    if (CanFocus()) SetFocus();
    if (Button == mbLeft && !Shift.contains(ssDouble)) {
        int s = sizingColAt(X, Y);
        if (s >= 0) {
            m_sizingCol = s;
            m_sizingOrigin = colStart(s);
        } else {
            TGridCoord g = MouseCoord(X, Y);
            if (g.X >= m_fixedCols && g.Y >= m_fixedRows) {
                if ((m_options & goEditing) && g.X == m_current.X && g.Y == m_current.Y) {
                    showEditor();
                } else {
                    moveCurrent(g.X, g.Y, !(Shift.contains(ssShift) && (m_options & goRangeSelect)), true);
                    m_selecting = (m_options & goRangeSelect) != 0;
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    if (m_sizingCol >= 0) {
        SetColWidths(m_sizingCol, std::max(1, X - m_sizingOrigin));
    } else if (m_selecting) {
        TGridCoord g = MouseCoord(X, Y);
        if (g.X >= m_fixedCols && g.Y >= m_fixedRows && !(g == m_anchor)) {
            m_anchor = (m_options & goRowSelect) ? TGridCoord{m_colCount - 1, g.Y} : g;
            Invalidate();
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    m_sizingCol = -1;
    m_selecting = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TStringGrid::DoMouseWheelDown(TShiftState, TPoint)
{
    if (m_current.Y < m_rowCount - 1) SetRow(m_current.Y + 1);
    return true;
}

bool TStringGrid::DoMouseWheelUp(TShiftState, TPoint)
{
    if (m_current.Y > m_fixedRows) SetRow(m_current.Y - 1);
    return true;
}
