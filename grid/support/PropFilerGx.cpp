#include "PropFilerGx.h"
#include "platform/gui/Graphics.h"
#include <QList>
#include <QPair>

namespace {
// Filled on first use with the form interceptor, as the unit's start-up does.
QList<QPair<const QMetaObject*, TStoragePropertyInterceptorClass>>& Registry()
{
    static QList<QPair<const QMetaObject*, TStoragePropertyInterceptorClass>> pairs{
        {&QWidget::staticMetaObject, &CreateInterceptorGx<TFormStoragePropertyInterceptor>}};
    return pairs;
}
} // namespace

void RegisterClassPropertyInterceptor(const QMetaObject* componentClass, TStoragePropertyInterceptorClass interceptorClass)
{
    const auto pairs = Registry();
    for (const auto& p : pairs)
        if (p.first == componentClass)
            UnregisterClassPropertyInterceptor(componentClass, p.second);
    Registry().append({componentClass, interceptorClass});
}

void UnregisterClassPropertyInterceptor(const QMetaObject* componentClass, TStoragePropertyInterceptorClass interceptorClass)
{
    Registry().removeIf([&](const auto& p) { return p.first == componentClass && p.second == interceptorClass; });
}

TStoragePropertyInterceptorClass FindClassPropertyInterceptor(const QMetaObject* componentClass)
{
    for (const auto& p : std::as_const(Registry()))
        if (p.first == componentClass)
            return p.second;
    return nullptr;
}

int ClassPropertyInterceptorCount()
{
    return int(Registry().size());
}

void InitPropFilerGx()
{
    RegisterClassPropertyInterceptor(&QWidget::staticMetaObject, &CreateInterceptorGx<TFormStoragePropertyInterceptor>);
}

// ---------------------------------------------------------------------------

QRect TFormStoragePropertyInterceptor::NormalPlacement(const QWidget* form)
{
    if (form->windowState() != Qt::WindowNoState && form->windowHandle() && !form->normalGeometry().isNull())
        return form->normalGeometry();
    return form->geometry();
}

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(QObject* target) : TStoragePropertyInterceptor(target)
{
    if (QWidget* form = Form()) {
        const QRect r = NormalPlacement(form);
        FLeft = r.x();
        FTop = r.y();
        FWidth = r.width();
        FHeight = r.height();
        FPixelsPerInch = ScreenPixelsPerInch;
        FWindowState = form->windowState();
        FActiveControl = form->focusWidget();
    }
}

QWidget* TFormStoragePropertyInterceptor::Form() const
{
    auto* w = qobject_cast<QWidget*>(FTarget.data());
    return w && w->isWindow() ? w : nullptr;
}

int TFormStoragePropertyInterceptor::Left() const { const QWidget* f = Form(); return f ? NormalPlacement(f).x() : 0; }
int TFormStoragePropertyInterceptor::Top() const { const QWidget* f = Form(); return f ? NormalPlacement(f).y() : 0; }
int TFormStoragePropertyInterceptor::Width() const { const QWidget* f = Form(); return f ? NormalPlacement(f).width() : 0; }
int TFormStoragePropertyInterceptor::Height() const { const QWidget* f = Form(); return f ? NormalPlacement(f).height() : 0; }

void TFormStoragePropertyInterceptor::Readed()
{
    if (FPixelsPerInch > 0) {
        FHeight = MulDiv(FHeight, ScreenPixelsPerInch, FPixelsPerInch);
        FLeft = MulDiv(FLeft, ScreenPixelsPerInch, FPixelsPerInch);
        FTop = MulDiv(FTop, ScreenPixelsPerInch, FPixelsPerInch);
        FWidth = MulDiv(FWidth, ScreenPixelsPerInch, FPixelsPerInch);
    }
    QWidget* form = Form();
    if (!form)
        return;
    // The active control becomes the one that gets the focus when the form is
    // activated; the focus itself does not move now.
    if (FActiveControl && form->isAncestorOf(FActiveControl))
        form->setProperty("activeControl", QVariant::fromValue<QObject*>(FActiveControl.data()));
    // In another state the rectangle becomes the normal placement: set it while
    // the form is normal, then give the form its state.
    form->setWindowState(Qt::WindowNoState);
    form->setGeometry(QRect(FLeft, FTop, FWidth, FHeight));
    form->setWindowState(FWindowState);
}
