#pragma once
// Interfaces between the data-aware editors and their drop-down popups.
#include "Variant.h"

// Implemented by every editor that owns a drop-down: the popup closes itself through it,
// with or without accepting its value.
class IPopupOwnerGx {
public:
    virtual ~IPopupOwnerGx() = default;
    virtual void CloseUp(bool Accept) = 0;
};

// Value exchange between an editor and a drop-down value popup.
class IPopupValueGx {
public:
    virtual ~IPopupValueGx() = default;
    virtual bool IsValueReady() const = 0;
    virtual bool GetFlat() const = 0;
    virtual Variant GetValue() const = 0;
    virtual void SetFlat(bool Value) = 0;
    virtual void SetValue(const Variant& Value) = 0;
};

// The close-up request a popup posts to itself when it loses the focus.
constexpr unsigned CM_CLOSEUPREQUESTGX = 0x0465;
