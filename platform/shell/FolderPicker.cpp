#include "FolderPicker.h"

#include "platform/gui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

bool SelectDirectory(const QString& Caption, const QString& Root, QString& Directory)
{
    if (DialogScript::Active()) {
        TScriptedAnswer a;
        if (!DialogScript::TakeText(QStringLiteral("SelectDirectory"), Caption, Directory, a)) return false;
        Directory = a.Text;
        return true;
    }
    QFileDialog dlg(QApplication::activeWindow(), Caption);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    const QString start = !Directory.isEmpty() ? Directory : Root;
    if (!start.isEmpty()) dlg.setDirectory(start);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    Directory = QDir::cleanPath(dlg.selectedFiles().first());
    return true;
}
