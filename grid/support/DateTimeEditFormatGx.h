#pragma once
// Date/time edit formats of the data-aware editors: a format such as
// "YYYY/MM/DD HH:NN:SS" turned into an edit mask with element positions, a
// display format and a step line; elements read out of a masked text, completed
// into a date/time value, and stepped up or down.
#include "Variant.h"
#include <QString>

// The routines live in the editors' unit namespace: the run-time layer has its own
// two-digit-year rule with another window.
namespace DBCtrlsGx {

struct TElementMaskPosGx {
    int Pos = -1;        // 1-based position of the element's first character in the edit text
    int Length = -1;
    bool Present = false;
};

struct TDateTimeElementsMaskPosGx {
    TElementMaskPosGx Year, Month, Day, Hour, Min, Sec;
};

struct TDateTimeElementsGx {
    int Year = -1, Month = -1, Day = -1, Hour = -1, Min = -1, Sec = -1;   // -1: absent or unreadable
};

// Years below 100 are placed in the window of 60 years before and 40 after the current year.
constexpr int TwoDigitYearWindowGx = 60;

QString DefaultDateEditFormat(bool fourDigitYear);
int ShortDateFormatOrder();                          // 0 month first, 1 day first, 2 year first
int ShortDateFormatOrder(const QString& shortDateFormat);
QString DefaultTimeEditFormat();

// Raises Exception on a bad format; nothing is returned then.
void ParseDateTimeEditFormat(const QString& editFormat, TDateTimeElementsMaskPosGx& maskPos, QString& mask);
QString EditFormatToDisplayFormat(const QString& editFormat);
QString EditFormatToStepLine(const QString& editFormat);

int DateTimeElementToInt(const QString& s);
bool ParseDateTimeElements(const QString& text, const TDateTimeElementsMaskPosGx& maskPos, TDateTimeElementsGx& elements);
bool BuildDateTimeValue(TDateTimeElementsGx elements, const TDateTimeElementsMaskPosGx& maskPos, Variant& value, bool fill);
TDateTimeElementsGx DateTimeToElements(const Variant& value);

// Steps the element under Pos; answers false (NewText = Text, Len = 0, Pos kept) when there is none.
bool StepDateTimeElement(const QString& text, const QString& stepLine, bool increase,
                         QString& newText, int& len, int& pos);
// The element of the default date edit format at Pos; Pos and Len are left alone when there is none.
bool DateTimeElementAtPos(const QString& text, int& pos, int& len, bool fourDigitYear);

void ReplaceDatePart(TDateTime& dateTime, TDateTime oldValue);
int ExpandTwoDigitYear(int year);
int DaysInMonth(int year, int month);

} // namespace DBCtrlsGx
