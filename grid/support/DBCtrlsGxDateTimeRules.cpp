#include "DBCtrlsGxDateTimeRules.h"
#include "DateTime.h"
#include "Exceptions.h"

using namespace DBCtrlsGx;

namespace {

// Unmasked texts: the platform's conversion; an empty text is Null.
Variant ConvertText(const QString& text)
{
    if (text.trimmed().isEmpty())
        return Variant::Null();
    return Variant(StrToDateTime(text));
}

} // namespace

void TDateTimeEditRulesGx::UpdateMask()
{
    QString format = EditFormat;
    switch (Kind) {
    case dtkDateGx: format = DefaultDateEditFormat(FourDigitYear); break;
    case dtkTimeGx: format = DefaultTimeEditFormat(); break;
    case dtkDateTimeGx: format = DefaultDateEditFormat(FourDigitYear) + u' ' + DefaultTimeEditFormat(); break;
    case dtkCustomGx: break;
    }
    TDateTimeElementsMaskPosGx maskPos;
    QString mask;
    if (!format.isEmpty())
        ParseDateTimeEditFormat(format, maskPos, mask);   // raises before anything changes
    EditFormat = format;
    MaskPos = maskPos;
    EditMask = mask;
    DisplayFormat = format.isEmpty() ? QString() : EditFormatToDisplayFormat(format);
    StepLine = format.isEmpty() ? QString() : EditFormatToStepLine(format);
}

void TDateTimeEditRulesGx::SetEditFormat(const QString& Value)
{
    TDateTimeEditRulesGx next = *this;
    next.Kind = dtkCustomGx;
    next.EditFormat = Value;
    next.UpdateMask();
    *this = next;
}

bool TDateTimeEditRulesGx::UpdateFourDigitYear(const QString& ShortDateFormat)
{
    const bool four = ShortDateFormat.toUpper().contains(QLatin1String("YYY"));
    if (four == FourDigitYear)
        return false;
    FourDigitYear = four;
    UpdateMask();
    return true;
}

QString TDateTimeEditRulesGx::TextOf(const Variant& Value) const
{
    if (Value.IsEmptyOrNull())
        return QString();
    const TDateTime dt = Value.ToDateTime();
    return Masked() ? FormatDateTime(DisplayFormat, dt) : DateTimeToStr(dt);
}

Variant TDateTimeEditRulesGx::TypedValue(const QString& Text, const Variant& Current) const
{
    if (!Masked()) {
        TDateTime dt;
        return TryStrToDateTime(Text, dt) ? Variant(dt) : Variant::Null();
    }
    TDateTimeElementsGx e;
    ParseDateTimeElements(Text, MaskPos, e);
    Variant v = Current;
    if (!BuildDateTimeValue(e, MaskPos, v, false))
        return Variant::Null();
    return v;
}

Variant TDateTimeEditRulesGx::ParseText(const QString& Text, const Variant& Current) const
{
    if (!Masked())
        return ConvertText(Text);
    TDateTimeElementsGx e;
    ParseDateTimeElements(Text, MaskPos, e);
    Variant v = Current;
    if (!BuildDateTimeValue(e, MaskPos, v, false))
        throw Exception(QStringLiteral("Invalid datetime: \"") + Text + u'"');
    return v;
}

Variant TDateTimeEditRulesGx::Validate(const QString& Text, const Variant& Current) const
{
    if (!Masked())
        return TypedValue(Text, Current);
    TDateTimeElementsGx e;
    ParseDateTimeElements(Text, MaskPos, e);
    Variant v = Current;
    BuildDateTimeValue(e, MaskPos, v, true);
    return v;
}

Variant TDateTimeEditRulesGx::PostValue(const Variant& Value, const QString& Text, const Variant& FieldValue) const
{
    if (!Masked())
        return ConvertText(Text);
    if (Value.IsEmptyOrNull())
        return Variant::Null();
    Variant v = FieldValue;
    BuildDateTimeValue(DateTimeToElements(Value), MaskPos, v, true);
    return v;
}

Variant TDateTimeEditRulesGx::CalendarValue(TDateTime CalendarDate, const Variant& Current) const
{
    TDateTime picked = DateOf(CalendarDate);
    if (!Current.IsEmptyOrNull())
        ReplaceDatePart(picked, Current.ToDateTime());
    Variant v = Current;
    BuildDateTimeValue(DateTimeToElements(Variant(picked)), MaskPos, v, true);
    return v;
}

bool TDateTimeEditRulesGx::Step(const QString& Text, int Caret, bool Increase, QString& NewText, int& SelStart,
                                int& SelLength) const
{
    int pos = Caret + 1;
    int len = 0;
    if (!StepDateTimeElement(Text, StepLine, Increase, NewText, len, pos))
        return false;
    SelStart = pos - 1;
    SelLength = len;
    return true;
}

bool TDateTimeEditRulesGx::MRUItemMatches(const QString& Text, const QString& Item)
{
    QString t = Text;
    while (!t.isEmpty() && (t.back() == u' ' || t.back() == FormatSettings::DateSeparator))
        t.chop(1);
    return Item.startsWith(t, Qt::CaseInsensitive);
}
