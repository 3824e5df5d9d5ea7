#pragma once
// Value texts of the stock engine's statements, and the ledger's counterpart text.
#include "DM.h"
#include "DataProcess.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <QStringBuilder>
#include <algorithm>
#include <charconv>

namespace stocksql {

// A value's text in a buffer of its own, so that a statement text built in one piece takes
// it without a string of its own for every value.
struct ValueText {
    char16_t text[kFloatChars + 2];
    int size = 0;
    operator QString() const { return QString(reinterpret_cast<const QChar*>(text), size); }
};

// A text's quoted SQL literal, as vartosqlvalue writes it: trimmed, quotes doubled.
struct QuotedText {
    QStringView text;
    qsizetype quotes = 0;
    qsizetype size() const { return text.size() + quotes + 2; }
    void writeto(QChar*& out) const
    {
        *out++ = u'\'';
        for (const QChar c : text) {
            *out++ = c;
            if (c == u'\'')
                *out++ = c;
        }
        *out++ = u'\'';
    }
    operator QString() const
    {
        QString s(size(), Qt::Uninitialized);
        QChar* out = s.data();
        writeto(out);
        return s;
    }
};

// A number as plain text: integers in decimal, floating-point values in the general form
// with up to 15 significant digits.
inline ValueText num(int v)
{
    ValueText t;
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    for (const char* p = digits; p < end; ++p)
        t.text[t.size++] = char16_t(*p);
    return t;
}
inline ValueText num(double v)
{
    ValueText t;
    t.size = FloatToChars(v, t.text);
    return t;
}

// A date's quoted SQL literal, as vartosqlvalue writes it, holding the date's text (the text
// DateTimeToStr keeps for the last date: shared, not copied).
struct QuotedDate {
    QString text;
    QuotedText quoted() const { return QuotedText{text, text.count(u'\'')}; }
    operator QString() const { return quoted(); }
};

// The quoted SQL literal of a value, as vartosqlvalue writes it.
inline QuotedDate lit(TDateTime d) { return QuotedDate{DateTimeToStr(d)}; }
inline ValueText quoted(ValueText t)
{
    std::copy_backward(t.text, t.text + t.size, t.text + t.size + 1);
    t.text[0] = t.text[t.size + 1] = u'\'';
    t.size += 2;
    return t;
}
inline ValueText lit(int v) { return quoted(num(v)); }
inline ValueText lit(double v) { return quoted(num(v)); }
inline QuotedText lit(const QString& v)
{
    const QStringView text = trimmedtext(v);
    return QuotedText{text, text.count(u'\'')};
}

// Bytes a text takes in a varchar column of the Chinese collation: one per ASCII character,
// two per other character.
inline int varcharbytes(const QString& text)
{
    int n = 0;
    for (QChar c : text)
        n += c.unicode() < 0x80 ? 1 : 2;
    return n;
}

// The longest start of text that fits into the given number of varchar bytes.
inline QString fitvarchar(const QString& text, int bytes)
{
    int n = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const int w = text[i].unicode() < 0x80 ? 1 : 2;
        if (n + w > bytes)
            break;
        n += w;
    }
    // Never split a surrogate pair.
    if (i > 0 && i < text.size() && text[i - 1].isHighSurrogate())
        --i;
    return text.left(i);
}

// Width of the ledger's counterpart column (imexsrglist.dptprj, varchar(50)).
constexpr int counterpartbytes = 50;

// "first→second" fitted to the counterpart column: when both names do not fit, each keeps
// at least half of the room (the shorter one whole), so both stay recognisable.
inline QString counterpart(const QString& first, const QString& second)
{
    const QString arrow = QStringLiteral("→");
    const int room = counterpartbytes - varcharbytes(arrow);
    const int a = varcharbytes(first), b = varcharbytes(second);
    if (a + b <= room)
        return first + arrow + second;
    int forfirst = room / 2;
    if (b < room - forfirst)
        forfirst = room - b;
    const QString f = fitvarchar(first, forfirst);
    return f + arrow + fitvarchar(second, room - varcharbytes(f));
}

// The remaining quantity and amounts of the price batch whose keyfield (fid, iid or eid) is
// key, in one read; a missing batch reads as zeros. found tells whether there is one.
struct Batch {
    double qty, dprice, rdprice;
};

inline Batch readbatch(TrmtDM& dm, const QString& keyfield, int key, bool* found = nullptr)
{
    const TrmtDM::TableValues v = dm.gettablevalues(QStringLiteral("mrplist"), {keyfield}, {key},
                                                {QStringLiteral("qty"), QStringLiteral("dprice"), QStringLiteral("rdprice")},
                                                found);
    return {v[0], v[1], v[2]};
}

} // namespace stocksql

template <> struct QConcatenable<stocksql::ValueText> {
    using type = stocksql::ValueText;
    using ConvertTo = QString;
    enum { ExactSize = true };
    static qsizetype size(const type& t) { return t.size; }
    static void appendTo(const type& t, QChar*& out)
    {
        std::copy_n(t.text, t.size, reinterpret_cast<char16_t*>(out));
        out += t.size;
    }
};

template <> struct QConcatenable<stocksql::QuotedText> {
    using type = stocksql::QuotedText;
    using ConvertTo = QString;
    enum { ExactSize = true };
    static qsizetype size(const type& t) { return t.size(); }
    static void appendTo(const type& t, QChar*& out) { t.writeto(out); }
};

template <> struct QConcatenable<stocksql::QuotedDate> {
    using type = stocksql::QuotedDate;
    using ConvertTo = QString;
    enum { ExactSize = true };
    static qsizetype size(const type& t) { return t.quoted().size(); }
    static void appendTo(const type& t, QChar*& out) { t.quoted().writeto(out); }
};
