#pragma once
// Go-betweens through which a property storage reads and writes what a column
// and a column collection do not publish themselves: a column's width and the
// order of the columns as text.
#include "grid/support/PropFilerGx.h"
#include <QString>

class TColumnGx;
class TDBGridColumnsGx;

// A column's width, write-only. With the grid fitting its columns the value is
// the width the fitting starts from, and nothing is laid out now.
class TColumnGxPropertyInterceptor : public TStoragePropertyInterceptor {
public:
    explicit TColumnGxPropertyInterceptor(TColumnGx* column)
        : TStoragePropertyInterceptor(nullptr), FColumn(column) {}
    TColumnGx* Column() const { return FColumn; }
    void SetWidth(int value);

private:
    TColumnGx* FColumn;
};

// The column order: each column's field name in double quotes, joined by commas.
class TColumnsGxPropertyInterceptor : public TStoragePropertyInterceptor {
public:
    explicit TColumnsGxPropertyInterceptor(TDBGridColumnsGx* columns)
        : TStoragePropertyInterceptor(nullptr), FColumns(columns) {}
    QString GetColumnsIndex() const;
    // Moves the first column of each named field to the name's position; names
    // that no column has are skipped.
    void SetColumnsIndex(const QString& value);
    // The column set is whole once read: nothing is left to settle.
    void Readed() override {}

private:
    TDBGridColumnsGx* FColumns;
    QString FColumnsIndex;
};

// The items of a comma text: separated by commas or blanks; double-quoted items
// may hold them (two double quotes stand for one).
QStringList SplitCommaTextGx(const QString& text);
