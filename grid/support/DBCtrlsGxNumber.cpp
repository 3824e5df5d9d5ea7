#include "DBCtrlsGxNumber.h"
#include "Exceptions.h"
#include "Format.h"
#include <cfenv>
#include <cmath>

namespace {
const int kCurrencyDecimals = 2;

bool IsLoneSign(const QString& s)
{
    return s == QLatin1String("+") || s == QLatin1String("-");
}
} // namespace

QString TNumberEditRulesGx::Normalize(const QString& Text) const
{
    int b = 0, e = Text.size();
    while (b < e && Text[b].unicode() < 33)
        ++b;
    while (e > b && Text[e - 1].unicode() < 33)
        --e;
    QString s = Text.mid(b, e - b);
    if (ThousandSeparator != DecimalSeparator)
        s.remove(ThousandSeparator);
    for (QChar c : {QLatin1Char('.'), QLatin1Char(',')})
        if (c != ThousandSeparator)
            s.replace(c, DecimalSeparator);
    return s;
}

TNumberValueGx TNumberEditRulesGx::Parse(const QString& Text) const
{
    QString s = Normalize(Text);
    if (IsLoneSign(s))
        return 0.0;
    for (QChar c : s)
        if (!(c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('E')
              || c == QLatin1Char('e') || c == DecimalSeparator))
            return std::nullopt;
    s.replace(DecimalSeparator, QLatin1Char('.'));
    double v = 0;
    if (!TryStrToFloat(s, v))
        return std::nullopt;
    return v;
}

double TNumberEditRulesGx::ToFloat(const QString& Text) const
{
    const TNumberValueGx v = Parse(Text);
    if (!v)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
    return *v;
}

QString TNumberEditRulesGx::DisplayText(const TNumberValueGx& Value) const
{
    if (!Value)
        return QString();
    if (!DisplayFormat.isEmpty())
        return FormatFloat(DisplayFormat, *Value);
    if (Currency)
        return FloatToStrF(*Value, ffCurrency, 15, kCurrencyDecimals);
    return FloatToStr(*Value);
}

QString TNumberEditRulesGx::EditFormat() const
{
    if (DisplayFormat.isEmpty())
        return Currency ? QStringLiteral(",#.") + QString(kCurrencyDecimals, QLatin1Char('0')) : QString();
    QString out;
    const QString& f = DisplayFormat;
    int i = 0;
    while (i < f.size() && f[i] != QLatin1Char(';')) {
        const QChar c = f[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int close = f.indexOf(c, i + 1);
            i = close < 0 ? f.size() : close + 1;
        } else if (c == QLatin1Char('E') || c == QLatin1Char('e')) {
            ++i;
            if (i < f.size() && f[i] == QLatin1Char('+'))
                ++i;
            int zeros = 0;
            while (i < f.size() && f[i] == QLatin1Char('0')) {
                if (++zeros == 5)
                    return out;
                ++i;
            }
        } else {
            if (c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('0'))
                out += c;
            ++i;
        }
    }
    return out;
}

QString TNumberEditRulesGx::Group(const QString& Text) const
{
    if (!EditFormat().contains(QLatin1Char(',')))
        return Text;
    int end = Text.size();
    for (int i = 0; i < Text.size(); ++i)
        if (Text[i] == DecimalSeparator || Text[i] == QLatin1Char('E') || Text[i] == QLatin1Char('e')) {
            end = i;
            break;
        }
    QString head = Text.left(end);
    const QString tail = Text.mid(end);
    QString sign;
    if (!head.isEmpty() && (head[0] == QLatin1Char('+') || head[0] == QLatin1Char('-'))) {
        sign = head.left(1);
        head.remove(0, 1);
    }
    head.remove(ThousandSeparator);
    for (int pos = head.size() - 3; pos > 0; pos -= 3)
        head.insert(pos, ThousandSeparator);
    return sign + head + tail;
}

QString TNumberEditRulesGx::EditText(double Value) const
{
    const QString fmt = EditFormat();
    QString s = fmt.isEmpty() ? FloatToStr(Value) : FormatFloat(fmt, Value);
    if (DecimalSeparator != QLatin1Char('.') || ThousandSeparator != QLatin1Char(',')) {
        // The formatter writes the platform's separators; swap them for this editor's.
        for (QChar& c : s)
            if (c == QLatin1Char('.'))
                c = DecimalSeparator;
            else if (c == QLatin1Char(','))
                c = ThousandSeparator;
    }
    return Group(s);
}

double TNumberEditRulesGx::Limit(double Value) const
{
    double v = Value;
    if (MaxValue != MinValue) {
        if (MinValue < MaxValue) {
            v = std::min(std::max(v, MinValue), MaxValue);
        } else if (MaxValue == 0) {
            v = std::max(v, MinValue);
        } else if (MinValue == 0) {
            v = std::min(v, MaxValue);
        }
    }
    if (DecimalPlaces <= 37) {
        const long double scale = std::pow(10.0L, (long double)DecimalPlaces);
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        v = double(std::nearbyint((long double)v * scale) / scale);
        std::fesetround(mode);
    }
    return v;
}

bool TNumberEditRulesGx::IsValidChar(const QString& Text, int SelStart, int SelLength, QChar Key) const
{
    QString t = Text;
    t.replace(SelStart, SelLength, QString(Key));
    const QString s = Normalize(t);
    const int dec = s.indexOf(DecimalSeparator);
    if (dec >= 0) {
        int n = 0;
        for (int i = dec + 1; i < s.size() && s[i] != QLatin1Char('E') && s[i] != QLatin1Char('e'); ++i)
            ++n;
        if (n > int(DecimalPlaces))
            return false;
    }
    if (s.isEmpty())
        return true;
    const TNumberValueGx v = Parse(s);
    if (!v)
        return false;
    // No sign can be typed when the range holds no negative numbers.
    if (MinValue >= 0 && MaxValue > 0 && (*v < 0 || s.startsWith(QLatin1Char('-'))))
        return false;
    return true;
}

TNumberValueGx TNumberEditRulesGx::Step(const TNumberValueGx& Value, bool Increase) const
{
    if (Increment == 0)
        return std::nullopt;
    const double next = !Value ? Increment : Increase ? *Value + Increment : *Value - Increment;
    return Limit(next);
}

TNumberValueGx TNumberEditRulesGx::TypedValue(const QString& Text) const
{
    const QString s = Normalize(Text);
    if (s.isEmpty())
        return std::nullopt;
    if (IsLoneSign(s))
        return Limit(0);
    return Limit(ToFloat(s));
}
