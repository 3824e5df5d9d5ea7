#pragma once
// Storage of extra properties of a component through a go-between object: an
// interceptor class registered for a component class publishes the properties to
// store, reads them from the live component and applies them after loading.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>

class TStoragePropertyInterceptor;

// An interceptor class: its constructor taking the target.
using TStoragePropertyInterceptorClass = TStoragePropertyInterceptor* (*)(QObject* target);
template <class T> TStoragePropertyInterceptor* CreateInterceptorGx(QObject* target) { return new T(target); }

class TStoragePropertyInterceptor {
public:
    explicit TStoragePropertyInterceptor(QObject* target) : FTarget(target) {}
    virtual ~TStoragePropertyInterceptor() = default;
    QObject* Target() const { return FTarget; }
    virtual bool NeedIntercept() { return true; }
    virtual void Readed() {}
protected:
    QPointer<QObject> FTarget;
};

// A form's placement: position, size, window state, active control, resolution.
class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor {
public:
    explicit TFormStoragePropertyInterceptor(QObject* target);

    QWidget* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(QWidget* value) { FActiveControl = value; }
    int Left() const;
    void SetLeft(int value) { FLeft = value; FPosPresent = true; }
    int Top() const;
    void SetTop(int value) { FTop = value; FPosPresent = true; }
    int Width() const;
    void SetWidth(int value) { FWidth = value; }
    int Height() const;
    void SetHeight(int value) { FHeight = value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value) { FPixelsPerInch = value; }
    Qt::WindowStates WindowState() const { return FWindowState; }
    void SetWindowState(Qt::WindowStates value) { FWindowState = value; }
    bool PosPresent() const { return FPosPresent; }

    void Readed() override;

    // A form's placement when restored: its normal-position rectangle when it is
    // not in the normal state, else its geometry.
    static QRect NormalPlacement(const QWidget* form);

private:
    QWidget* Form() const;
    QPointer<QWidget> FActiveControl;
    int FHeight = 0;
    int FLeft = 0;
    int FPixelsPerInch = 96;
    bool FPosPresent = false;
    int FTop = 0;
    int FWidth = 0;
    Qt::WindowStates FWindowState = Qt::WindowNoState;
};

// A class has at most one interceptor; a second registration replaces the first.
void RegisterClassPropertyInterceptor(const QMetaObject* componentClass, TStoragePropertyInterceptorClass interceptorClass);
void UnregisterClassPropertyInterceptor(const QMetaObject* componentClass, TStoragePropertyInterceptorClass interceptorClass);
// The interceptor class registered for a component's class (nullptr when none).
TStoragePropertyInterceptorClass FindClassPropertyInterceptor(const QMetaObject* componentClass);
int ClassPropertyInterceptorCount();
// Registers the form interceptor (the unit's start-up).
void InitPropFilerGx();
