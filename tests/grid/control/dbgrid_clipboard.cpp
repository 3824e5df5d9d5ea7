// The grid's clipboard on an account set's material list: copy puts every
// format on the clipboard, paste prefers the binary format, then text (line ends
// made CR LF first), and cut and delete for each kind of selection, each kind
// confirmed first.
#include "dbgrid_input_fixture.h"
#include "grid/control/DBGridGxImpExp.h"
#include "platform/db/Field.h"
#include "platform/gui/Clipboard.h"
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace gxinput;

namespace {

const QString BinaryMime = QStringLiteral("application/x-dpx-clipboard;format=\"vcldbif\"");

struct GridClipboard : GridTest {
    void SetUp() override
    {
        GridTest::SetUp();
        grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    }
    TColumnGx* Col(const char* field) { return grid->Columns()->GetColumn(ColumnOf(field)); }
    template <class T> QByteArray Export()
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        ExportGridToStream(ExportClassOf<T>(), grid, &b, false);
        return b.data();
    }
    void SelectRows(std::initializer_list<int> recNos)
    {
        for (int r : recNos) {
            cds.SetRecNo(r);
            grid->SelectedRows()->SetCurrentRowSelected(true);
        }
        cds.First();
    }
    void SelectRect(const char* left, const char* right, int top, int bottom)
    {
        cds.SetRecNo(top);
        grid->Selection()->Rect().Select(ColumnOf(left), cds.GetBookmark(), false);
        cds.SetRecNo(bottom);
        grid->Selection()->Rect().Select(ColumnOf(right), cds.GetBookmark(), true);
        grid->Selection()->SetSelectionType(gstRectangle);
        cds.First();
    }
    // The names of the materials, a NULL as "~".
    QStringList Names()
    {
        QStringList out;
        const TBookmark at = cds.GetBookmark();
        cds.DisableControls();
        for (cds.First(); !cds.Eof(); cds.Next()) {
            TField* f = cds.FieldByName(QStringLiteral("mname"));
            out << (f->IsNull() ? QStringLiteral("~") : f->AsString());
        }
        if (!at.IsEmpty() && cds.BookmarkValid(at))
            cds.GotoBookmark(at);
        cds.EnableControls();
        return out;
    }
};

} // namespace

TEST_F(GridClipboard, CopyPutsEveryFormat)
{
    SelectRows({1, 2});
    grid->SetEditActions(TDBGridGxEditActions{geaCopyGx});
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    for (const QString& type : {QStringLiteral("text/plain"), QStringLiteral("text/csv"), QStringLiteral("text/rtf"),
                                BinaryMime})
        EXPECT_TRUE(mime->hasFormat(type)) << type.toStdString();
    const QString text = QString::fromLocal8Bit(Export<TDBGridGxExportAsText>());
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n1\tA01\t钢筋 Steel\t吨\tHRB400\r\n2\tA02\t水泥 cement\t袋\tP.O 42.5")));
    EXPECT_EQ(mime->text(), text);
    EXPECT_EQ(mime->data(QStringLiteral("text/csv")), Export<TDBGridGxExportAsCSV>());
    EXPECT_EQ(mime->data(QStringLiteral("text/rtf")), Export<TDBGridGxExportAsRTF>());
    EXPECT_EQ(mime->data(BinaryMime), Export<TDBGridGxExportAsVCLDBIF>());
    EXPECT_EQ(Names().size(), 12);   // copying changes nothing
}

TEST_F(GridClipboard, PastePrefersTheBinaryFormatThenText)
{
    // The current cell of material 1 on the clipboard, with a text that says otherwise.
    GoTo(1, "mname");
    CopyGridSelectionToClipboard(grid, false);
    auto* both = new QMimeData;
    both->setData(BinaryMime, QGuiApplication::clipboard()->mimeData()->data(BinaryMime));
    both->setText(QStringLiteral("from the text"));
    QGuiApplication::clipboard()->setMimeData(both);
    grid->SetEditActions(TDBGridGxEditActions{geaPasteGx});
    GoTo(3, "mname");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field("mname"), QStringLiteral("钢筋 Steel"));

    // Text alone, its lines ended by LF as other programs write them: one line a record.
    QGuiApplication::clipboard()->setText(QStringLiteral("第一\tM1\n第二\tM2\n"));
    GoTo(5, "mname");
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Names().mid(4, 2), (QStringList{QStringLiteral("第一"), QStringLiteral("第二")}));
    cds.SetRecNo(6);
    EXPECT_EQ(Field("munit"), QStringLiteral("M2"));
    EXPECT_EQ(Rec(), 6);
    EXPECT_EQ(Names().size(), 12);
}

TEST_F(GridClipboard, CutAndDeleteEveryKindOfSelection)
{
    struct Case {
        const char* name;
        std::function<void()> select;
        const char* question;
        TModalResult answer;
        int records;              // left afterwards
        const char* secondName;   // mname of the second record afterwards
        const char* firstUnit;    // munit of the first record afterwards
    };
    const Case cases[] = {
        {"one record", [this] { SelectRows({2}); }, "Delete record?", mrOk, 11, "砂石 sand", "吨"},
        {"two records", [this] { SelectRows({2, 3}); }, "Delete all selected records?", mrOk, 10, "steel plate", "吨"},
        {"a rectangle", [this] { SelectRect("mname", "munit", 2, 3); }, "清除选择的单元？", mrOk, 12, "~", "吨"},
        {"a column", [this] {
             grid->Selection()->Columns().Select(Col("munit"), false);
             grid->Selection()->SetSelectionType(gstColumns);
         },
         "清除选择的单元？", mrOk, 12, "水泥 cement", "~"},
        {"the whole grid", [this] { grid->Selection()->SelectAll(); }, "Delete all selected records?", mrOk, 0, "",
         ""},
        {"the whole grid, cancelled", [this] { grid->Selection()->SelectAll(); }, "Delete all selected records?",
         mrCancel, 12, "水泥 cement", "吨"},
    };
    for (bool cut : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (cut ? " (cut)" : " (delete)"));
            cds.CancelUpdates();
            cds.First();
            grid->Selection()->Clear();
            QGuiApplication::clipboard()->clear();
            c.select();
            DialogScript::ClearLog();
            DialogScript::Answer(c.answer);
            if (cut)
                CutGridSelectionToClipboard(grid, false);
            else
                DeleteGridSelection(grid, false);
            EXPECT_EQ(DialogScript::Texts(), QStringList{QString::fromUtf8(c.question)});
            EXPECT_EQ(cds.RecordCount(), c.records);
            if (c.records > 0) {
                EXPECT_EQ(Names().value(1), QString::fromUtf8(c.secondName));
                cds.First();
                EXPECT_EQ(cds.FieldByName(QStringLiteral("munit"))->IsNull() ? QStringLiteral("~") : Field("munit"),
                          QString::fromUtf8(c.firstUnit));
            }
            // A cut leaves the cut data on the clipboard, also when the delete was cancelled.
            const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
            EXPECT_EQ(mime && mime->hasFormat(BinaryMime), cut);
        }
    cds.CancelUpdates();
}

// Columns chosen with Ctrl+clicks on their titles out of the grid's order are copied and exported
// in the grid's order, whatever the order of the clicks.
TEST_F(GridClipboard, ColumnsChosenOutOfOrderComeOutInGridOrder)
{
    // Press in the lowest pixels of a title: the column-select zone.
    auto titleClick = [&](const char* field) {
        const TRect r = grid->CellRect(ColumnOf(field) + 1, 0);
        QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, QPoint((r.Left + r.Right) / 2, r.Bottom - 2));
        QApplication::processEvents();
    };
    titleClick("mtype");
    titleClick("code");
    titleClick("mname");
    ASSERT_EQ(grid->Selection()->SelectionType(), gstColumns);
    TDBGridGxSelectionCols& cols = grid->Selection()->Columns();
    QStringList chosen;
    for (int i = 0; i < cols.Count(); ++i)
        chosen << cols.GetColumn(i)->FieldName();
    EXPECT_EQ(chosen, (QStringList{QStringLiteral("code"), QStringLiteral("mname"), QStringLiteral("mtype")}));

    grid->SetEditActions(TDBGridGxEditActions{geaCopyGx});
    QGuiApplication::clipboard()->clear();
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    QStringList lines = mime->text().split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    EXPECT_TRUE(lines.contains(QStringLiteral("A01\t钢筋 Steel\tHRB400"))) << mime->text().toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("F02\t螺丝 screw\tM6"))) << mime->text().toStdString();
    // The exports write the same order: text and CSV.
    const QString text = QString::fromLocal8Bit(Export<TDBGridGxExportAsText>());
    EXPECT_EQ(mime->text(), text);
    const QString csv = QString::fromLocal8Bit(Export<TDBGridGxExportAsCSV>());
    EXPECT_TRUE(csv.contains(QStringLiteral("\"code\";\"mname\";\"mtype\"\r\n\"A01\";\"钢筋 Steel\";\"HRB400\"")))
        << csv.toStdString();
}
