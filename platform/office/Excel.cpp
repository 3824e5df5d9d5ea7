// The in-memory spreadsheet application: workbooks, worksheets, ranges and their formats.
#include "Excel.h"

#include "platform/gui/Clipboard.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <QHash>
#include <algorithm>

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw EOleException(what);
}

int normalisedAlignment(int code)
{
    switch (code) {
    case -4131: return 2;   // xlLeft
    case -4108: return 3;   // xlCenter
    case -4152: return 4;   // xlRight
    case -4130: return 6;   // xlJustify
    case -4117: return 8;   // xlDistributed
    default:
        if (code >= 1 && code <= 8)
            return code;
        fail(QStringLiteral("Unable to set the HorizontalAlignment property of the Range class"));
    }
}

bool validLineStyle(int s)
{
    switch (s) {
    case xlContinuous: case xlDash: case xlDot: case xlDashDot: case xlDashDotDot:
    case xlDouble: case xlSlantDashDot: case xlLineStyleNone:
        return true;
    default:
        return false;
    }
}

// A text typed into a cell that reads as a plain decimal number: optional sign, digits with
// at most one point, no leading zero before other digits (so codes such as "007" stay text).
bool plainNumberText(const QString& s, double& out)
{
    const qsizetype n = s.size();
    if (n == 0 || n > 20)
        return false;
    qsizetype i = 0;
    if (s[0] == QLatin1Char('-'))
        ++i;
    if (i == n)
        return false;
    qsizetype digitsBefore = 0;
    bool point = false;
    qsizetype digitsAfter = 0;
    for (qsizetype k = i; k < n; ++k) {
        const QChar c = s[k];
        if (c == QLatin1Char('.')) {
            if (point)
                return false;
            point = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            (point ? digitsAfter : digitsBefore)++;
        } else {
            return false;
        }
    }
    if (digitsBefore == 0 || (point && digitsAfter == 0))
        return false;
    if (digitsBefore > 1 && s[i] == QLatin1Char('0'))
        return false;
    bool ok = false;
    out = s.toDouble(&ok);
    return ok;
}

int columnOfLetters(const QString& letters)
{
    int col = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return 0;
        col = col * 26 + (u - u'A' + 1);
        if (col > kExcelMaxCols)
            return 0;
    }
    return col;
}

// One cell reference "A1" / "$A$1" into row and column; false when malformed.
bool parseCellRef(const QString& ref, int& row, int& col)
{
    QString letters, digits;
    qsizetype i = 0;
    const qsizetype n = ref.size();
    if (i < n && ref[i] == QLatin1Char('$'))
        ++i;
    while (i < n && ref[i].isLetter() && ref[i].unicode() < 128)
        letters += ref[i++];
    if (i < n && ref[i] == QLatin1Char('$'))
        ++i;
    while (i < n && ref[i].isDigit() && ref[i].unicode() < 128)
        digits += ref[i++];
    if (i != n || letters.isEmpty() || digits.isEmpty())
        return false;
    col = columnOfLetters(letters);
    bool ok = false;
    row = digits.toInt(&ok);
    return ok && col >= 1 && row >= 1 && row <= kExcelMaxRows;
}

} // namespace

QString ExcelColumnLetters(int col)
{
    if (col < 1 || col > kExcelMaxCols)
        return QString();
    QString s;
    while (col > 0) {
        const int d = (col - 1) % 26;
        s.prepend(QChar(u'A' + d));
        col = (col - 1) / 26;
    }
    return s;
}

// ------------------------------------------------------------------ range

TExcelRange::TExcelRange(TExcelWorksheet* sheet, const TExcelArea& area, bool wholeColumns)
    : m_sheet(sheet), m_area(area), m_whole(wholeColumns)
{
    sheet->checkArea(area);
}

Variant TExcelRange::Value() const
{
    const TExcelCell* c = m_sheet->CellAt(m_area.top, m_area.left);
    return c ? c->value : Variant();
}

void TExcelRange::SetValue(const Variant& v)
{
    Variant stored = v;
    if (v.Type() == VarType::String) {
        double d = 0;
        const QString text = v.ToString();
        if (text.isEmpty())
            stored = Variant();   // an empty text empties the cell
        else if (plainNumberText(text, d))
            stored = Variant(d);
    } else if (v.IsNull()) {
        stored = Variant();
    }
    const int bottom = m_whole ? std::max(m_area.top, m_sheet->RowCount()) : m_area.bottom;
    for (int r = m_area.top; r <= bottom; ++r)
        for (int c = m_area.left; c <= m_area.right; ++c)
            m_sheet->cell(r, c).value = stored;
}

QString TExcelRange::Text() const
{
    const Variant v = Value();
    return v.IsEmptyOrNull() ? QString() : v.ToString();
}

void TExcelRange::Merge()
{
    TExcelArea merged = m_area;
    if (m_whole)
        merged.bottom = kExcelMaxRows;
    auto& merges = m_sheet->m_merges;
    bool grown = true;
    while (grown) {
        grown = false;
        for (qsizetype i = 0; i < merges.size(); ++i) {
            const TExcelArea& m = merges[i];
            if (m.intersects(merged)) {
                merged.top = std::min(merged.top, m.top);
                merged.left = std::min(merged.left, m.left);
                merged.bottom = std::max(merged.bottom, m.bottom);
                merged.right = std::max(merged.right, m.right);
                merges.removeAt(i);
                grown = true;
                break;
            }
        }
    }
    if (merged.top == merged.bottom && merged.left == merged.right)
        return;
    // Only the top-left value stays.
    const int lastRow = std::min(merged.bottom, m_sheet->RowCount());
    for (int r = merged.top; r <= lastRow; ++r) {
        auto& row = m_sheet->m_rows[size_t(r - 1)];
        for (int c = merged.left; c <= merged.right && c <= int(row.size()); ++c)
            if (r != merged.top || c != merged.left)
                row[size_t(c - 1)].value = Variant();
    }
    merges.append(merged);
}

double TExcelRange::RowHeight() const
{
    if (m_whole)
        return m_sheet->m_defaultRowHeight;
    return m_sheet->m_rowHeights.value(m_area.top, m_sheet->m_defaultRowHeight);
}

void TExcelRange::SetRowHeight(double points)
{
    if (points < 0 || points > 409)
        fail(QStringLiteral("Unable to set the RowHeight property of the Range class"));
    if (m_whole) {
        m_sheet->m_defaultRowHeight = points;
        m_sheet->m_rowHeights.clear();
        return;
    }
    for (int r = m_area.top; r <= m_area.bottom; ++r)
        m_sheet->m_rowHeights[r] = points;
}

double TExcelRange::ColumnWidth() const
{
    return m_sheet->m_colWidths.value(m_area.left, TExcelWorksheet::kStandardWidth);
}

void TExcelRange::SetColumnWidth(Currency width)
{
    const double w = width.ToDouble();
    if (w < 0 || w > 255)
        fail(QStringLiteral("Unable to set the ColumnWidth property of the Range class"));
    for (int c = m_area.left; c <= m_area.right; ++c)
        m_sheet->m_colWidths[c] = w;
}

const TExcelCellFormat& TExcelRange::topLeftFormat() const
{
    const TExcelCell* c = m_sheet->CellAt(m_area.top, m_area.left);
    if (c)
        return m_sheet->Format(c->format);
    return m_sheet->Format(m_sheet->m_colFormats.value(m_area.left, 0));
}

int TExcelRange::HorizontalAlignment() const
{
    const int a = topLeftFormat().halign;
    return a == 0 ? xlHAlignGeneral : a;
}

void TExcelRange::SetHorizontalAlignment(int code)
{
    const int a = normalisedAlignment(code);
    applyFormat([a](TExcelCellFormat& f) { f.halign = a; });
}

double TExcelRange::FontRef::Size() const
{
    const double s = m_r->topLeftFormat().fontSize;
    return s == 0 ? 11 : s;
}

void TExcelRange::FontRef::SetSize(double points)
{
    if (points < 1 || points > 409)
        fail(QStringLiteral("Unable to set the Size property of the Font class"));
    m_r->applyFormat([points](TExcelCellFormat& f) { f.fontSize = points; });
}

bool TExcelRange::FontRef::Bold() const { return m_r->topLeftFormat().bold; }

void TExcelRange::FontRef::SetBold(bool v)
{
    m_r->applyFormat([v](TExcelCellFormat& f) { f.bold = v; });
}

int TExcelRange::BordersRef::LineStyle() const
{
    const int s = m_r->topLeftFormat().lineStyle;
    return s == 0 ? xlLineStyleNone : s;
}

void TExcelRange::BordersRef::SetLineStyle(int style)
{
    if (!validLineStyle(style))
        fail(QStringLiteral("Unable to set the LineStyle property of the Borders class"));
    const int s = style == xlLineStyleNone ? 0 : style;
    m_r->applyFormat([s](TExcelCellFormat& f) { f.lineStyle = s; });
}

void TExcelRange::applyFormat(const std::function<void(TExcelCellFormat&)>& change) const
{
    QHash<quint16, quint16> mapped;
    quint16 lastFrom = 0, lastTo = 0;   // the last mapping: a range mostly holds one format
    bool haveLast = false;
    auto changed = [&](quint16 from) {
        if (haveLast && from == lastFrom)
            return lastTo;
        auto it = mapped.constFind(from);
        if (it != mapped.constEnd()) {
            lastFrom = from;
            lastTo = *it;
            haveLast = true;
            return *it;
        }
        TExcelCellFormat f = m_sheet->m_formats[from];
        change(f);
        const quint16 to = m_sheet->formatIndex(f);
        mapped.insert(from, to);
        lastFrom = from;
        lastTo = to;
        haveLast = true;
        return to;
    };
    if (m_whole) {
        // A whole column: the column's own format, and every cell already held in it.
        for (int c = m_area.left; c <= m_area.right; ++c) {
            m_sheet->m_colFormats[c] = changed(m_sheet->m_colFormats.value(c, 0));
            for (auto& row : m_sheet->m_rows)
                if (c <= int(row.size()))
                    row[size_t(c - 1)].format = changed(row[size_t(c - 1)].format);
        }
        return;
    }
    for (int r = m_area.top; r <= m_area.bottom; ++r)
        for (int c = m_area.left; c <= m_area.right; ++c) {
            TExcelCell& cell = m_sheet->cell(r, c);
            cell.format = changed(cell.format);
        }
}

QString TExcelRange::Address() const
{
    const QString first = ExcelColumnLetters(m_area.left) + QString::number(m_area.top);
    if (m_area.top == m_area.bottom && m_area.left == m_area.right)
        return first;
    return first + QLatin1Char(':') + ExcelColumnLetters(m_area.right) + QString::number(m_area.bottom);
}

// ------------------------------------------------------------------ worksheet

TExcelWorksheet::TExcelWorksheet(TExcelWorkbook* book, const QString& name) : m_book(book), m_name(name) {}

void TExcelWorksheet::SetName(const QString& name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    bool bad = name.isEmpty() || name.size() > 31 || name.startsWith(QLatin1Char('\''))
               || name.endsWith(QLatin1Char('\''));
    for (QChar c : name)
        bad = bad || forbidden.contains(c);
    if (bad || m_book->HasWorksheetNamed(name, this))
        fail(QStringLiteral("Unable to set the Name property of the Worksheet class"));
    m_name = name;
}

void TExcelWorksheet::checkArea(const TExcelArea& a) const
{
    if (a.top < 1 || a.left < 1 || a.bottom < a.top || a.right < a.left || a.bottom > kExcelMaxRows
        || a.right > kExcelMaxCols)
        fail(QStringLiteral("Application-defined or object-defined error"));
}

TExcelRange TExcelWorksheet::Cells(int row, int col) { return TExcelRange(this, {row, col, row, col}); }

TExcelRange TExcelWorksheet::Range(const QString& address)
{
    const QStringList parts = address.trimmed().split(QLatin1Char(':'));
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (parts.size() > 2 || !parseCellRef(parts[0], r1, c1))
        fail(QStringLiteral("Method 'Range' of object '_Worksheet' failed"));
    r2 = r1;
    c2 = c1;
    if (parts.size() == 2 && !parseCellRef(parts[1], r2, c2))
        fail(QStringLiteral("Method 'Range' of object '_Worksheet' failed"));
    return TExcelRange(this, {std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)});
}

TExcelRange TExcelWorksheet::Columns(int col)
{
    return TExcelRange(this, {1, col, kExcelMaxRows, col}, true);
}

void TExcelWorksheet::Paste() { PasteText(Clipboard()->AsText()); }

void TExcelWorksheet::PasteText(const QString& text, int row, int col)
{
    const QList<QStringList> rows = ParseTabText(text);
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < rows[r].size(); ++c) {
            if (rows[r][c].isEmpty())
                continue;
            checkArea({row + int(r), col + int(c), row + int(r), col + int(c)});
            cell(row + int(r), col + int(c)).value = rows[r][c];
        }
}

int TExcelWorksheet::ColumnCountOf(int row) const
{
    return row >= 1 && row <= RowCount() ? int(m_rows[size_t(row - 1)].size()) : 0;
}

const TExcelCell* TExcelWorksheet::CellAt(int row, int col) const
{
    if (row < 1 || row > RowCount())
        return nullptr;
    const auto& r = m_rows[size_t(row - 1)];
    return col >= 1 && col <= int(r.size()) ? &r[size_t(col - 1)] : nullptr;
}

TExcelCell& TExcelWorksheet::cell(int row, int col)
{
    if (row > RowCount())
        m_rows.resize(size_t(row));
    auto& r = m_rows[size_t(row - 1)];
    if (col > int(r.size())) {
        const int from = int(r.size()) + 1;
        r.resize(size_t(col));
        // New cells take the format of their column.
        if (!m_colFormats.isEmpty())
            for (int c = from; c <= col; ++c)
                r[size_t(c - 1)].format = m_colFormats.value(c, 0);
    }
    return r[size_t(col - 1)];
}

quint16 TExcelWorksheet::formatIndex(const TExcelCellFormat& f)
{
    for (size_t i = 0; i < m_formats.size(); ++i)
        if (m_formats[i] == f)
            return quint16(i);
    if (m_formats.size() >= 60000)
        fail(QStringLiteral("Too many different cell formats"));
    m_formats.push_back(f);
    return quint16(m_formats.size() - 1);
}

// ------------------------------------------------------------------ workbook

TExcelWorkbook::TExcelWorkbook(TExcelApplication* app, const QString& name, int sheets) : m_app(app), m_name(name)
{
    for (int i = 1; i <= sheets; ++i)
        m_sheets.push_back(std::make_unique<TExcelWorksheet>(this, QStringLiteral("Sheet%1").arg(i)));
}

TExcelWorksheet* TExcelWorkbook::Worksheets(int index)
{
    if (index < 1 || index > WorksheetCount())
        fail(QStringLiteral("Subscript out of range"));
    m_saved = false;
    return m_sheets[size_t(index - 1)].get();
}

void TExcelWorkbook::SetActiveSheet(int index)
{
    Worksheets(index);
    m_active = index;
}

TExcelWorksheet* TExcelWorkbook::AddWorksheet()
{
    int n = WorksheetCount() + 1;
    while (HasWorksheetNamed(QStringLiteral("Sheet%1").arg(n), nullptr))
        ++n;
    m_sheets.push_back(std::make_unique<TExcelWorksheet>(this, QStringLiteral("Sheet%1").arg(n)));
    m_active = WorksheetCount();
    m_saved = false;
    return m_sheets.back().get();
}

bool TExcelWorkbook::HasWorksheetNamed(const QString& name, const TExcelWorksheet* except) const
{
    for (const auto& s : m_sheets)
        if (s.get() != except && s->Name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// ------------------------------------------------------------------ application

TExcelApplication::TExcelApplication() = default;

TExcelApplication::~TExcelApplication()
{
    if (!m_visible || m_quit)
        return;
    for (auto& book : m_books) {
        if (book->Saved())
            continue;
        try {
            ExcelDesktop::Present(book.get());
        } catch (...) {
            // Nothing may leave a release; the workbook is lost as with a crashed application.
        }
    }
}

TExcelWorkbook* TExcelApplication::WorkbooksAdd()
{
    if (m_quit)
        fail(QStringLiteral("The remote server machine does not exist or is unavailable"));
    m_books.push_back(std::make_unique<TExcelWorkbook>(this, QStringLiteral("Book%1").arg(++m_bookNumber), 3));
    m_active = WorkbookCount();
    m_books.back()->SetSaved(false);
    return m_books.back().get();
}

TExcelWorkbook* TExcelApplication::Workbooks(int index)
{
    if (index < 1 || index > WorkbookCount())
        fail(QStringLiteral("Subscript out of range"));
    return m_books[size_t(index - 1)].get();
}

TExcelWorkbook* TExcelApplication::ActiveWorkbook()
{
    if (m_active < 1 || m_active > WorkbookCount())
        fail(QStringLiteral("Object variable or With block variable not set"));
    return m_books[size_t(m_active - 1)].get();
}

void TExcelApplication::Quit()
{
    m_books.clear();
    m_active = 0;
    m_quit = true;
}

ExcelApp CreateExcelApplication() { return std::make_shared<TExcelApplication>(); }

// ------------------------------------------------------------------ clipboard text

QList<QStringList> ParseTabText(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool cellStarted = false;
    const qsizetype n = text.size();
    auto endRow = [&] {
        row << cell;
        rows << row;
        row.clear();
        cell.clear();
        cellStarted = false;
    };
    qsizetype i = 0;
    while (i < n) {
        const QChar ch = text[i];
        if (!cellStarted && cell.isEmpty() && ch == QLatin1Char('"')) {
            // Quoted cell: up to the closing quote; a doubled quote stands for one.
            qsizetype j = i + 1;
            QString quoted;
            bool closed = false;
            while (j < n) {
                if (text[j] == QLatin1Char('"')) {
                    if (j + 1 < n && text[j + 1] == QLatin1Char('"')) {
                        quoted += QLatin1Char('"');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                quoted += text[j++];
            }
            const bool atEnd = j >= n || text[j] == QLatin1Char('\t') || text[j] == QLatin1Char('\n')
                               || text[j] == QLatin1Char('\r');
            if (closed && atEnd) {
                cell = quoted;
                cellStarted = true;
                i = j;
                continue;
            }
            // Not a well-formed quoted cell: the quote is plain text.
        }
        if (ch == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            cellStarted = false;
            ++i;
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            endRow();
            i += (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ? 2 : 1;
        } else {
            cell += ch;
            cellStarted = true;
            ++i;
        }
    }
    if (cellStarted || !cell.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

void TExcelPageSetup::SetOrientation(int o)
{
    if (o != xlPortrait && o != xlLandscape)
        fail(QStringLiteral("Unable to set the Orientation property of the PageSetup class"));
    m_orientation = o;
}
