#pragma once
// Value rules of the date-time editor: the edit format chosen by the kind, turned into an
// edit mask with element positions, a display format and a step line; the value a text stands
// for while typing, when it is given from code, when it is validated (completed and clamped)
// and when it is written to the field; stepping the element under the caret; the date picked
// in the calendar with the time of day kept. The editor control applies them to its text.
#include "DateTimeEditFormatGx.h"
#include "FormatSettings.h"
#include "Variant.h"
#include <QString>

enum TDateTimeKindGx { dtkDateGx, dtkTimeGx, dtkDateTimeGx, dtkCustomGx };

struct TDateTimeEditRulesGx {
    TDateTimeKindGx Kind = dtkDateGx;
    QString EditFormat;          // empty: the editor is not masked
    QString DisplayFormat;       // derived from EditFormat
    QString EditMask;            // derived from EditFormat
    QString StepLine;            // derived from EditFormat
    DBCtrlsGx::TDateTimeElementsMaskPosGx MaskPos;
    bool FourDigitYear = true;

    bool Masked() const { return !EditFormat.isEmpty(); }

    // The edit format of the kind (a custom one stays), then the display format, the element
    // positions, the mask and the step line. A bad format raises and changes nothing.
    void UpdateMask();
    // Sets a custom format (the kind becomes custom) and updates the mask.
    void SetEditFormat(const QString& Value);
    // Whether the short date format writes the year with three letters or more; true when the
    // flag changed (the mask was updated then).
    bool UpdateFourDigitYear(const QString& ShortDateFormat = FormatSettings::ShortDateFormat);

    // The text shown for a value: the display format (unmasked: the default date/time text);
    // empty for Null.
    QString TextOf(const Variant& Value) const;
    // While typing: the text's elements over the current value without completion; Null when
    // they do not form a date/time. Unmasked: the text converted, Null when it is none.
    Variant TypedValue(const QString& Text, const Variant& Current) const;
    // A text given from code. Masked: raises "Invalid datetime: "<text>"" when its elements do
    // not form a date/time; unmasked: the conversion error. An empty text is Null.
    Variant ParseText(const QString& Text, const Variant& Current) const;
    // Validation: the text's elements over the current value, completed and clamped (year,
    // month or day missing: today's; day beyond the month: its last day; hour above 23: 23;
    // minute or second above 59: 59). Unmasked: the typed value.
    Variant Validate(const QString& Text, const Variant& Current) const;
    // What goes to the field: the value's elements over the field's value, completed, so the
    // field keeps what the format does not show (its time of day for a date). Null stays Null.
    // Unmasked: the text converted; an empty text is Null.
    Variant PostValue(const Variant& Value, const QString& Text, const Variant& FieldValue) const;
    // The calendar's date with the time of day of the current value, over the current value.
    Variant CalendarValue(TDateTime CalendarDate, const Variant& Current) const;
    // Steps the element under the caret (0-based); the new text and the stepped element's
    // selection. False when there is no element there.
    bool Step(const QString& Text, int Caret, bool Increase, QString& NewText, int& SelStart, int& SelLength) const;
    // An MRU item fits a text that, without trailing blanks and date separators, begins it
    // (ignoring case).
    static bool MRUItemMatches(const QString& Text, const QString& Item);
};
