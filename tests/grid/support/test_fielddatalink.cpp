// The editors' field data link, with and without a dataset.
#include "FieldDataLinkGx.h"
#include "dataset_fixture.h"
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace gxtest;

namespace {
struct Events {
    int data = 0, editing = 0, update = 0, active = 0;
    void Attach(TFieldDataLinkGx& link)
    {
        link.OnDataChange = [this](TFieldDataLinkGx*) { ++data; };
        link.OnEditingChange = [this](TFieldDataLinkGx*) { ++editing; };
        link.OnUpdateData = [this](TFieldDataLinkGx*) { ++update; };
        link.OnActiveChange = [this](TFieldDataLinkGx*) { ++active; };
    }
};
} // namespace

TEST(FieldDataLink, CycleWithoutDataset)
{
    TFieldDataLinkGx link;
    Events ev;
    ev.Attach(link);
    EXPECT_TRUE(link.DataIndepended());
    EXPECT_TRUE(link.Active());
    EXPECT_TRUE(link.CanModify());
    EXPECT_TRUE(link.DataIndependentValue.IsNull());
    EXPECT_EQ(link.Field(), nullptr);

    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(ev.editing, 1);
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(ev.editing, 1);
    link.SetText("abc");
    EXPECT_EQ(link.DataIndependentValue.ToString(), QStringLiteral("abc"));
    EXPECT_EQ(ev.data, 1);
    link.SetValue(Variant(12));
    EXPECT_EQ(link.DataIndependentValue.ToInt(), 12);
    EXPECT_EQ(ev.data, 2);

    // Storing pending edits: only a modified value is handed on; editing ends.
    link.UpdateRecord();
    EXPECT_EQ(ev.update, 0);
    EXPECT_FALSE(link.Editing());
    link.Edit();
    link.Modified();
    link.UpdateRecord();
    EXPECT_EQ(ev.update, 1);
    EXPECT_FALSE(link.IsModified());

    link.Reset();
    EXPECT_EQ(ev.data, 3);

    TFieldDataLinkGx readOnly;
    readOnly.SetReadOnly(true);
    EXPECT_FALSE(readOnly.Edit());
}

TEST(FieldDataLink, CycleWithDataset)
{
    auto ds = NumberedDataSet(3);
    TDataSource source(ds.get());
    TFieldDataLinkGx link;
    Events ev;
    ev.Attach(link);
    link.SetDataSource(&source);
    EXPECT_FALSE(link.DataIndepended());
    EXPECT_FALSE(link.Active());          // no field yet
    link.SetFieldName("name");
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(link.Field()->FieldName(), QStringLiteral("name"));
    EXPECT_TRUE(link.Active());
    EXPECT_TRUE(link.DataSetActive());
    const int dataBefore = ev.data;
    link.SetFieldName("name");            // unchanged: nothing
    EXPECT_EQ(ev.data, dataBefore);

    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(ds->State(), dsEdit);
    EXPECT_TRUE(link.Editing());
    link.SetText("changed");
    EXPECT_EQ(ds->FieldByName("name")->AsString(), QStringLiteral("changed"));

    // A change of another field does not concern this link.
    const int data = ev.data;
    ds->FieldByName("qty")->SetAsFloat(5);
    EXPECT_EQ(ev.data, data);
    ds->FieldByName("name")->SetAsString("again");
    EXPECT_EQ(ev.data, data + 1);

    link.Modified();
    ds->Post();
    EXPECT_EQ(ev.update, 1);
    EXPECT_FALSE(link.Editing());

    // Disabled controls empty the field array; enabling rebuilds it.
    ds->DisableControls();
    link.DataEvent(deDisabledStateChange, 0);
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_FALSE(link.Active());
    link.DataEvent(deDisabledStateChange, 1);
    ds->EnableControls();
    EXPECT_NE(link.Field(), nullptr);

    // Clearing source and name makes the link independent again, with a Null value.
    link.SetFieldName("");
    link.SetDataSource(nullptr);
    EXPECT_TRUE(link.DataIndepended());
    EXPECT_TRUE(link.DataIndependentValue.IsNull());
}

TEST(FieldDataLink, MultiFieldsAndErrors)
{
    auto ds = NumberedDataSet(2);
    TDataSource source(ds.get());
    TFieldDataLinkGx link;
    link.SetDataSource(&source);
    link.SetMultiFields(true);
    link.SetFieldName("id;qty");
    ASSERT_EQ(link.FieldsCount(), 2);
    ds->Edit();
    link.SetValue(VarArrayOf({Variant(7), Variant(2.5)}));
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 7);
    EXPECT_EQ(ds->FieldByName("qty")->AsFloat(), 2.5);
    link.SetValue(Variant::Null());
    EXPECT_TRUE(ds->FieldByName("id")->IsNull());
    EXPECT_TRUE(ds->FieldByName("qty")->IsNull());
    ds->Cancel();

    QLineEdit editor;
    editor.setObjectName("edQty");
    TFieldDataLinkGx bound;
    bound.SetControl(&editor);
    bound.SetDataSource(&source);
    try {
        bound.SetFieldName("nosuch");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("edQty: Field 'nosuch' not found"));
    }
    TFieldDataLinkGx multi;
    multi.SetControl(&editor);
    multi.SetDataSource(&source);
    multi.SetMultiFields(true);
    EXPECT_THROW(multi.SetFieldName("id;nosuch"), EDatabaseError);
}

TEST(FieldDataLink, FocusControl)
{
    auto ds = NumberedDataSet(1);
    TDataSource source(ds.get());
    QLineEdit editor;
    editor.show();
    TFieldDataLinkGx link;
    link.SetControl(&editor);
    link.SetDataSource(&source);
    link.SetFieldName("name");
    TField* other = ds->FieldByName("qty");
    link.DataEvent(deFocusControl, qintptr(&other));
    EXPECT_EQ(other, ds->FieldByName("qty"));
    TField* mine = ds->FieldByName("name");
    link.DataEvent(deFocusControl, qintptr(&mine));
    EXPECT_EQ(mine, nullptr);
    editor.setEnabled(false);
    mine = ds->FieldByName("name");
    link.DataEvent(deFocusControl, qintptr(&mine));
    EXPECT_NE(mine, nullptr);
}

TEST(FieldLists, NamesAndValues)
{
    auto ds = NumberedDataSet(2);
    EXPECT_TRUE(IsNumberFieldType(ftBCD));
    EXPECT_TRUE(IsNumberFieldType(ftSmallint));
    EXPECT_FALSE(IsNumberFieldType(ftAutoInc));
    EXPECT_FALSE(IsNumberFieldType(ftLargeint));
    EXPECT_FALSE(IsNumberFieldType(ftString));
    const TFieldsArrGx fields = FieldsToArray(ds.get(), nullptr, "qty; id");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0]->FieldName(), QStringLiteral("qty"));
    QObject owner;
    owner.setObjectName("grid1");
    try {
        FieldsToArray(ds.get(), &owner, "id;nosuch");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("grid1: Field 'nosuch' not found"));
    }
    ds->Edit();
    SetFieldsValue(ds.get(), "id;qty", VarArrayOf({Variant(5), Variant(1.5)}));
    EXPECT_THROW(SetFieldsValue(ds.get(), "id;qty", Variant(3)), EVariantError);
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 5);
    SetFieldsValue(ds.get(), "id;qty", Variant::Null());
    EXPECT_TRUE(ds->FieldByName("id")->IsNull());
    EXPECT_TRUE(ds->FieldByName("qty")->IsNull());
    ds->Cancel();
}
