// The move-line and drag-box popups shared by every grid of the process.
#include "GridsGx.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>

namespace {

QPointer<TGridDragBoxGx> gDragBox;
QPointer<TGridMoveLineGx> gMoveLine;

void FreeDragWindows()
{
    delete gDragBox.data();
    delete gMoveLine.data();
}

void RegisterCleanup()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    qAddPostRoutine(FreeDragWindows);
}

} // namespace

TGridDragWinGx::TGridDragWinGx(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(0, 0);
    hide();
}

bool TGridDragWinGx::LayeredWindowsAvailable()
{
    const QString p = QGuiApplication::platformName();
    return p != QLatin1String("offscreen") && p != QLatin1String("minimal") && p != QLatin1String("vnc");
}

void TGridDragWinGx::SetAlphaBlendValue(int Value)
{
    FAlphaBlendValue = std::clamp(Value, 0, 255);
    ApplyLayeredAttributes();
}

void TGridDragWinGx::SetTransparentColorValue(TColor Value)
{
    FTransparentColorValue = Value;
    ApplyLayeredAttributes();
}

void TGridDragWinGx::SetColor(TColor Value)
{
    FColor = Value;
    update();
}

void TGridDragWinGx::ApplyLayeredAttributes()
{
    if (!LayeredWindowsAvailable()) return;
    if (FAlphaBlendValue != 255 || FTransparentColorValue != 0) {
        setWindowOpacity(FAlphaBlendValue / 255.0);
        setAttribute(Qt::WA_TranslucentBackground, FTransparentColorValue != 0);
    } else {
        setWindowOpacity(1.0);
        setAttribute(Qt::WA_TranslucentBackground, false);
    }
    update();
}

void TGridDragWinGx::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // With a colour key the window's own colour is see-through where the platform layers windows.
    if (testAttribute(Qt::WA_TranslucentBackground) && ColorToRGB(FColor) == ColorToRGB(FTransparentColorValue)) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(rect(), Qt::transparent);
        return;
    }
    p.fillRect(rect(), ToQColor(FColor));
}

void TGridDragWinGx::StartShow(QWidget* Control, const TPoint& Pos, int Width, int Height)
{
    const QPoint g = Control->mapToGlobal(Pos.toQPoint());
    setGeometry(g.x(), g.y(), Width, Height);
    ApplyLayeredAttributes();
    show();
    if (LayeredWindowsAvailable()) raise();
}

void TGridDragWinGx::MoveToFor(QWidget* Control, const TPoint& NewPos)
{
    move(Control->mapToGlobal(NewPos.toQPoint()));
}

void TGridDragWinGx::MoveToFor(QWidget* Control, const TPoint& NewPos, int NewWidth, int NewHeight)
{
    const QPoint g = Control->mapToGlobal(NewPos.toQPoint());
    setGeometry(g.x(), g.y(), NewWidth, NewHeight);
}

void TGridDragWinGx::TemporaryHide()
{
    setGeometry(x(), y(), 0, 0);
}

// ---- move line ----------------------------------------------------------------------------

TGridMoveLineGx::TGridMoveLineGx(QWidget* parent) : TGridDragWinGx(parent)
{
    FColor = clWhite;
    FAlphaBlendValue = 255;
    FTransparentColorValue = clWhite;
    struct Def {
        const char* name;
        TRect bounds;  // left, top, width, height
        bool right, bottom, growW, growH, vert;
    };
    static const Def defs[] = {
        {"sHigh7", {0, 0, 7, 1}, false, false, false, false, true},
        {"sHigh5", {1, 1, 5, 1}, false, false, false, false, true},
        {"sHigh3", {2, 2, 3, 1}, false, false, false, false, true},
        {"sLine", {3, 3, 1, 1}, false, false, false, true, true},
        {"sLow3", {2, 4, 3, 1}, false, true, false, false, true},
        {"sLow5", {1, 5, 5, 1}, false, true, false, false, true},
        {"sLow7", {0, 6, 7, 1}, false, true, false, false, true},
        {"hLeft7", {0, 0, 1, 7}, false, false, false, false, false},
        {"hLeft5", {1, 1, 1, 5}, false, false, false, false, false},
        {"hLeft3", {2, 2, 1, 3}, false, false, false, false, false},
        {"hLine", {3, 3, 1, 1}, false, false, true, false, false},
        {"hRight3", {4, 2, 1, 3}, true, false, false, false, false},
        {"hRight5", {5, 1, 1, 5}, true, false, false, false, false},
        {"hRight7", {6, 0, 1, 7}, true, false, false, false, false},
    };
    for (const Def& d : defs) {
        auto* w = new QWidget(this);
        w->setObjectName(QString::fromLatin1(d.name));
        w->setAutoFillBackground(true);
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, QColor(255, 0, 0));
        w->setPalette(pal);
        FShapes.push_back({w, d.bounds, d.right, d.bottom, d.growW, d.growH, d.vert});
    }
    resize(7, 7);
    UpdateOrientationData();
}

QWidget* TGridMoveLineGx::Shape(const QString& Name) const
{
    for (const TShape& s : FShapes)
        if (s.W->objectName() == Name) return s.W;
    return nullptr;
}

void TGridMoveLineGx::resizeEvent(QResizeEvent* e)
{
    TGridDragWinGx::resizeEvent(e);
    const int dw = width() - 7, dh = height() - 7;
    for (const TShape& s : FShapes) {
        // Bounds hold left, top, width and height of the 7 x 7 design.
        int x = s.Bounds.Left, y = s.Bounds.Top, w = s.Bounds.Right, h = s.Bounds.Bottom;
        if (s.AnchorRight) x += dw;
        if (s.AnchorBottom) y += dh;
        if (s.GrowW) w = std::max(0, w + dw);
        if (s.GrowH) h = std::max(0, h + dh);
        s.W->setGeometry(x, y, w, h);
    }
}

void TGridMoveLineGx::UpdateOrientationData()
{
    for (const TShape& s : FShapes) s.W->setVisible(s.Vert == FIsVert);
}

void TGridMoveLineGx::StartShow(QWidget* Control, const TPoint& Pos, int Size, bool AIsVert)
{
    FIsVert = AIsVert;
    UpdateOrientationData();
    const TPoint p(Pos.X - 3, Pos.Y - 4);
    if (AIsVert)
        TGridDragWinGx::StartShow(Control, p, 7, Size + 8);
    else
        TGridDragWinGx::StartShow(Control, p, Size + 8, 7);
}

void TGridMoveLineGx::MoveToFor(QWidget* Control, const TPoint& NewPos)
{
    TGridDragWinGx::MoveToFor(Control, TPoint(NewPos.X - 3, NewPos.Y - 4));
}

TGridDragBoxGx* GridDragBox()
{
    if (!gDragBox) {
        RegisterCleanup();
        gDragBox = new TGridDragBoxGx();
    }
    return gDragBox;
}

TGridMoveLineGx* GridMoveLine()
{
    if (!gMoveLine) {
        RegisterCleanup();
        gMoveLine = new TGridMoveLineGx();
    }
    return gMoveLine;
}

bool GridMoveLineExists()
{
    return !gMoveLine.isNull();
}
