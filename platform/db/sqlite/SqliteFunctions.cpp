#include "SqliteFunctions.h"
#include <QByteArray>
#include "platform/rtl/DateTime.h"
#include <charconv>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace sqlitedb {

namespace {

constexpr qint64 kMsPerDay = 86400000;
constexpr qint64 kDays1900 = -25567;   // 1900-01-01 in days since 1970-01-01
constexpr qint64 kDays1899 = -25569;   // 1899-12-30

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

void civilFromDays(qint64 z, int& y, int& m, int& d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 yy = qint64(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yy + (m <= 2));
}

int daysInMonth(int y, int m)
{
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) return 29;
    return dm[m - 1];
}

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// ----- decimal rounding -----

// Rounds the decimal text of a number to scale decimals, half away from zero. Gives the
// scaled integer (value * 10^scale); false on text that is not a number or on overflow.
bool decimalToScaled(const char* s, int len, int scale, qint64& out)
{
    int i = 0;
    while (i < len && s[i] == ' ') ++i;
    while (len > i && s[len - 1] == ' ') --len;
    bool neg = false;
    if (i < len && (s[i] == '+' || s[i] == '-')) { neg = s[i] == '-'; ++i; }
    __int128 v = 0;
    int digits = 0, frac = -1, exp10 = 0;
    bool roundUp = false, any = false;
    for (; i < len; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            any = true;
            if (frac >= 0) {
                if (frac < scale) { v = v * 10 + (c - '0'); ++frac; }
                else if (frac == scale) { roundUp = c >= '5'; frac = scale + 1; }
                continue;
            }
            v = v * 10 + (c - '0');
            if (++digits > 24) return false;   // far beyond numeric(18,4); keeps the sum below 2^127
        } else if (c == '.' && frac < 0) {
            frac = 0;
        } else if (c == 'e' || c == 'E') {
            int e = 0;
            if (i + 1 >= len) return false;
            std::from_chars_result r = std::from_chars(s + i + 1 + (s[i + 1] == '+'), s + len, e);
            if (r.ec != std::errc() || r.ptr != s + len) return false;
            exp10 = e;
            break;
        } else {
            return false;
        }
    }
    if (!any) return false;
    if (exp10 != 0) {
        // Rare (exponent texts): go through the double.
        double d = std::strtod(QByteArray(s, len).constData(), nullptr);
        double p = std::pow(10.0, scale);
        double r = std::round(std::fabs(d) * p);
        if (!(r < 9.2e18)) return false;
        out = (d < 0 ? -1 : 1) * qint64(r);
        return true;
    }
    int f = frac < 0 ? 0 : std::min(frac, scale);
    for (; f < scale; ++f) v *= 10;
    if (roundUp) v += 1;
    if (v > (__int128)INT64_MAX) return false;
    out = neg ? -qint64(v) : qint64(v);
    return true;
}

qint64 pow10i(int s)
{
    qint64 p = 1;
    while (s-- > 0) p *= 10;
    return p;
}

// The value of a scaled integer as SQLite stores it: an integer when whole, else the double
// nearest to the decimal.
void resultScaled(sqlite3_context* ctx, qint64 scaled, int scale)
{
    const qint64 p = pow10i(scale);
    if (scaled % p == 0) sqlite3_result_int64(ctx, scaled / p);
    else sqlite3_result_double(ctx, double(scaled) / double(p));
}

void fnNum(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int scale = std::clamp(sqlite3_value_int(argv[1]), 0, 9);
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: sqlite3_result_null(ctx); return;
    case SQLITE_INTEGER: sqlite3_result_value(ctx, argv[0]); return;
    case SQLITE_FLOAT: {
        const double d = sqlite3_value_double(argv[0]);
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, d);   // shortest text that reads back as d
        qint64 scaled;
        if (!std::isfinite(d) || !decimalToScaled(buf, int(r.ptr - buf), scale, scaled)) {
            sqlite3_result_error(ctx, "Arithmetic overflow error converting float to data type numeric.", -1);
            return;
        }
        resultScaled(ctx, scaled, scale);
        return;
    }
    default: {
        const char* s = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        qint64 scaled;
        if (!s || !decimalToScaled(s, sqlite3_value_bytes(argv[0]), scale, scaled)) {
            sqlite3_result_error(ctx, "Error converting data type varchar to numeric.", -1);
            return;
        }
        resultScaled(ctx, scaled, scale);
    }
    }
}

bool valueToMsecs(sqlite3_value* v, qint64& ms)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        // A number is a day count from 1900-01-01, as the server converts it.
        ms = (kDays1900 * kMsPerDay) + qint64(std::llround(sqlite3_value_double(v) * kMsPerDay));
        return true;
    case SQLITE_TEXT: {
        const char* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
        const int n = sqlite3_value_bytes(v);
        int i = 0;
        while (i < n && s[i] == ' ') ++i;
        if (i == n) { ms = kDays1900 * kMsPerDay; return true; }   // '' is 1900-01-01
        return ParseDateTime(s, n, ms);
    }
    default:
        return false;
    }
}

const char* const kDateError = "Conversion failed when converting date and/or time from character string.";

void resultDate(sqlite3_context* ctx, qint64 ms)
{
    const QByteArray b = CanonicalDateTime(ms).toLatin1();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

void fnDt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    qint64 ms;
    if (!valueToMsecs(argv[0], ms)) { sqlite3_result_error(ctx, kDateError, -1); return; }
    resultDate(ctx, ms);
}

void fnPad(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const char* s = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int n = sqlite3_value_bytes(argv[0]);
    const int width = sqlite3_value_int(argv[1]);
    int chars = 0;
    for (int i = 0; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) ++chars;
    if (chars >= width) { sqlite3_result_value(ctx, argv[0]); return; }
    QByteArray b(s, n);
    b.append(QByteArray(width - chars, ' '));
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

enum class Unit { Year, Quarter, Month, Day, Week, Hour, Minute, Second, Millisecond, Bad };

Unit unitOf(sqlite3_value* v)
{
    const char* s = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (!s) return Unit::Bad;
    const QByteArray u = QByteArray(s).toLower();
    if (u == "year" || u == "yy" || u == "yyyy") return Unit::Year;
    if (u == "quarter" || u == "qq" || u == "q") return Unit::Quarter;
    if (u == "month" || u == "mm" || u == "m") return Unit::Month;
    if (u == "day" || u == "dd" || u == "d" || u == "dayofyear" || u == "dy" || u == "y") return Unit::Day;
    if (u == "week" || u == "wk" || u == "ww") return Unit::Week;
    if (u == "hour" || u == "hh") return Unit::Hour;
    if (u == "minute" || u == "mi" || u == "n") return Unit::Minute;
    if (u == "second" || u == "ss" || u == "s") return Unit::Second;
    if (u == "millisecond" || u == "ms") return Unit::Millisecond;
    return Unit::Bad;
}

void fnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    qint64 a, b;
    if (!valueToMsecs(argv[1], a) || !valueToMsecs(argv[2], b)) { sqlite3_result_error(ctx, kDateError, -1); return; }
    // The number of unit boundaries crossed between a and b, as the server counts.
    const qint64 da = floorDiv(a, kMsPerDay), db = floorDiv(b, kMsPerDay);
    int ya, ma, dda, yb, mb, ddb;
    civilFromDays(da, ya, ma, dda);
    civilFromDays(db, yb, mb, ddb);
    qint64 r = 0;
    switch (unitOf(argv[0])) {
    case Unit::Year: r = yb - ya; break;
    case Unit::Quarter: r = (yb * 4 + (mb - 1) / 3) - (ya * 4 + (ma - 1) / 3); break;
    case Unit::Month: r = (qint64(yb) * 12 + mb) - (qint64(ya) * 12 + ma); break;
    case Unit::Day: r = db - da; break;
    case Unit::Week: r = floorDiv(db + 4, 7) - floorDiv(da + 4, 7); break;   // weeks start on Sunday
    case Unit::Hour: r = floorDiv(b, 3600000) - floorDiv(a, 3600000); break;
    case Unit::Minute: r = floorDiv(b, 60000) - floorDiv(a, 60000); break;
    case Unit::Second: r = floorDiv(b, 1000) - floorDiv(a, 1000); break;
    case Unit::Millisecond: r = b - a; break;
    case Unit::Bad: sqlite3_result_error(ctx, "Invalid parameter 1 specified for datediff.", -1); return;
    }
    sqlite3_result_int64(ctx, r);
}

void fnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    qint64 d;
    if (!valueToMsecs(argv[2], d)) { sqlite3_result_error(ctx, kDateError, -1); return; }
    const qint64 n = sqlite3_value_int64(argv[1]);
    auto addMonths = [&](qint64 months) {
        const qint64 day = floorDiv(d, kMsPerDay);
        const qint64 tod = d - day * kMsPerDay;
        int y, m, dd;
        civilFromDays(day, y, m, dd);
        qint64 mi = qint64(y) * 12 + (m - 1) + months;
        y = int(floorDiv(mi, 12));
        m = int(mi - qint64(y) * 12) + 1;
        dd = std::min(dd, daysInMonth(y, m));
        return daysFromCivil(y, m, dd) * kMsPerDay + tod;
    };
    switch (unitOf(argv[0])) {
    case Unit::Year: d = addMonths(n * 12); break;
    case Unit::Quarter: d = addMonths(n * 3); break;
    case Unit::Month: d = addMonths(n); break;
    case Unit::Day: d += n * kMsPerDay; break;
    case Unit::Week: d += n * 7 * kMsPerDay; break;
    case Unit::Hour: d += n * 3600000; break;
    case Unit::Minute: d += n * 60000; break;
    case Unit::Second: d += n * 1000; break;
    case Unit::Millisecond: d += n; break;
    case Unit::Bad: sqlite3_result_error(ctx, "Invalid parameter 1 specified for dateadd.", -1); return;
    }
    resultDate(ctx, d);
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultDate(ctx, DaysToMsecs(Now().Value));   // the platform clock, which tests can fix
}

void fnObjectId(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const char* s = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    if (!s) { sqlite3_result_null(ctx); return; }
    QString n = QString::fromUtf8(s);
    const int dot = n.lastIndexOf(u'.');
    if (dot >= 0) n = n.mid(dot + 1);
    n.remove(u'[').remove(u']').remove(u'"');
    const QByteArray b = n.toLower().toUtf8();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

// ----- exact sums -----

struct SumState {
    qint64 scaled = 0;     // sum * 10000 while every value has at most 4 decimals
    double approx = 0;
    bool exact = true;
    bool allInt = true;
    bool any = false;
};

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* st = static_cast<SumState*>(sqlite3_aggregate_context(ctx, sizeof(SumState)));
    if (!st) return;
    const int t = sqlite3_value_numeric_type(argv[0]);
    if (t == SQLITE_NULL) return;
    if (!st->any) { new (st) SumState(); st->any = true; }
    if (t == SQLITE_INTEGER) {
        const qint64 v = sqlite3_value_int64(argv[0]);
        qint64 sv;
        if (__builtin_mul_overflow(v, qint64(10000), &sv) || __builtin_add_overflow(st->scaled, sv, &st->scaled))
            st->exact = false;
        st->approx += double(v);
        return;
    }
    st->allInt = false;
    const double d = sqlite3_value_double(argv[0]);
    st->approx += d;
    if (!st->exact) return;
    const double r = d * 10000.0;
    const double rr = std::nearbyint(r);
    if (!(std::fabs(rr) < 9e15 && std::fabs(r - rr) <= 1e-6 * std::max(1.0, std::fabs(r))) ||
        __builtin_add_overflow(st->scaled, qint64(rr), &st->scaled))
        st->exact = false;
}

void sumFinal(sqlite3_context* ctx, bool total)
{
    auto* st = static_cast<SumState*>(sqlite3_aggregate_context(ctx, 0));
    if (!st || !st->any) {
        if (total) sqlite3_result_double(ctx, 0.0); else sqlite3_result_null(ctx);
        return;
    }
    if (st->exact) {
        if (st->allInt && !total) {
            sqlite3_result_int64(ctx, st->scaled / 10000);
            return;
        }
        if (st->scaled < (qint64(1) << 53) && st->scaled > -(qint64(1) << 53)) {
            sqlite3_result_double(ctx, double(st->scaled) / 10000.0);
            return;
        }
    }
    sqlite3_result_double(ctx, st->approx);
}

void sumFinalSum(sqlite3_context* ctx) { sumFinal(ctx, false); }
void sumFinalTotal(sqlite3_context* ctx) { sumFinal(ctx, true); }

// ----- collations -----

int collateCi(void*, int n1, const void* p1, int n2, const void* p2)
{
    const unsigned char* a = static_cast<const unsigned char*>(p1);
    const unsigned char* b = static_cast<const unsigned char*>(p2);
    while (n1 > 0 && a[n1 - 1] == ' ') --n1;
    while (n2 > 0 && b[n2 - 1] == ' ') --n2;
    const int n = std::min(n1, n2);
    for (int i = 0; i < n; ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return x < y ? -1 : 1;
    }
    return n1 - n2;
}

int collateDate(void*, int n1, const void* p1, int n2, const void* p2)
{
    qint64 a, b;
    const bool oa = ParseDateTime(static_cast<const char*>(p1), n1, a);
    const bool ob = ParseDateTime(static_cast<const char*>(p2), n2, b);
    if (oa && ob) return a < b ? -1 : a > b ? 1 : 0;
    if (oa != ob) return oa ? -1 : 1;
    const int c = std::memcmp(p1, p2, std::min(n1, n2));
    return c != 0 ? c : n1 - n2;
}

int readInt(const char* s, int len, int& i, int maxDigits, int& out)
{
    int v = 0, n = 0;
    while (i < len && n < maxDigits && s[i] >= '0' && s[i] <= '9') { v = v * 10 + (s[i] - '0'); ++i; ++n; }
    out = v;
    return n;
}

} // namespace

bool DecimalTextToScaled(const char* s, int len, int scale, qint64& out)
{
    return s && decimalToScaled(s, len, scale, out);
}

bool ParseDateTime(const char* s, int len, qint64& msecs)
{
    int i = 0;
    while (i < len && s[i] == ' ') ++i;
    while (len > i && s[len - 1] == ' ') --len;
    int y, m, d;
    const int ny = readInt(s, len, i, 8, y);
    if (ny == 8 && i == len) {   // yyyymmdd
        d = y % 100; m = (y / 100) % 100; y /= 10000;
    } else {
        if (ny != 4 || i >= len || (s[i] != '-' && s[i] != '/' && s[i] != '.')) return false;
        const char sep = s[i++];
        if (readInt(s, len, i, 2, m) == 0 || i >= len || s[i] != sep) return false;
        ++i;
        if (readInt(s, len, i, 2, d) == 0) return false;
    }
    if (m < 1 || m > 12 || d < 1 || y < 1 || d > daysInMonth(y, m)) return false;
    int hh = 0, mi = 0, ss = 0, ms = 0;
    if (i < len) {
        if (s[i] != ' ' && s[i] != 'T') return false;
        while (i < len && (s[i] == ' ' || s[i] == 'T')) ++i;
        if (readInt(s, len, i, 2, hh) == 0 || i >= len || s[i] != ':') return false;
        ++i;
        if (readInt(s, len, i, 2, mi) == 0) return false;
        if (i < len && s[i] == ':') {
            ++i;
            if (readInt(s, len, i, 2, ss) == 0) return false;
            if (i < len && s[i] == '.') {
                ++i;
                int frac = 0;
                const int nf = readInt(s, len, i, 3, frac);
                if (nf == 0) return false;
                ms = nf == 1 ? frac * 100 : nf == 2 ? frac * 10 : frac;
                while (i < len && s[i] >= '0' && s[i] <= '9') ++i;
            }
        }
        if (i != len || hh > 23 || mi > 59 || ss > 59) return false;
    }
    msecs = daysFromCivil(y, unsigned(m), unsigned(d)) * kMsPerDay + ((hh * 60 + mi) * 60 + ss) * 1000LL + ms;
    return true;
}

bool ParseDateTime(const QString& s, qint64& msecs)
{
    const QByteArray b = s.toLatin1();
    return ParseDateTime(b.constData(), b.size(), msecs);
}

QString CanonicalDateTime(qint64 msecs)
{
    const qint64 day = floorDiv(msecs, kMsPerDay);
    qint64 tod = msecs - day * kMsPerDay;
    int y, m, d;
    civilFromDays(day, y, m, d);
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    if (tod != 0) {
        const int ms = int(tod % 1000);
        tod /= 1000;
        n += std::snprintf(buf + n, sizeof buf - n, " %02d:%02d:%02d", int(tod / 3600), int(tod / 60 % 60), int(tod % 60));
        if (ms != 0) n += std::snprintf(buf + n, sizeof buf - n, ".%03d", ms);
    }
    return QString::fromLatin1(buf, n);
}

double MsecsToDays(qint64 msecs)
{
    const qint64 day = floorDiv(msecs, kMsPerDay);
    const qint64 tod = msecs - day * kMsPerDay;
    return double(day - kDays1899) + double(tod) / double(kMsPerDay);
}

qint64 DaysToMsecs(double days)
{
    const double whole = std::floor(days);
    const qint64 tod = std::llround((days - whole) * double(kMsPerDay));
    return (qint64(whole) + kDays1899) * kMsPerDay + tod;
}

void RegisterFunctions(sqlite3* db)
{
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_collation(db, "dpxci", SQLITE_UTF8, nullptr, collateCi);
    sqlite3_create_collation(db, "dpxdate", SQLITE_UTF8, nullptr, collateDate);
    sqlite3_create_function(db, "dpx_num", 2, f, nullptr, fnNum, nullptr, nullptr);
    sqlite3_create_function(db, "dpx_dt", 1, f, nullptr, fnDt, nullptr, nullptr);
    sqlite3_create_function(db, "dpx_pad", 2, f, nullptr, fnPad, nullptr, nullptr);
    sqlite3_create_function(db, "datediff", 3, f, nullptr, fnDateDiff, nullptr, nullptr);
    sqlite3_create_function(db, "dateadd", 3, f, nullptr, fnDateAdd, nullptr, nullptr);
    sqlite3_create_function(db, "getdate", 0, SQLITE_UTF8, nullptr, fnGetDate, nullptr, nullptr);
    sqlite3_create_function(db, "object_id", 1, f, nullptr, fnObjectId, nullptr, nullptr);
    sqlite3_create_function(db, "sum", 1, f, nullptr, nullptr, sumStep, sumFinalSum);
    sqlite3_create_function(db, "total", 1, f, nullptr, nullptr, sumStep, sumFinalTotal);
}

} // namespace sqlitedb
