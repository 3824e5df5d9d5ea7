// The grid's clipboard routines: copy puts the selection on the clipboard in
// every export format, paste reads the best format there is back into the
// selection, delete removes selected records or clears selected cells.
#include "DBGridGx.h"
#include "DBGridGxImpExp.h"
#include "DBGridGxInputSelection.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Dialogs.h"
#include <QBuffer>

namespace {

// One format of a copy: the exporter, its terminator and the clipboard format.
struct CopyPass {
    TDBGridGxExportClass exporter;
    int terminator;
    unsigned format;
};

// Clears the fields a column shows in the current record (a lookup column: its key fields).
void ClearRecordCells(const TColumnsGxList& columns)
{
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx* column = columns.GetColumn(i);
        TField* field = column->Field();
        if (!field || !column->CanModify(false))
            continue;
        std::vector<TField*> fields;
        if (field->FieldKind() == fkLookup)
            fields = field->DataSet()->GetFieldList(field->KeyFields);
        else
            fields.push_back(field);
        for (TField* f : fields) {
            TDataSet* ds = f->DataSet();
            if (!ds->CanModify())
                continue;
            ds->Edit();
            if (ds->State() == dsEdit || ds->State() == dsInsert)
                f->Clear();
        }
    }
}

// Clipboard text up to its NUL.
QString ClipboardUtf16Text(const QByteArray& bytes)
{
    QString s = Utf16LEText(bytes);
    const qsizetype nul = s.indexOf(QChar(0));
    if (nul >= 0)
        s.truncate(nul);
    return s;
}

} // namespace

QString NormalizeLineEnds(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1String("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

void CopyGridSelectionToClipboard(TCustomDBGridGx* Grid, bool ForWholeGrid)
{
    TDataSet* ds = Grid->DataSet();
    Clipboard()->Open();
    if (ds)
        ds->DisableControls();
    try {
        // Text formats end in a NUL as clipboard text does; the named text formats (CSV, RTF)
        // travel as MIME data of their own and the binary format carries its own end.
        const CopyPass passes[] = {
            {ExportClassOf<TDBGridGxExportAsText>(), 1, CF_TEXT},
            {ExportClassOf<TDBGridGxExportAsUnicodeText>(), 2, CF_UNICODETEXT},
            {ExportClassOf<TDBGridGxExportAsCSV>(), 0, RegisterClipboardFormat(QStringLiteral("Csv"))},
            {ExportClassOf<TDBGridGxExportAsRTF>(), 0, RegisterClipboardFormat(QStringLiteral("Rich Text Format"))},
            {ExportClassOf<TDBGridGxExportAsVCLDBIF>(), 0, RegisterClipboardFormat(QStringLiteral("VCLDBIF"))},
        };
        for (const CopyPass& pass : passes) {
            QBuffer stream;
            stream.open(QIODevice::WriteOnly);
            ExportGridToStream(pass.exporter, Grid, &stream, ForWholeGrid);
            QByteArray data = stream.data();
            data.append(pass.terminator, '\0');
            Clipboard()->SetBuffer(pass.format, data);
        }
    } catch (...) {
        Clipboard()->Close();
        if (ds)
            ds->EnableControls();
        throw;
    }
    Clipboard()->Close();
    if (ds)
        ds->EnableControls();
}

void PasteClipboardIntoGrid(TCustomDBGridGx* Grid, bool ForWholeGrid)
{
    Clipboard()->Open();
    try {
        const unsigned binary = RegisterClipboardFormat(QStringLiteral("VCLDBIF"));
        QByteArray data;
        TDBGridGxImportClass importer;
        if (Clipboard()->HasFormat(binary)) {
            data = Clipboard()->GetBuffer(binary);
            importer = ImportClassOf<TDBGridGxImportAsVCLDBIF>();
        } else if (Clipboard()->HasFormat(CF_UNICODETEXT)) {
            // Text from other programs ends its lines in LF alone; the readers want CR LF.
            data = Utf16LEBytes(NormalizeLineEnds(ClipboardUtf16Text(Clipboard()->GetBuffer(CF_UNICODETEXT))));
            data.append(2, '\0');
            importer = ImportClassOf<TDBGridGxImportAsUnicodeText>();
        } else if (Clipboard()->HasFormat(CF_TEXT)) {
            QByteArray ansi = Clipboard()->GetBuffer(CF_TEXT);
            const qsizetype nul = ansi.indexOf('\0');
            if (nul >= 0)
                ansi.truncate(nul);
            data = NormalizeLineEnds(QString::fromLocal8Bit(ansi)).toLocal8Bit();
            data.append('\0');
            importer = ImportClassOf<TDBGridGxImportAsText>();
        }
        if (importer) {
            QBuffer stream(&data);
            stream.open(QIODevice::ReadOnly);
            ImportGridFromStream(importer, Grid, &stream, ForWholeGrid);
        }
    } catch (...) {
        Clipboard()->Close();
        throw;
    }
    Clipboard()->Close();
}

void DeleteGridSelection(TCustomDBGridGx* Grid, bool ForWholeGrid)
{
    const TDBGridGxSelectionType type = ForWholeGrid ? gstAll : Grid->Selection()->SelectionType();
    TDataSet* ds = Grid->DataSet();
    if (type == gstNon || !ds)
        return;
    if (Grid->Options().Contains(dgConfirmDelete)) {
        // Every kind of delete asks first: the whole grid and whole columns lose data too.
        QString question;
        switch (type) {
        case gstRecordBookmarks:
            question = Grid->SelectedRows()->Count() <= 1 ? QStringLiteral("Delete record?")
                                                          : QStringLiteral("Delete all selected records?");
            break;
        case gstAll: question = QStringLiteral("Delete all selected records?"); break;
        default: question = QStringLiteral("清除选择的单元？"); break;
        }
        if (MessageDlg(question, mtConfirmation, mbOKCancel, 0) != mrOk)
            return;
    }
    Grid->SaveBookmark();
    ds->DisableControls();
    try {
        switch (type) {
        case gstRecordBookmarks: {
            TBookmarkListGx* rows = Grid->SelectedRows();
            std::vector<TBookmark> marks;
            for (int i = 0; i < rows->Count(); ++i)
                marks.push_back(rows->GetItem(i));
            for (const TBookmark& bm : marks) {
                ds->GotoBookmark(bm);
                ds->Delete();
            }
            Grid->Selection()->Clear();
            break;
        }
        case gstRectangle: {
            TDBGridGxSelectionRect& rect = Grid->Selection()->Rect();
            TColumnsGxList columns;
            VisibleGridColumns(Grid, rect.GetLeftCol(), rect.GetRightCol(), columns);
            const TBookmark bottom = rect.GetBottomRow();
            ds->GotoBookmark(rect.GetTopRow());
            while (!ds->Eof()) {
                ClearRecordCells(columns);
                if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0)
                    break;
                ds->Next();
            }
            Grid->RestoreBookmark();
            break;
        }
        case gstColumns: {
            ds->First();
            while (!ds->Eof()) {
                ClearRecordCells(Grid->Selection()->Columns());
                ds->Next();
            }
            Grid->RestoreBookmark();
            break;
        }
        case gstAll:
            ds->First();
            while (!ds->Eof() && !ds->IsEmpty())
                ds->Delete();
            Grid->Selection()->Clear();
            break;
        case gstNon: break;
        }
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
}

void CutGridSelectionToClipboard(TCustomDBGridGx* Grid, bool ForWholeGrid)
{
    CopyGridSelectionToClipboard(Grid, ForWholeGrid);
    DeleteGridSelection(Grid, ForWholeGrid);
}
