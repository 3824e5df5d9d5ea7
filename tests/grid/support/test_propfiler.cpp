// Property interceptors: the registry and the form placement interceptor.
#include "PropFilerGx.h"
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
class OtherInterceptor : public TStoragePropertyInterceptor {
public:
    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    bool NeedIntercept() override { return false; }
};
} // namespace

TEST(PropertyInterceptors, Registry)
{
    const int before = ClassPropertyInterceptorCount();
    RegisterClassPropertyInterceptor(&QLineEdit::staticMetaObject, &CreateInterceptorGx<TFormStoragePropertyInterceptor>);
    RegisterClassPropertyInterceptor(&QLineEdit::staticMetaObject, &CreateInterceptorGx<OtherInterceptor>);
    EXPECT_EQ(ClassPropertyInterceptorCount(), before + 1);
    EXPECT_EQ(FindClassPropertyInterceptor(&QLineEdit::staticMetaObject), &CreateInterceptorGx<OtherInterceptor>);
    UnregisterClassPropertyInterceptor(&QLineEdit::staticMetaObject, &CreateInterceptorGx<TFormStoragePropertyInterceptor>);
    EXPECT_EQ(ClassPropertyInterceptorCount(), before + 1);   // not that pair
    UnregisterClassPropertyInterceptor(&QLineEdit::staticMetaObject, &CreateInterceptorGx<OtherInterceptor>);
    EXPECT_EQ(ClassPropertyInterceptorCount(), before);
    EXPECT_EQ(FindClassPropertyInterceptor(&QLineEdit::staticMetaObject), nullptr);

    InitPropFilerGx();
    TStoragePropertyInterceptorClass cls = FindClassPropertyInterceptor(&QWidget::staticMetaObject);
    ASSERT_NE(cls, nullptr);
    QWidget form;
    std::unique_ptr<TStoragePropertyInterceptor> i(cls(&form));
    EXPECT_TRUE(i->NeedIntercept());
    EXPECT_EQ(i->Target(), &form);
}

TEST(PropertyInterceptors, FormPlacement)
{
    QWidget form;
    form.setGeometry(40, 50, 300, 200);
    TFormStoragePropertyInterceptor stored(&form);
    EXPECT_EQ(stored.Left(), 40);
    EXPECT_EQ(stored.Width(), 300);
    EXPECT_EQ(stored.PixelsPerInch(), 96);
    EXPECT_FALSE(stored.PosPresent());

    // Read back from a store written at 120 dpi: scaled to the screen's 96.
    TFormStoragePropertyInterceptor read(&form);
    read.SetPixelsPerInch(120);
    read.SetLeft(100);
    read.SetTop(50);
    read.SetWidth(500);
    read.SetHeight(250);
    EXPECT_TRUE(read.PosPresent());
    read.Readed();
    EXPECT_EQ(form.geometry(), QRect(80, 40, 400, 200));

    TFormStoragePropertyInterceptor notAForm(nullptr);
    EXPECT_EQ(notAForm.Left(), 0);
    notAForm.Readed();   // no target: nothing happens
}
