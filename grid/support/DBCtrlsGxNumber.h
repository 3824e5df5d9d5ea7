#pragma once
// Value rules of the number editor: text normalisation, display and edit formats, thousands
// grouping while typing, range limiting with rounding, the per-key character check and
// stepping. The editor control applies them to its text and value.
#include "FormatSettings.h"
#include <QChar>
#include <QString>
#include <optional>

using TNumberValueGx = std::optional<double>;   // no value = Null

struct TNumberEditRulesGx {
    QString DisplayFormat;
    bool Currency = false;
    unsigned DecimalPlaces = 2;
    double Increment = 1;
    double MinValue = 0;
    double MaxValue = 0;
    QChar DecimalSeparator = FormatSettings::DecimalSeparator;
    QChar ThousandSeparator = FormatSettings::ThousandSeparator;

    // Blanks trimmed, thousands separators removed, '.' and ',' read as the decimal separator.
    QString Normalize(const QString& Text) const;
    // The normalised text as a number; a lone sign is 0. Nothing when it is no number.
    TNumberValueGx Parse(const QString& Text) const;
    // Parse that raises EConvertError.
    double ToFloat(const QString& Text) const;
    // The text shown while unfocused; empty for Null.
    QString DisplayText(const TNumberValueGx& Value) const;
    // The format used while focused, derived from the display format (or the currency flag).
    QString EditFormat() const;
    // The value written with the edit format, its integer part grouped.
    QString EditText(double Value) const;
    // Regroups the integer part with the thousands separator when the edit format groups.
    QString Group(const QString& Text) const;
    // Clamps to the range the bounds give and rounds to DecimalPlaces (ties to even).
    double Limit(double Value) const;
    // Whether Key may replace the selection [SelStart, SelStart + SelLength) of Text.
    bool IsValidChar(const QString& Text, int SelStart, int SelLength, QChar Key) const;
    // The value after one step up or down; a Null value steps to the increment itself.
    // Nothing when the increment is 0.
    TNumberValueGx Step(const TNumberValueGx& Value, bool Increase) const;
    // The value a text typed by the user stands for (Null for an empty text).
    TNumberValueGx TypedValue(const QString& Text) const;
};
