#pragma once
// A shortcut to a program, saved as an executable application entry (the desktop's own form
// of a link): the program, its working folder and a description.
#include <QString>

class TShellLink {
public:
    void SetPath(const QString& program) { m_path = program; }
    void SetWorkingDirectory(const QString& dir) { m_workingDir = dir; }
    void SetDescription(const QString& text) { m_description = text; }
    void SetName(const QString& name) { m_name = name; }
    QString Path() const { return m_path; }
    QString WorkingDirectory() const { return m_workingDir; }

    // Writes the shortcut file; raises EFCreateError when it cannot.
    void Save(const QString& linkFile) const;

private:
    QString m_path, m_workingDir, m_description, m_name;
};
