#include "DBGridGxInterceptors.h"
#include "DBGridGxColumns.h"
#include "grid/support/GxLibVCL.h"

void TColumnGxPropertyInterceptor::SetWidth(int value)
{
    IDBGridGx* grid = FColumn->Grid();
    if (grid && grid->AutoFitColWidths())
        FColumn->SetInitWidth(value);
    else
        FColumn->SetWidth(value);
}

QString TColumnsGxPropertyInterceptor::GetColumnsIndex() const
{
    QString result;
    for (int i = 0; i < FColumns->Count(); ++i)
        result += QLatin1Char('"') + FColumns->GetColumn(i)->FieldName() + QStringLiteral("\",");
    result.chop(1);
    return result;
}

QStringList SplitCommaTextGx(const QString& text)
{
    QStringList items;
    int i = 0;
    const int n = int(text.size());
    auto blank = [&](int k) { return k < n && text.at(k) <= QLatin1Char(' '); };
    while (blank(i))
        ++i;
    while (i < n) {
        QString item;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i++);
            }
        } else {
            while (i < n && text.at(i) > QLatin1Char(' ') && text.at(i) != QLatin1Char(','))
                item += text.at(i++);
        }
        items << item;
        while (blank(i))
            ++i;
        if (i < n && text.at(i) == QLatin1Char(',')) {
            ++i;
            while (blank(i))
                ++i;
            if (i >= n)
                items << QString();
        }
    }
    return items;
}

void TColumnsGxPropertyInterceptor::SetColumnsIndex(const QString& value)
{
    FColumnsIndex = value;
    const QStringList names = SplitCommaTextGx(value);
    FColumns->BeginUpdate();
    try {
        for (int i = 0; i < names.size(); ++i)
            for (int k = 0; k < FColumns->Count(); ++k)
                if (NlsCompareStr(FColumns->GetColumn(k)->FieldName(), names.at(i)) == 0) {
                    FColumns->GetColumn(k)->SetIndex(i);
                    break;
                }
    } catch (...) {
        FColumns->EndUpdate();
        throw;
    }
    FColumns->EndUpdate();
}
