#pragma once
// Value texts of the stock engine's statements, and the ledger's counterpart text.
#include "DM.h"
#include "DataProcess.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Variant.h"
#include <QString>

namespace stocksql {

// A number as plain text: integers in decimal, floating-point values in the general form
// with up to 15 significant digits.
inline QString num(int v) { return QString::number(v); }
inline QString num(double v) { return FloatToStr(v); }

// The quoted SQL literal of a value.
inline QString lit(const Variant& v) { return vartosqlvalue(v); }

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

// The fields of a dataset found by name once, then read row after row (by the name texts the
// caller spells, one lookup each).
class NamedFields {
public:
    explicit NamedFields(TDataSet* d) : m_d(d) {}
    TField* operator()(const char* name)
    {
        for (const auto& [spelled, field] : std::as_const(m_found))
            if (spelled == name)
                return field;
        TField* field = m_d->FieldByName(QString::fromLatin1(name));
        m_found.append({name, field});
        return field;
    }

private:
    TDataSet* m_d;
    QList<QPair<const char*, TField*>> m_found;
};

// The remaining quantity and amounts of the price batch whose keyfield (fid, iid or eid) is
// key, in one read; a missing batch reads as zeros. found tells whether there is one.
struct Batch {
    double qty, dprice, rdprice;
};

inline Batch readbatch(TrmtDM& dm, const QString& keyfield, int key, bool* found = nullptr)
{
    const QVector<double> v = dm.gettablevalues(QStringLiteral("mrplist"), {keyfield}, {key},
                                                {QStringLiteral("qty"), QStringLiteral("dprice"), QStringLiteral("rdprice")},
                                                found);
    return {v[0], v[1], v[2]};
}

} // namespace stocksql
