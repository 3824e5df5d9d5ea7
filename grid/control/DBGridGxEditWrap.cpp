// The data grid's in-place editor over a word-wrapped column: the text laid out
// over the lines of the cell, the caret moved between them with Up and Down,
// clicks and drags placed on the line under the mouse, Ctrl+Enter breaking the line.
#include "DBGridGxEdit.h"

#include "DBGridGx.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

void TDBGridInplaceEdit::LayoutWrappedText(QTextLayout& Layout)
{
    TRect r;
    GetEditTextRect(r);
    QString t = text();
    // Same length as the text, so that positions in the layout are positions in the text.
    for (QChar& c : t) {
        if (c == u'\n')
            c = QChar::LineSeparator;
        else if (c == u'\r')
            c = QChar(0x200B);
    }
    Layout.setText(t);
    Layout.setFont(font());
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Layout.setTextOption(option);
    Layout.setCacheEnabled(true);
    const qreal width = std::max(1, r.Right - r.Left);
    qreal y = 0;
    Layout.beginLayout();
    for (QTextLine line = Layout.createLine(); line.isValid(); line = Layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    Layout.endLayout();
}

int TDBGridInplaceEdit::WrappedLineOf(const QTextLayout& Layout, int Pos) const
{
    const int count = Layout.lineCount();
    if (count == 0)
        return -1;
    const int line = Layout.lineForTextPosition(Pos).lineNumber();
    // The end of the text belongs to the last line.
    return line < 0 ? count - 1 : line;
}

int TDBGridInplaceEdit::WrappedPosAt(const QPoint& Point)
{
    TRect r;
    GetEditTextRect(r);
    QTextLayout layout;
    LayoutWrappedText(layout);
    if (layout.lineCount() == 0)
        return 0;
    const qreal y = Point.y() - r.Top + FWrapScroll;
    int index = layout.lineCount() - 1;
    for (int i = 0; i < layout.lineCount(); ++i)
        if (y < layout.lineAt(i).y() + layout.lineAt(i).height()) {
            index = i;
            break;
        }
    return layout.lineAt(index).xToCursor(Point.x() - r.Left);
}

bool TDBGridInplaceEdit::CaretOnFirstWrappedLine()
{
    QTextLayout layout;
    LayoutWrappedText(layout);
    return WrappedLineOf(layout, cursorPosition()) <= 0;
}

bool TDBGridInplaceEdit::CaretOnLastWrappedLine()
{
    QTextLayout layout;
    LayoutWrappedText(layout);
    return WrappedLineOf(layout, cursorPosition()) >= layout.lineCount() - 1;
}

void TDBGridInplaceEdit::MoveWrappedLine(bool Down, bool Select)
{
    QTextLayout layout;
    LayoutWrappedText(layout);
    const int caret = cursorPosition();
    const int line = WrappedLineOf(layout, caret);
    const int target = line + (Down ? 1 : -1);
    if (line < 0 || target < 0 || target >= layout.lineCount())
        return;
    const qreal x = layout.lineAt(line).cursorToX(caret);
    const int pos = layout.lineAt(target).xToCursor(x);
    if (Select) {
        int anchor = caret;
        if (hasSelectedText())
            anchor = caret == selectionStart() ? selectionEnd() : selectionStart();
        setSelection(anchor, pos - anchor);
    } else {
        setCursorPosition(pos);
    }
    update();
}

bool TDBGridInplaceEdit::WrappedUpDown(WORD Key, TShiftState Shift)
{
    const bool down = Key == VK_DOWN;
    const bool whole = hasSelectedText() && selectionStart() == 0 && selectionLength() == text().size();
    // An editor that is always shown hands the key to the grid at the first or last line.
    if (FDBGrid->Options().Contains(dgAlwaysShowEditor) &&
        (whole || (down ? CaretOnLastWrappedLine() : CaretOnFirstWrappedLine())))
        return false;
    MoveWrappedLine(down, Shift.contains(ssShift));
    return true;
}

void TDBGridInplaceEdit::InsertLineBreak()
{
    if (!EditCanModify())
        return;
    insert(QStringLiteral("\n"));
    update();
}

void TDBGridInplaceEdit::PaintWrappedText(QPainter& Painter)
{
    TRect r;
    GetEditTextRect(r);
    Painter.fillRect(rect(), palette().color(QPalette::Base));
    QTextLayout layout;
    LayoutWrappedText(layout);
    // The caret's line stays in view.
    const int line = WrappedLineOf(layout, cursorPosition());
    const int height = r.Bottom - r.Top;
    if (line >= 0) {
        const QTextLine l = layout.lineAt(line);
        const int top = int(l.y()), bottom = int(std::ceil(l.y() + l.height()));
        if (top < FWrapScroll)
            FWrapScroll = top;
        else if (bottom - FWrapScroll > height)
            FWrapScroll = bottom - height;
    }
    QList<QTextLayout::FormatRange> selection;
    if (hasSelectedText()) {
        QTextLayout::FormatRange range;
        range.start = selectionStart();
        range.length = selectionLength();
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selection << range;
    }
    Painter.save();
    Painter.setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, height));
    Painter.setPen(palette().color(QPalette::Text));
    const QPointF origin(r.Left, r.Top - FWrapScroll);
    layout.draw(&Painter, origin, selection);
    if (hasFocus())
        layout.drawCursor(&Painter, origin, cursorPosition());
    Painter.restore();
}

void TDBGridInplaceEdit::mouseMoveEvent(QMouseEvent* e)
{
    if (FWordWrap && (e->buttons() & Qt::LeftButton) && FWrapAnchor >= 0) {
        const int pos = WrappedPosAt(e->position().toPoint());
        setSelection(FWrapAnchor, pos - FWrapAnchor);
        update();
        return;
    }
    TInplaceEdit::mouseMoveEvent(e);
}
