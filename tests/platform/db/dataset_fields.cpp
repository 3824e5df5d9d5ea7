// Field types: conversions, texts, exact BCD, ranges and their errors.
#include "dataset_support.h"

using namespace dstest;

namespace {

std::unique_ptr<TClientDataSet> AllTypes()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("s", ftString, 5);
    ds->FieldDefs().Add("nc", ftFixedWideChar, 6);
    ds->FieldDefs().Add("i", ftInteger);
    ds->FieldDefs().Add("si", ftSmallint);
    ds->FieldDefs().Add("b", ftBoolean);
    ds->FieldDefs().Add("f", ftFloat);
    ds->FieldDefs().Add("bcd", ftBCD);
    ds->FieldDefs().Add("dt", ftDateTime);
    ds->FieldDefs().Add("big", ftLargeint);
    ds->CreateDataSet();
    ds->Append();
    return ds;
}

} // namespace

TEST(Fields, ClassesFollowTheColumnTypes)
{
    auto ds = AllTypes();
    EXPECT_NE(dynamic_cast<TStringField*>(ds->FieldByName("s")), nullptr);
    EXPECT_NE(dynamic_cast<TWideStringField*>(ds->FieldByName("nc")), nullptr);
    EXPECT_NE(dynamic_cast<TIntegerField*>(ds->FieldByName("i")), nullptr);
    EXPECT_NE(dynamic_cast<TSmallintField*>(ds->FieldByName("si")), nullptr);
    EXPECT_NE(dynamic_cast<TBooleanField*>(ds->FieldByName("b")), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(ds->FieldByName("f")), nullptr);
    EXPECT_NE(dynamic_cast<TBCDField*>(ds->FieldByName("bcd")), nullptr);
    EXPECT_NE(dynamic_cast<TDateTimeField*>(ds->FieldByName("dt")), nullptr);
    EXPECT_NE(dynamic_cast<TLargeintField*>(ds->FieldByName("big")), nullptr);
    EXPECT_EQ(ds->FieldByName("bcd")->Alignment(), taRightJustify);
    EXPECT_EQ(ds->FieldByName("s")->Alignment(), taLeftJustify);
}

TEST(Fields, AssignmentsConvertToTheFieldType)
{
    auto ds = AllTypes();
    struct Case {
        const char* field;
        Variant in;
        VarType storedType;
        QString asString;
    };
    const std::vector<Case> cases = {
        {"s", "abcdefg", VarType::String, "abcde"},          // cut to Size
        {"nc", "ab    ", VarType::String, "ab    "},         // fixed width keeps its blanks
        {"i", "42", VarType::Integer, "42"},
        {"i", 2.5, VarType::Integer, "2"},                   // rounds half to even
        {"si", -32768, VarType::Integer, "-32768"},
        {"b", "true", VarType::Boolean, "True"},
        {"b", 0, VarType::Boolean, "False"},
        {"f", "1.25", VarType::Double, "1.25"},
        {"bcd", 0.1, VarType::Currency, "0.1"},
        {"bcd", "12.34567", VarType::Currency, "12.3457"},   // 4 decimals
        {"bcd", 3, VarType::Currency, "3"},
        {"dt", "2024-01-05 08:30:00", VarType::Date, "2024-01-05 08:30:00"},
        {"dt", "2024-01-05", VarType::Date, "2024-01-05"},
        {"big", "9000000000", VarType::Integer, "9000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.in.ToString().toStdString());
        TField* f = ds->FieldByName(c.field);
        f->SetValue(c.in);
        EXPECT_EQ(f->Value().Type(), c.storedType);
        EXPECT_EQ(f->AsString(), c.asString);
    }
}

TEST(Fields, BadValuesRaiseTheClassLibraryErrors)
{
    auto ds = AllTypes();
    ExpectError<EConvertError>([&] { ds->FieldByName("i")->SetAsString("abc"); },
                               "'abc' is not a valid integer value");
    ExpectError<EDatabaseError>([&] { ds->FieldByName("si")->SetAsInteger(70000); },
                                "70000 is not a valid value for field 'si'. The allowed range is -32768 to 32767");
    ExpectError<EDatabaseError>([&] { ds->FieldByName("b")->SetAsString("maybe"); },
                                "'maybe' is not a valid boolean value for field 'b'");
    auto* i = static_cast<TIntegerField*>(ds->FieldByName("i"));
    i->SetMinValue(1);
    i->SetMaxValue(10);
    ExpectError<EDatabaseError>([&] { i->SetAsInteger(11); },
                                "11 is not a valid value for field 'i'. The allowed range is 1 to 10");
    EXPECT_TRUE(i->IsNull());
}

TEST(Fields, ExactBcdSums)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("qty", ftBCD);
    ds->CreateDataSet();
    for (int k = 0; k < 3; ++k)
        ds->AppendRecord({0.1});
    Currency sum;
    double fsum = 0;
    for (ds->First(); !ds->Eof(); ds->Next()) {
        sum += ds->FieldByName("qty")->AsCurrency();
        fsum += ds->FieldByName("qty")->AsFloat();
    }
    EXPECT_EQ(sum, Currency::FromRaw(3000));            // exactly 0.3
    EXPECT_EQ(sum.ToString(), "0.3");
    EXPECT_NE(fsum, 0.3);                               // the binary sum drifts; the field does not
    ds->Edit();
    ds->FieldByName("qty")->SetAsFloat(1.0 / 3.0);
    EXPECT_EQ(ds->FieldByName("qty")->AsCurrency(), Currency::FromRaw(3333));
    ds->Cancel();
}

TEST(Fields, TextsAndFormats)
{
    auto ds = AllTypes();
    auto* bcd = static_cast<TBCDField*>(ds->FieldByName("bcd"));
    bcd->SetAsString("1234.5");
    bcd->SetDisplayFormat("#,##0.00");
    EXPECT_EQ(bcd->DisplayText(), "1,234.50");
    EXPECT_EQ(bcd->Text(), "1,234.50");
    bcd->SetEditFormat("0.####");
    EXPECT_EQ(bcd->Text(), "1234.5");
    bcd->SetText("");                                   // empty text clears a number
    EXPECT_TRUE(bcd->IsNull());
    EXPECT_EQ(bcd->DisplayText(), "");
    EXPECT_EQ(bcd->AsFloat(), 0.0);

    auto* b = static_cast<TBooleanField*>(ds->FieldByName("b"));
    b->SetDisplayValues(QStringLiteral("是;否"));
    b->SetText(QStringLiteral("否"));
    EXPECT_FALSE(b->AsBoolean());
    EXPECT_EQ(b->DisplayText(), QStringLiteral("否"));

    auto* dt = static_cast<TDateTimeField*>(ds->FieldByName("dt"));
    dt->SetAsDateTime(EncodeDate(2024, 3, 9));
    EXPECT_EQ(dt->DisplayText(), "2024-03-09");
    dt->SetDisplayFormat("yyyy年m月d日");
    EXPECT_EQ(dt->DisplayText(), QStringLiteral("2024年3月9日"));

    TField* s = ds->FieldByName("s");
    s->OnGetText = [](TField* f, QString& text, bool display) { text = (display ? "<" : "[") + f->AsString(); };
    s->OnSetText = [](TField* f, const QString& text) { f->SetAsString(text.toUpper()); };
    s->SetText("ab");
    EXPECT_EQ(s->AsString(), "AB");
    EXPECT_EQ(s->DisplayText(), "<AB");
    EXPECT_EQ(s->Text(), "[AB");
    ds->Cancel();
}
