#pragma once
// Currency: a fixed-point number kept as a 64-bit integer times 10,000,
// exact to 4 decimals, as the class library's Currency type.
#include <QtGlobal>
#include <QString>
#include <compare>

class Currency {
public:
    static constexpr qint64 Scale = 10000;
    constexpr Currency() = default;
    static constexpr Currency FromRaw(qint64 raw) { Currency c; c.m_raw = raw; return c; }
    // Rounds to 4 decimals, ties to even, as the FPU's store into a Currency does.
    // Raises EOverflow outside the range.
    static Currency FromDouble(double v);
    static Currency FromInt(qint64 v);
    // Parses "123.4567", "-0.1"; raises EConvertError on bad text.
    static Currency FromString(const QString& s);

    constexpr qint64 Raw() const { return m_raw; }
    double ToDouble() const { return double(m_raw) / Scale; }
    // Shortest text: "0.3", "12", "-1.0001".
    QString ToString() const;

    Currency operator+(Currency o) const;   // raise EOverflow on overflow
    Currency operator-(Currency o) const;
    Currency operator-() const;
    Currency operator*(Currency o) const;   // rounds the product to 4 decimals
    Currency operator/(Currency o) const;   // raises EZeroDivide
    Currency& operator+=(Currency o) { return *this = *this + o; }
    Currency& operator-=(Currency o) { return *this = *this - o; }
    constexpr auto operator<=>(const Currency&) const = default;
    constexpr bool operator==(const Currency&) const = default;
private:
    qint64 m_raw = 0;
};
