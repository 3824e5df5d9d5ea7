#pragma once
// Painting of the grid library's small buttons (drop-down, ellipsis, up-down,
// plus, minus, check box and the alternative arrows) and the process-wide cache
// of painted faces: a grid repaints hundreds of identical buttons, so each
// distinct face is painted once and copied afterwards.
#include "platform/gui/Canvas.h"
#include "platform/gui/CheckBox.h"
#include <QList>
#include <memory>

enum TDrawButtonControlStyleGx {
    bcsDropDownGx, bcsEllipsisGx, bcsUpDownGx, bcsCheckboxGx, bcsPlusGx, bcsMinusGx,
    bcsAltDropDownGx, bcsAltUpDownGx
};

enum TEditButtonStyleGx {
    ebsDropDownGx, ebsEllipsisGx, ebsGlyphGx, ebsUpDownGx, ebsPlusGx, ebsMinusGx,
    ebsAltDropDownGx, ebsAltUpDownGx
};

extern const TDrawButtonControlStyleGx EditButtonDrawStyles[8];

struct TButtonBitmapInfoGx {
    TSize Size;
    TDrawButtonControlStyleGx BitmapType = bcsDropDownGx;
    bool Flat = false;
    bool Pressed = false;
    bool Active = false;
    bool Enabled = true;
    bool DownDirect = false;      // the lower half of an up-down pair
    TCheckBoxState CheckState = cbUnchecked;
    bool operator==(const TButtonBitmapInfoGx&) const = default;
};

struct TButtonBitmapInfoBitmapGx {
    TButtonBitmapInfoGx BitmapInfo;
    std::unique_ptr<TBitmap> Bitmap;
};

class TButtonsBitmapCache {
public:
    TButtonsBitmapCache();
    ~TButtonsBitmapCache();
    // The face for a key, painted on first request; entries are never evicted.
    TBitmap* GetButtonBitmap(const TButtonBitmapInfoGx& info);
    void Clear();
    int Count() const { return int(FList.size()); }
private:
    QList<TButtonBitmapInfoBitmapGx*> FList;
};

// The process-wide cache and whether painting goes through it.
TButtonsBitmapCache* ButtonsBitmapCache();
extern bool ButtonsBitmapCacheEnabled;
// Forgets every cached face (the system colours changed).
void FlushButtonsBitmapCache();

// Down button: 0 none, 1 the single or upper button, 2 the lower button.
void DrawEditButtonFace(TCanvas* canvas, const TRect& rect, TColor parentColor,
                        TDrawButtonControlStyleGx style, int downButton, bool flat, bool active,
                        bool enabled, TCheckBoxState checkState = cbUnchecked);

// Width of flat edit buttons: two thirds of the screen font's text height, even
// with themes and odd without, at most a vertical scroll bar's width.
int CalcFlatEditButtonWidth();
int CalcFlatEditButtonWidthFor(int textHeight, bool themed, int scrollBarWidth);
extern int FlatEditButtonWidth;
int GetDefaultFlatButtonWidth();
// Height of an edit button of a width: width × 3 / 2 when flat, else the width.
int CalcEditButtonHeight(int width, bool flat);
int DefaultEditButtonHeight(int buttonWidth, bool flat);

// Sets up the unit's process-wide state (flat width, cache, check-box size); the
// first use calls it, and so may the program at start-up.
void InitToolCtrlsGx();
