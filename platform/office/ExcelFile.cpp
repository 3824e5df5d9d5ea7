// Writing a workbook as an .xlsx file, and handing finished workbooks to the desktop.
#include "Excel.h"

#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <xlsxwriter.h>

#include <vector>

namespace {

void check(lxw_error e, const QString& what)
{
    if (e != LXW_NO_ERROR)
        throw EOleException(what + QStringLiteral(": ") + QString::fromUtf8(lxw_strerror(e)));
}

uint8_t borderOf(int lineStyle)
{
    switch (lineStyle) {
    case 0: return LXW_BORDER_NONE;
    case xlDash: return LXW_BORDER_DASHED;
    case xlDot: return LXW_BORDER_DOTTED;
    case xlDashDot: return LXW_BORDER_DASH_DOT;
    case xlDashDotDot: return LXW_BORDER_DASH_DOT_DOT;
    case xlDouble: return LXW_BORDER_DOUBLE;
    case xlSlantDashDot: return LXW_BORDER_SLANT_DASH_DOT;
    default: return LXW_BORDER_THIN;   // xlContinuous in the default (thin) weight
    }
}

// The writer's formats of one sheet, made on first use: [sheet format index][date flag].
class FormatCache {
public:
    FormatCache(lxw_workbook* wb, const TExcelWorksheet* sheet) : m_wb(wb), m_sheet(sheet) {}
    lxw_format* get(quint16 index, bool date)
    {
        const size_t slot = size_t(index) * 2 + (date ? 1 : 0);
        if (slot >= m_made.size())
            m_made.resize(slot + 1, nullptr);
        if (!m_made[slot]) {
            const TExcelCellFormat& f = m_sheet->Format(index);
            if (!date && f == TExcelCellFormat{})
                return nullptr;
            lxw_format* x = workbook_add_format(m_wb);
            if (f.fontSize > 0)
                format_set_font_size(x, f.fontSize);
            if (f.bold)
                format_set_bold(x);
            if (f.halign >= 2)
                format_set_align(x, uint8_t(f.halign - 1));
            if (f.lineStyle != 0)
                format_set_border(x, borderOf(f.lineStyle));
            if (date)
                format_set_num_format(x, "yyyy-mm-dd");
            m_made[slot] = x;
        }
        return m_made[slot];
    }
private:
    lxw_workbook* m_wb;
    const TExcelWorksheet* m_sheet;
    std::vector<lxw_format*> m_made;
};

void writeSheet(lxw_workbook* wb, lxw_worksheet* ws, const TExcelWorksheet& sheet)
{
    FormatCache formats(wb, &sheet);
    if (sheet.PageSetup().Orientation() == xlLandscape)
        worksheet_set_landscape(ws);
    if (sheet.DefaultRowHeight() != TExcelWorksheet::kStandardHeight)
        worksheet_set_default_row(ws, sheet.DefaultRowHeight(), LXW_FALSE);

    // Columns: width and the column's own format.
    QMap<int, bool> columns;
    for (auto it = sheet.ColumnWidths().begin(); it != sheet.ColumnWidths().end(); ++it)
        columns[it.key()] = true;
    for (auto it = sheet.ColumnFormats().begin(); it != sheet.ColumnFormats().end(); ++it)
        columns[it.key()] = true;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        const int c = it.key();
        const double width = sheet.ColumnWidths().value(c, LXW_DEF_COL_WIDTH);
        lxw_format* f = formats.get(sheet.ColumnFormats().value(c, 0), false);
        check(worksheet_set_column(ws, lxw_col_t(c - 1), lxw_col_t(c - 1), width, f),
              QStringLiteral("column width"));
    }
    for (auto it = sheet.RowHeights().begin(); it != sheet.RowHeights().end(); ++it)
        check(worksheet_set_row(ws, lxw_row_t(it.key() - 1), it.value(), nullptr), QStringLiteral("row height"));

    // Merged areas first: the writer fills them with blanks, which the cells below replace.
    for (const TExcelArea& m : sheet.MergedAreas()) {
        const TExcelCell* first = sheet.CellAt(m.top, m.left);
        lxw_format* f = first ? formats.get(first->format, false) : nullptr;
        check(worksheet_merge_range(ws, lxw_row_t(m.top - 1), lxw_col_t(m.left - 1), lxw_row_t(m.bottom - 1),
                                    lxw_col_t(m.right - 1), "", f),
              QStringLiteral("merged cells"));
    }

    QByteArray utf8;
    for (int r = 1; r <= sheet.RowCount(); ++r) {
        const int cols = sheet.ColumnCountOf(r);
        for (int c = 1; c <= cols; ++c) {
            const TExcelCell& cell = *sheet.CellAt(r, c);
            const lxw_row_t row = lxw_row_t(r - 1);
            const lxw_col_t col = lxw_col_t(c - 1);
            lxw_error e = LXW_NO_ERROR;
            switch (cell.value.Type()) {
            case VarType::Unassigned:
            case VarType::Null:
                if (lxw_format* f = formats.get(cell.format, false))
                    e = worksheet_write_blank(ws, row, col, f);
                break;
            case VarType::Boolean:
                e = worksheet_write_boolean(ws, row, col, cell.value.ToBool() ? 1 : 0,
                                            formats.get(cell.format, false));
                break;
            case VarType::Integer:
            case VarType::Double:
            case VarType::Currency:
                e = worksheet_write_number(ws, row, col, cell.value.ToDouble(), formats.get(cell.format, false));
                break;
            case VarType::Date:
                e = worksheet_write_number(ws, row, col, cell.value.ToDateTime().Value,
                                           formats.get(cell.format, true));
                break;
            default:
                utf8 = cell.value.ToString().toUtf8();
                e = worksheet_write_string(ws, row, col, utf8.constData(), formats.get(cell.format, false));
                break;
            }
            if (e != LXW_NO_ERROR)
                check(e, QStringLiteral("cell %1%2").arg(ExcelColumnLetters(c)).arg(r));
        }
    }
}

ExcelDesktop::Opener& opener()
{
    static ExcelDesktop::Opener o;
    return o;
}

} // namespace

void TExcelWorkbook::SaveAs(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook* wb = workbook_new(name.constData());
    if (!wb)
        throw EOleException(QStringLiteral("Cannot create the file ") + path);
    try {
        int index = 0;
        for (const auto& sheet : m_sheets) {
            const QByteArray sheetName = sheet->Name().toUtf8();
            lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName.constData());
            if (!ws)
                throw EOleException(QStringLiteral("Cannot add the worksheet ") + sheet->Name());
            writeSheet(wb, ws, *sheet);
            if (++index == m_active)
                worksheet_activate(ws);
        }
    } catch (...) {
        workbook_close(wb);
        QFile::remove(path);
        throw;
    }
    check(workbook_close(wb), QStringLiteral("Cannot write the file ") + path);
    m_saved = true;
}

ExcelDesktop::Opener ExcelDesktop::SetOpener(Opener o)
{
    Opener previous = opener();
    opener() = std::move(o);
    return previous;
}

bool ExcelDesktop::DefaultOpener(const QString& path)
{
    // Without a screen (offscreen test runs) there is no desktop to show anything on: the
    // file stays where it was written and nothing is started.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return true;
    // Only when the desktop has a program for spreadsheets; otherwise the caller shows the path.
    const QString mime = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime});
    if (!query.waitForFinished(5000) || query.exitCode() != 0)
        return false;
    if (QString::fromUtf8(query.readAllStandardOutput()).trimmed().isEmpty())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString ExcelDesktop::Present(TExcelWorkbook* book)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/Depotrix-%1-XXXXXX.xlsx").arg(book->Name()));
    file.setAutoRemove(false);
    if (!file.open())
        throw EOleException(QStringLiteral("Cannot create a file in ") + QDir::tempPath());
    const QString path = file.fileName();
    file.close();
    book->SaveAs(path);
    const Opener& o = opener();
    const bool opened = o ? o(path) : DefaultOpener(path);
    if (!opened)
        MessageDlg(QStringLiteral("没有找到可以打开电子表格的程序，报表已保存为：\n") + QDir::toNativeSeparators(path),
                   mtInformation, {mbOK});
    return path;
}
