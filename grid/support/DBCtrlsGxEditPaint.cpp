// The data-aware edit's look: border, image, the mark of an empty required
// field, text alignment, height and text rectangle, the tooltip for cut-off
// text, the border activity, and the in-place mode under a host control.
#include "DBCtrlsGx.h"
#include "GxLibVCLGui.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QToolTip>
#include <cmath>

// ---------------------------------------------------------------------------
// TEditImageGx

void TEditImageGx::Assign(const TEditImageGx& Source)
{
    FImages = Source.FImages;
    FImageIndex = Source.FImageIndex;
    FVisible = Source.FVisible;
    FWidth = Source.FWidth;
    Changed();
}

void TEditImageGx::SetImages(TImageList* Value)
{
    if (Value == FImages)
        return;
    FImages = Value;
    Changed();
}

void TEditImageGx::SetImageIndex(int Value)
{
    if (Value == FImageIndex)
        return;
    FImageIndex = Value;
    if (FEditControl)
        FEditControl->Invalidate();
}

void TEditImageGx::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed();
}

void TEditImageGx::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed();
}

void TEditImageGx::SetUseImageHeight(bool Value)
{
    if (Value == FUseImageHeight)
        return;
    FUseImageHeight = Value;
    Changed();
}

void TEditImageGx::Changed()
{
    if (FEditControl)
        FEditControl->Perform(CM_CLOSEUPREQUESTGX);
}

// ---------------------------------------------------------------------------
// Geometry

int TCustomDBEditGx::BorderWidth() const
{
    if (!FBorderSingle)
        return 0;
    return FCtl3D && !FFlat ? 2 : 1;
}

TRect TCustomDBEditGx::InnerRect() const
{
    const int b = BorderWidth();
    return TRect(b, b, std::max(b, width() - b), std::max(b, height() - b));
}

void TCustomDBEditGx::CalcEditTextRect(TRect& Rect)
{
    Rect = InnerRect();
    const bool rtl = UseRightToLeftAlignment();
    if (rtl)
        Rect.Left += FButtonWidth;
    else
        Rect.Right -= FButtonWidth;
    if (FEditImage && FEditImage->Showing()) {
        if (rtl)
            Rect.Right -= FImageWidth;
        else
            Rect.Left += FImageWidth;
    }
    if (Rect.Right < Rect.Left)
        Rect.Right = Rect.Left;
}

void TCustomDBEditGx::UpdateTextRect()
{
    TRect r;
    CalcEditTextRect(r);
    FEditWindow->setGeometry(r.toQRect());
}

void TCustomDBEditGx::UpdateImageWidth()
{
    if (FEditImage->Showing())
        FImageWidth = (FEditImage->Width() > 0 ? FEditImage->Width() : FEditImage->Images()->Width()) + 4;
    else
        FImageWidth = 0;
}

void TCustomDBEditGx::UpdateHeight()
{
    int allowance = ((FCtl3D ? 8 : 6) - (FFlat ? 2 : 0)) * GetSystemMetrics(SM_CYBORDER);
    int content = QFontMetrics(font()).height();
    if (FEditImage && FEditImage->Images() && FEditImage->UseImageHeight() &&
        FEditImage->Images()->Height() > content)
        content = FEditImage->Images()->Height();
    if (FAutoSize && FBorderSingle)
        setFixedHeight(allowance + content);   // held: a height set later is kept to it
    else
        resize(width(), allowance + content);
}

void TCustomDBEditGx::UpdateHeightStyle()
{
    if (FAutoSize && FBorderSingle) {
        UpdateHeight();
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void TCustomDBEditGx::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    UpdateHeightStyle();
}

// What a recreated window of the class library would apply again: height,
// border activity, buttons, image, alignment, password echo and text rectangle.
void TCustomDBEditGx::RecreateWnd()
{
    if (!FEditButton || !FEditButtons || !FEditImage || !FMRUList)
        return;
    UpdateHeightStyle();
    UpdateBorderActive();
    LayoutEditButtons();
    UpdateEditButtonsState();
    UpdateImageWidth();
    UpdateImageIndex();
    ApplyWindowAlignment();
    ApplyPasswordChar();
    SyncWindowPalette();
    UpdateTextRect();
    Invalidate();
}

void TCustomDBEditGx::Resize()
{
    LayoutEditButtons();
    UpdateTextRect();
}

void TCustomDBEditGx::changeEvent(QEvent* e)
{
    TCustomControl::changeEvent(e);
    switch (e->type()) {
    case QEvent::FontChange:
        if (FAutoSize && FBorderSingle)
            UpdateHeight();
        UpdateTextRect();
        break;
    case QEvent::EnabledChange:
        UpdateEditButtonsState();
        SyncWindowPalette();
        break;
    case QEvent::LayoutDirectionChange:
        RecreateWnd();
        break;
    case QEvent::PaletteChange:
        // New system colours: the buttons are painted afresh.
        FlushButtonsBitmapCache();
        Invalidate();
        break;
    default:
        break;
    }
}

void TCustomDBEditGx::ApplyWindowAlignment()
{
    if (!FEditWindow)
        return;
    TAlignment a = Alignment();
    if (FFocused && !FWordWrap)
        a = taLeftJustify;
    Qt::Alignment qa = Qt::AlignVCenter;
    switch (a) {
    case taRightJustify: qa |= Qt::AlignRight; break;
    case taCenter: qa |= Qt::AlignHCenter; break;
    default: qa |= Qt::AlignLeft; break;
    }
    FEditWindow->setAlignment(qa);
    Invalidate();
}

void TCustomDBEditGx::SyncWindowPalette()
{
    QPalette pal = FEditWindow->palette();
    const QColor back = ToQColor(Color());
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Text, ToQColor(Font()->Color()));
    pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
    pal.setColor(QPalette::Disabled, QPalette::Base, back);
    FEditWindow->setPalette(pal);
    FWindowColor = Color();
}

// ---------------------------------------------------------------------------
// Look setters

void TCustomDBEditGx::SetAlwaysShowBorder(bool Value)
{
    FAlwaysShowBorder = Value;
    UpdateBorderActive();
}

void TCustomDBEditGx::SetBorderStyleSingle(bool Value)
{
    if (Value == FBorderSingle)
        return;
    FBorderSingle = Value;
    RecreateWnd();
}

void TCustomDBEditGx::SetCtl3D(bool Value)
{
    if (Value == FCtl3D)
        return;
    FCtl3D = Value;
    RecreateWnd();
}

void TCustomDBEditGx::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    RecreateWnd();
}

void TCustomDBEditGx::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    RecreateWnd();
}

void TCustomDBEditGx::SetPasswordChar(QChar Value)
{
    if (Value == FPasswordChar)
        return;
    FPasswordChar = Value;
    RecreateWnd();
}

namespace {

// The edit window's style with the editor's password character.
class TPasswordStyleGx : public QProxyStyle {
public:
    explicit TPasswordStyleGx(QChar ch) : FChar(ch) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return FChar.unicode();
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    QChar FChar;
};

} // namespace

void TCustomDBEditGx::ApplyPasswordChar()
{
    if (FPasswordChar.isNull()) {
        FEditWindow->setEchoMode(QLineEdit::Normal);
        return;
    }
    auto* style = new TPasswordStyleGx(FPasswordChar);
    style->setParent(FEditWindow);
    QStyle* old = FEditWindow->style();
    FEditWindow->setStyle(style);
    if (old && old->parent() == FEditWindow)
        delete old;
    FEditWindow->setEchoMode(QLineEdit::Password);
}

void TCustomDBEditGx::SetHighlightRequired(bool Value)
{
    if (Value == FHighlightRequired)
        return;
    FHighlightRequired = Value;
    Invalidate();
    FEditWindow->update();
}

void TCustomDBEditGx::SetShowHint(bool Value)
{
    FShowHint = Value;
    UpdateShowHint();
}

void TCustomDBEditGx::SetTooltips(bool Value)
{
    FTooltips = Value;
    UpdateShowHint();
}

void TCustomDBEditGx::UpdateShowHint() { TCustomControl::SetShowHint(FTooltips || FShowHint); }

void TCustomDBEditGx::SetOnGetImageIndex(const TGetImageIndexEventGx& Value)
{
    OnGetImageIndex = Value;
    UpdateImageIndex();
}

void TCustomDBEditGx::SetImages(TImageList* Value)
{
    FEditImage->SetImages(Value);
    FEditImage->SetVisible(true);
}

void TCustomDBEditGx::UpdateImageIndex()
{
    if (!FEditImage || !FEditImage->Showing())
        return;
    int index = GetImageIndexByValue();
    const Variant v = Value();
    if (v.Type() == VarType::Integer || v.Type() == VarType::Double || v.Type() == VarType::Currency)
        index = int(std::lround(v.ToDouble()));
    if (OnGetImageIndex)
        OnGetImageIndex(this, index);
    FEditImage->SetImageIndex(index);
}

// ---------------------------------------------------------------------------
// Border activity, mouse and cursor

void TCustomDBEditGx::UpdateBorderActive()
{
    const bool active = Designing() || Focused() || FMouseAboveControl || FAlwaysShowBorder;
    if (active == FBorderActive || Loading())
        return;
    FBorderActive = active;
    UpdateEditButtonsState();
    Invalidate();
}

void TCustomDBEditGx::MouseEnter()
{
    FMouseAboveControl = true;
    UpdateBorderActive();
}

void TCustomDBEditGx::MouseLeave()
{
    FMouseAboveControl = false;
    UpdateBorderActive();
}

TCursor TCustomDBEditGx::CursorAt(int X, int Y)
{
    TRect text;
    CalcEditTextRect(text);
    const TRect inner = InnerRect();
    if (PtInRect(inner, TPoint(X, Y)) && !PtInRect(text, TPoint(X, Y)))
        return crArrow;
    return TCustomControl::CursorAt(X, Y);
}

bool TCustomDBEditGx::EditWindowMouseAllowed(QMouseEvent*) { return true; }

bool TCustomDBEditGx::IsInplaceDoubleClick(QMouseEvent* e)
{
    if (!FInplaceMode || !FIntfInplaceEditHolder || e->type() != QEvent::MouseButtonPress ||
        e->button() != Qt::LeftButton)
        return false;
    TPoint pos;
    int time = 0;
    FIntfInplaceEditHolder->GetMouseDownInfo(pos, time);
    const QPoint g = e->globalPosition().toPoint();
    return time != 0 && IsWithinDoubleClick(pos, TPoint(g.x(), g.y()), int(e->timestamp()) - time);
}

void TCustomDBEditGx::EditWindowMouse(QMouseEvent* e)
{
    const QPoint p = FEditWindow->mapTo(this, e->position().toPoint());
    const TShiftState shift = ShiftStateFromQt(e->modifiers(), e->buttons());
    const TMouseButton b = e->button() == Qt::RightButton    ? mbRight
                           : e->button() == Qt::MiddleButton ? mbMiddle
                                                             : mbLeft;
    QPointer<TCustomDBEditGx> self(this);
    Application->Guard([&] {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
            MouseDown(b, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonDblClick:
            if (b == mbLeft)
                DblClick();
            if (self)
                MouseDown(b, shift + TShiftState(ssDouble), p.x(), p.y());
            break;
        case QEvent::MouseButtonRelease:
            if (b == mbLeft && PtInRect(ClientRect(), TPoint(p.x(), p.y())))
                Click();
            if (self)
                MouseUp(b, shift, p.x(), p.y());
            break;
        case QEvent::MouseMove:
            MouseMove(shift, p.x(), p.y());
            break;
        default:
            break;
        }
    });
}

// ---------------------------------------------------------------------------
// Painting

void TCustomDBEditGx::Paint() { PaintEditor(Canvas()); }

void TCustomDBEditGx::PaintEditor(TCanvas* c)
{
    if (FWindowColor != Color())
        SyncWindowPalette();
    const TRect bounds(0, 0, width(), height());
    c->FillRect(bounds, Color());
    if (FBorderSingle) {
        if (FCtl3D && !FFlat) {
            DrawEdge(c, bounds, EDGE_SUNKEN, BF_RECT);
        } else {
            c->Brush()->SetColor(!FFlat ? TColor(clWindowFrame) : FBorderActive ? TColor(clBtnShadow) : TColor(clBtnFace));
            c->FrameRect(bounds);
        }
    }
    // The image, centred in its column.
    if (FEditImage->Showing() && FEditImage->ImageIndex() >= 0 && FImageWidth > 0) {
        const TRect inner = InnerRect();
        TRect r = inner;
        if (UseRightToLeftAlignment())
            r.Left = r.Right - FImageWidth;
        else
            r.Right = r.Left + FImageWidth;
        InflateRect(r, -2, -1);
        TImageList* images = FEditImage->Images();
        const int x = r.Left + (r.Width() - images->Width()) / 2;
        const int y = r.Top + (r.Height() - images->Height()) / 2;
        images->Draw(c, x, y, FEditImage->ImageIndex(), isEnabled());
    }
    CheckDrawRequiredState(c);
}

void TCustomDBEditGx::EditWindowPainted(QPainter* Painter)
{
    // The mark lies on the edit window: it is drawn over the window's own text.
    Painter->translate(-FEditWindow->x(), -FEditWindow->y());
    TCanvas canvas(Painter);
    CheckDrawRequiredState(&canvas);
    canvas.Release();
}

void TCustomDBEditGx::CheckDrawRequiredState(TCanvas* Canvas)
{
    bool draw = false;
    if (FHighlightRequired && FDataLink->Active()) {
        if (IsDataIndependent()) {
            draw = FDataLink->DataIndependentValue.IsNull() || EditText().isEmpty();
        } else if (TField* f = Field()) {
            const TDataSet* ds = FDataLink->DataSet();
            draw = ds && (ds->State() == dsEdit || ds->State() == dsInsert) && f->Required() && f->IsNull();
        }
    }
    if (OnCheckDrawRequiredState)
        OnCheckDrawRequiredState(this, draw);
    if (!draw)
        return;
    TRect text;
    CalcEditTextRect(text);
    const int y = InnerRect().Bottom - 1;
    Canvas->Pen()->SetColor(TColor(255));
    Canvas->Pen()->SetStyle(psDot);
    Canvas->Pen()->SetWidth(1);
    Canvas->MoveTo(text.Left + 2, y);
    Canvas->LineTo(text.Right - 3, y);
    Canvas->Pen()->SetStyle(psSolid);
}

// ---------------------------------------------------------------------------
// Tooltips

bool TCustomDBEditGx::TextFits()
{
    TRect r;
    CalcEditTextRect(r);
    const QFontMetrics fm(font());
    const QString t = Text();
    if (FWordWrap) {
        const QRect need = fm.boundingRect(QRect(0, 0, std::max(1, r.Width() - 2), 100000), Qt::TextWordWrap, t);
        return need.width() <= r.Width() - 2 && need.height() <= r.Height();
    }
    return fm.horizontalAdvance(t) <= r.Width() - 2 && fm.height() <= r.Height();
}

bool TCustomDBEditGx::HintAt(const TPoint& p, QString& text, TRect& area)
{
    // A password editor never shows its text in a tooltip.
    if (FTooltips && FPasswordChar.isNull() && !TextFits()) {
        text = Text();
        area = ClientRect();
        return true;
    }
    if (!FShowHint)
        return false;
    return TCustomControl::HintAt(p, text, area);
}

void TCustomDBEditGx::ShowHintFor(const QPoint& Pos, const QPoint& GlobalPos)
{
    QString text;
    TRect area;
    bool cutOff = false;
    bool ok = false;
    Application->Guard([&] {
        ok = HintAt(TPoint(Pos.x(), Pos.y()), text, area);
        cutOff = ok && FTooltips && FPasswordChar.isNull() && text == Text() && !TextFits();
    });
    if (!ok || text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    if (!cutOff) {
        QToolTip::showText(GlobalPos, text, this, area.toQRect());
        return;
    }
    // Cut-off text shows at the editor's bottom-left corner, in the editor's font.
    const QFont f = font();
    const QString styled = QStringLiteral("<span style=\"font-family:'%1'; font-size:%2pt; white-space:pre\">%3</span>")
                               .arg(f.family())
                               .arg(f.pointSizeF())
                               .arg(text.toHtmlEscaped());
    QToolTip::showText(mapToGlobal(QPoint(0, height())), styled, this, area.toQRect());
}

bool TCustomDBEditGx::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* h = static_cast<QHelpEvent*>(e);
        ShowHintFor(h->pos(), h->globalPos());
        return true;
    }
    return TCustomControl::event(e);
}

// ---------------------------------------------------------------------------
// In-place mode

void TCustomDBEditGx::SetInplaceEditHolder(QWidget* Holder)
{
    if (Holder == FInplaceEditHolder.data() && (Holder != nullptr) == FInplaceMode)
        return;
    if (!Holder) {
        FInplaceEditHolder = nullptr;
        FIntfInplaceEditHolder = nullptr;
        FInplaceMode = false;
        UpdateReadOnly();
        return;
    }
    auto* intf = dynamic_cast<IInplaceEditHolderGx*>(Holder);
    if (!intf)
        throw Exception(QStringLiteral("InplaceEditHolder have to support IInplaceEditHolderGx interface"));
    FInplaceEditHolder = Holder;
    FIntfInplaceEditHolder = intf;
    FInplaceMode = true;
    UpdateReadOnly();
}

void TCustomDBEditGx::Move(const TRect& Rect) { InplaceMove(Rect, true); }

void TCustomDBEditGx::UpdateLoc(const TRect& Rect) { InplaceMove(Rect, false); }

// In place: closes an open MRU list (cancel mode from the host), shows the
// editor at the rectangle and gives it the focus when the host has it.
void TCustomDBEditGx::InplaceMove(const TRect& Rect, bool Repaint)
{
    if (!FInplaceMode) {
        setGeometry(Rect.toQRect());
        return;
    }
    if (Rect.IsEmpty()) {
        Hide();
        return;
    }
    Perform(CM_CANCELMODE, 0, LPARAM(static_cast<QWidget*>(FInplaceEditHolder.data())));
    const bool wasHidden = !isVisible();
    setGeometry(Rect.toQRect());
    show();
    if (Repaint || wasHidden)
        Invalidate();
    if (FInplaceEditHolder && FInplaceEditHolder->hasFocus())
        FEditWindow->setFocus(Qt::OtherFocusReason);
}

void TCustomDBEditGx::Hide()
{
    if (!FInplaceMode) {
        setVisible(false);
        return;
    }
    if (!isVisible())
        return;
    const bool hadFocus = hasFocus();
    Invalidate();
    setVisible(false);
    setGeometry(0, 0, 0, 0);
    if (hadFocus && FInplaceEditHolder)
        FInplaceEditHolder->setFocus(Qt::OtherFocusReason);
}

bool TCustomDBEditGx::GetVisible() const { return isVisible() || (!FInplaceMode && !isHidden()); }

void TCustomDBEditGx::SetVisible(bool Value)
{
    if (FInplaceMode && !Value)
        Hide();
    else
        setVisible(Value);
}
