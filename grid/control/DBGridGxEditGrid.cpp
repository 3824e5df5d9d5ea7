// The data grid's side of the in-place editor: making, showing, hiding and
// refreshing it, and opening the find dialog from the grid or the editor.
#include "DBGridGx.h"
#include "DBGridGxEdit.h"
#include "DBGridGxFind.h"

TInplaceEdit* TCustomDBGridGx::CreateEditor()
{
    return new TDBGridInplaceEdit(this);
}

void TCustomDBGridGx::OpenFindDialog(const QString& Text)
{
    InstallDBGridGxFindHooks();
    ExecuteFindDialog(Text, QString(), IsFindDialogShowAsModal());
}
