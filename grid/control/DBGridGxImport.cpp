// Importers: the walk that hands a stream's rows to the records and columns a
// grid's selection covers, the text readers (8-bit and UTF-16) and the reader of
// the binary interchange format.
#include "DBGridGx.h"
#include "DBGridGxImpExp.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxInterceptors.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include <QFile>
#include <QStringDecoder>
#include <QtEndian>

namespace {

bool IsTextField(const TField* field)
{
    switch (field->DataType()) {
    case ftString: case ftFixedChar: case ftWideString: case ftFixedWideChar: case ftMemo: case ftWideMemo:
        return true;
    default:
        return false;
    }
}

} // namespace

// ================================================================ the walk

void TDBGridGxImport::ImportRecord(TColumnsGxList& ColumnsList)
{
    for (int i = 0; i < ColumnsList.Count(); ++i)
        ImportDataCell(ColumnsList.GetColumn(i));
}

void TDBGridGxImport::ImportFromStream(QIODevice* AStream, bool IsImportAll)
{
    FStream = AStream;
    Eos = false;
    TCustomDBGridGx* grid = FDBGridGx;
    TDataSet* ds = grid->DataSet();
    if (!ds)
        return;
    if (IsImportAll) {
        grid->Selection()->Clear();
        ds->First();
        if (grid->VisibleColumns()->Count() > 0)
            grid->SetSelectedIndex(grid->VisibleColumns()->GetColumn(0)->Index());
    }
    const bool atEnd = ds->Eof();
    const bool inserting = ds->State() == dsInsert;
    bool restore = !inserting;
    if (!inserting)
        grid->SaveBookmark();
    ds->DisableControls();
    TColumnsGxList temporary;
    auto insertLoop = [&](bool append) {
        while (!Eos) {
            if (append || atEnd)
                ds->Append();
            else
                ds->Insert();
            ImportRecord(*FImpCols);
            ds->Post();
            if (!(append || atEnd))
                ds->Next();
        }
    };
    try {
        switch (grid->Selection()->SelectionType()) {
        case gstRecordBookmarks: {
            FImpCols = grid->VisibleColumns();
            ReadPrefix();
            if (inserting) {
                insertLoop(false);
            } else {
                TBookmarkListGx* rows = grid->SelectedRows();
                for (int i = 0; i < rows->Count() && !Eos; ++i) {
                    ds->GotoBookmark(rows->GetItem(i));
                    ImportRecord(*FImpCols);
                }
            }
            break;
        }
        case gstRectangle: {
            TDBGridGxSelectionRect& rect = grid->Selection()->Rect();
            VisibleGridColumns(grid, rect.GetLeftCol(), rect.GetRightCol(), temporary);
            FImpCols = &temporary;
            ReadPrefix();
            if (inserting) {
                insertLoop(false);
            } else {
                const TBookmark bottom = rect.GetBottomRow();
                ds->GotoBookmark(rect.GetTopRow());
                while (!ds->Eof() && !Eos) {
                    ImportRecord(*FImpCols);
                    if (ds->CompareBookmarks(ds->GetBookmark(), bottom) == 0)
                        break;
                    ds->Next();
                }
            }
            break;
        }
        case gstColumns:
        case gstAll: {
            FImpCols = grid->Selection()->SelectionType() == gstColumns
                           ? static_cast<TColumnsGxList*>(&grid->Selection()->Columns())
                           : grid->VisibleColumns();
            ReadPrefix();
            if (inserting) {
                insertLoop(false);
            } else {
                ds->First();
                while (!ds->Eof() && !Eos) {
                    ImportRecord(*FImpCols);
                    ds->Next();
                }
            }
            break;
        }
        case gstNon: {
            VisibleGridColumns(grid, grid->SelectedIndex(), grid->Columns()->Count() - 1, temporary);
            FImpCols = &temporary;
            ReadPrefix();
            if (inserting) {
                insertLoop(false);
            } else {
                grid->RestoreBookmark();
                while (!ds->Eof() && !Eos) {
                    ImportRecord(*FImpCols);
                    ds->Next();
                }
                if (!Eos && grid->AllowedOperations().Contains(alopAppendGx)) {
                    restore = false;
                    insertLoop(true);
                }
            }
            break;
        }
        }
    } catch (...) {
        if (restore)
            grid->RestoreBookmark();
        ds->EnableControls();
        FImpCols = nullptr;
        throw;
    }
    if (restore)
        grid->RestoreBookmark();
    ds->EnableControls();
    FImpCols = nullptr;
    FinishImport();
}

void TDBGridGxImport::ImportFromFile(const QString& FileName, bool IsImportAll)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    ImportFromStream(&file, IsImportAll);
}

bool TDBGridGxImport::PrepareField(TField* Field)
{
    TDataSet* ds = Field->DataSet();
    if (!ds || !ds->CanModify())
        return false;
    ds->Edit();
    return ds->State() == dsEdit || ds->State() == dsInsert;
}

void TDBGridGxImport::AssignGuarded(const std::function<void()>& assign)
{
    try {
        assign();
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        if (FIgnoreAll)
            return;
        const int answer = MessageDlg(QStringLiteral("插入值过程中出错：\n%1\n\n忽略错误？").arg(e.Message()), mtError,
                                      TMsgDlgButtons{mbYes, mbNo, mbAll}, 0);
        if (answer == mrNo)
            Abort();
        if (answer == mrAll)
            FIgnoreAll = true;
    }
}

// ================================================================ text readers

namespace {

// Whether the text before the end mark is UTF-16 (little-endian) every surrogate of which is
// paired: a whole number of units, each high surrogate followed by a low one.
bool IsUtf16Text(const QByteArray& bytes)
{
    if (bytes.size() % 2 != 0)
        return false;
    bool high = false;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = qFromLittleEndian<quint16>(bytes.constData() + i);
        const bool low = QChar::isLowSurrogate(unit);
        if (high != low)
            return false;
        high = QChar::isHighSurrogate(unit);
    }
    return !high;
}

bool IsUtf8Text(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

void TDBGridGxImportAsText::ImportFromStream(QIODevice* AStream, bool IsImportAll)
{
    // The whole text is checked before a cell is touched: up to the end mark (a NUL character)
    // or the end of the stream.
    QByteArray text = AStream->peek(AStream->bytesAvailable());
    for (qsizetype at = 0; at + CharSize() <= text.size(); at += CharSize())
        if (text.at(at) == 0 && (CharSize() == 1 || text.at(at + 1) == 0)) {
            text.truncate(at);
            break;
        }
    if (CharSize() == 2 ? !IsUtf16Text(text) : !IsUtf8Text(text))
        throw Exception(ReaderName() + QStringLiteral(".CheckState: ")
                        + (CharSize() == 2 ? QStringLiteral("文本不是有效的 UTF-16 编码")
                                           : QStringLiteral("文本不是有效的 UTF-8 编码")));
    FIgnoreAll = false;
    FLastChar.clear();
    FLastString.clear();
    TDBGridGxImport::ImportFromStream(AStream, IsImportAll);
}

QString TDBGridGxImportAsText::Decode(const QByteArray& bytes) const
{
    return QString::fromLocal8Bit(bytes);
}

QString TDBGridGxImportAsUnicodeText::Decode(const QByteArray& bytes) const
{
    return Utf16LEText(bytes);
}

bool TDBGridGxImportAsText::ReadChar(QByteArray& ch)
{
    ch = FStream->read(CharSize());
    return ch.size() == CharSize();
}

TImportTextSreamState TDBGridGxImportAsText::CheckState()
{
    QByteArray c;
    if (!ReadChar(c)) {
        Eos = true;
        return FLastState = itssEof;
    }
    FLastChar = c;
    auto code = [this](const QByteArray& b) -> int {
        return CharSize() == 2 ? int(qFromLittleEndian<quint16>(b.constData())) : int(uchar(b.at(0)));
    };
    const QByteArray nul(CharSize(), '\0');
    const bool afterDelimiter = FLastState == itssTab || FLastState == itssNewLine;
    TImportTextSreamState state = itssChar;
    switch (code(c)) {
    case 0:
        Eos = true;
        state = itssEof;
        break;
    case '\t':
        state = itssTab;
        if (afterDelimiter) {
            // An empty cell.
            FLastChar = nul;
            if (FStream->pos() > 0)
                FStream->seek(FStream->pos() - CharSize());
            state = itssChar;
        }
        break;
    case '\r':
    case '\n': {
        // A line ends with CR LF or with LF alone.
        int width = 1;
        if (code(c) == '\r') {
            QByteArray lf;
            if (!ReadChar(lf) || code(lf) != '\n')
                throw Exception(ReaderName() + QStringLiteral(".CheckState: ") + QStringLiteral("错误的文本格式"));
            width = 2;
        }
        state = itssNewLine;
        if (afterDelimiter) {
            FLastChar = nul;
            if (FStream->pos() >= width * CharSize())
                FStream->seek(FStream->pos() - width * CharSize());
            state = itssChar;
        }
        break;
    }
    default: break;
    }
    return FLastState = state;
}

void TDBGridGxImportAsText::ReadCellText()
{
    // An empty cell (its marker is a NUL character) reads as an empty text.
    const QByteArray emptyCell(CharSize(), '\0');
    QByteArray bytes;
    if (FLastState == itssChar && FLastChar != emptyCell)
        bytes = FLastChar;
    while (CheckState() == itssChar)
        if (FLastChar != emptyCell)
            bytes += FLastChar;
    FLastString = Decode(bytes);
}

void TDBGridGxImportAsText::ReadPrefix()
{
    FLastState = itssNewLine;
    CheckState();
}

void TDBGridGxImportAsText::ImportRecord(TColumnsGxList& ColumnsList)
{
    if (FLastState == itssEof)
        return;
    int i = 0;
    if (FLastState == itssChar) {
        ReadCellText();
        if (ColumnsList.Count() > 0)
            ImportDataCell(ColumnsList.GetColumn(0));
        i = 1;
    }
    while (FLastState == itssChar || FLastState == itssTab) {
        ReadCellText();
        if (i < ColumnsList.Count())
            ImportDataCell(ColumnsList.GetColumn(i));
        ++i;
    }
    CheckState();
}

void TDBGridGxImportAsText::ImportDataCell(TColumnGx* Column)
{
    if (!Column || !Column->CanModify(false))
        return;
    TField* field = Column->Field();
    if (!field)
        return;
    const bool lookup = field->FieldKind() == fkLookup;
    if (lookup && field->KeyFields.isEmpty())
        return;
    if (!PrepareField(field))
        return;
    const QString text = FLastString;
    AssignGuarded([&] {
        if (lookup) {
            TDataSet* ds = field->DataSet();
            const std::vector<TField*> keys = ds->GetFieldList(field->KeyFields);
            if (text.isEmpty()) {
                for (TField* k : keys)
                    k->Clear();
                return;
            }
            // The whole value, ignoring case; a value the list lacks is reported.
            TDataSet* list = field->LookupDataSet;
            if (!list || !list->Locate(field->LookupResultField, Variant(text), loCaseInsensitive))
                throw Exception(QStringLiteral("“%1”不在列表中").arg(text));
            const std::vector<TField*> listKeys = list->GetFieldList(field->LookupKeyFields);
            for (size_t j = 0; j < keys.size() && j < listKeys.size(); ++j)
                keys[j]->SetValue(listKeys[j]->Value());
            return;
        }
        if (Column->GetColumnType() == ctKeyPickList) {
            const QStringList& picks = Column->PickList();
            int index = -1;
            for (int j = 0; j < picks.size() && index < 0; ++j)
                if (picks.at(j).compare(text, Qt::CaseInsensitive) == 0)
                    index = j;
            if (index < 0 || index >= Column->KeyList().size())
                field->Clear();
            else
                field->SetText(Column->KeyList().at(index));
            return;
        }
        const QString accepted = Column->GetAcceptableEditText(text);
        if (accepted.isEmpty() && !IsTextField(field))
            field->Clear();
        else
            field->SetText(accepted);
    });
}

// ================================================================ binary interchange format

void TDBGridGxImportAsVCLDBIF::ImportFromStream(QIODevice* AStream, bool IsImportAll)
{
    FIgnoreAll = false;
    UseFieldNames = false;
    FieldNames.clear();
    FieldVisible.clear();
    LastValue = Variant();
    try {
        TDBGridGxImport::ImportFromStream(AStream, IsImportAll);
    } catch (...) {
        FieldNames.clear();
        FieldVisible.clear();
        throw;
    }
    FieldNames.clear();
    FieldVisible.clear();
}

void TDBGridGxImportAsVCLDBIF::FormatError()
{
    throw Exception(QStringLiteral("TDBGridGxImportAsVCLDBIF.ReadPrefix: ") + QStringLiteral("错误的 VCLDBIF 格式"));
}

namespace {

// Lengths up to this are simply read; a longer one is first compared with what the stream
// still holds (asking a file for that costs a system call).
constexpr qint64 kPlainRead = 1 << 16;

} // namespace

QByteArray TDBGridGxImportAsVCLDBIF::ReadBytes(qint64 Count)
{
    // A length that the rest of the stream cannot hold is a broken stream, not a request to read.
    if (Count < 0 || (Count > kPlainRead && Count > FStream->bytesAvailable()))
        FormatError();
    QByteArray bytes = FStream->read(Count);
    if (bytes.size() != Count)
        FormatError();
    return bytes;
}

qint32 TDBGridGxImportAsVCLDBIF::ReadInt32()
{
    char bytes[4];
    if (FStream->read(bytes, 4) != 4)
        FormatError();
    return qFromLittleEndian<qint32>(bytes);
}

void TDBGridGxImportAsVCLDBIF::ReadPrefix()
{
    const QByteArray header = ReadBytes(12);
    FSignature = header.left(7);
    if (FSignature != "VCLDBIF")
        FormatError();
    FColumnCount = qFromLittleEndian<qint32>(header.constData() + 8);
    // Each column record takes at least two bytes.
    if (FColumnCount < 0 || qint64(FColumnCount) * 2 > FStream->bytesAvailable())
        FormatError();
    for (int i = 0; i < FColumnCount; ++i) {
        char visible;
        if (!FStream->getChar(&visible))
            FormatError();
        // The name up to its NUL, in one piece.
        QByteArray name;
        for (;;) {
            const QByteArray ahead = FStream->peek(256);
            if (ahead.isEmpty())
                FormatError();
            const qsizetype end = ahead.indexOf('\0');
            name += FStream->read(end >= 0 ? end : ahead.size());
            if (end >= 0) {
                FStream->getChar(nullptr);
                break;
            }
        }
        if (!name.isEmpty())
            UseFieldNames = true;
        FieldNames << QString::fromLocal8Bit(name);
        FieldVisible.push_back(uchar(visible));
    }
    ReadValue();
}

void TDBGridGxImportAsVCLDBIF::ReadValue()
{
    if (Eos)
        return;
    char tag;
    if (!FStream->getChar(&tag))
        FormatError();
    LastValue = Variant();
    switch (uchar(tag)) {
    case 0: Eos = true; break;
    case 2: LastValue = Variant::Null(); break;
    case 3: LastValue = Variant(int(ReadInt32())); break;
    case 4: LastValue = Variant(qFromLittleEndian<double>(ReadBytes(8).constData())); break;
    case 5: LastValue = Variant(QString::fromLocal8Bit(ReadBytes(ReadInt32()))); break;
    case 6: LastValue = Variant(QString::fromLatin1(ReadBytes(ReadInt32()))); break;
    case 7: LastValue = Variant(Utf16LEText(ReadBytes(ReadInt32()))); break;
    default: break;   // no value
    }
}

void TDBGridGxImportAsVCLDBIF::ImportRecord(TColumnsGxList& ColumnsList)
{
    for (int i = 0; i < FColumnCount; ++i)
        ImportDataCell(i < ColumnsList.Count() ? ColumnsList.GetColumn(i) : nullptr);
}

void TDBGridGxImportAsVCLDBIF::ImportDataCell(TColumnGx* Column)
{
    if (!LastValue.IsUnassigned() && Column && Column->CanModify(false) && Column->Field()) {
        TField* field = Column->Field();
        auto assign = [this](TField* f, const Variant& v, bool asText) {
            if (!PrepareField(f))
                return;
            AssignGuarded([&] {
                if (asText)
                    f->SetAsString(v.ToString());
                else
                    f->SetValue(v);
            });
        };
        if (field->FieldKind() == fkLookup) {
            const std::vector<TField*> keys = field->DataSet()->GetFieldList(field->KeyFields);
            const QStringList items = SplitCommaTextGx(LastValue.IsNull() ? QString() : LastValue.ToString());
            for (size_t j = 0; j < keys.size(); ++j) {
                if (int(j) >= items.size())
                    throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(j));
                assign(keys[j], Variant(items.at(int(j))), true);
            }
        } else {
            assign(field, LastValue, false);
        }
    }
    ReadValue();
}

// ================================================================ routines

void ImportGridFromStream(const TDBGridGxImportClass& ImportClass, TCustomDBGridGx* Grid, QIODevice* Stream,
                          bool ForWholeGrid)
{
    std::unique_ptr<TDBGridGxImport> importer = ImportClass();
    importer->SetDBGridGx(Grid);
    importer->ImportFromStream(Stream, ForWholeGrid);
}
