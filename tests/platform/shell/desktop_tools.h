#pragma once
// The desktop's own tools, run on the files the shell layer writes: the validator of
// desktop-file-utils and GLib's launcher.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QThread>

namespace dpxtest {

// desktop-file-validate's output; empty when the file passes without errors or warnings.
inline QString validateDesktopFile(const QString& file)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty()) return QStringLiteral("desktop-file-validate is not installed");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, {file});
    if (!p.waitForFinished(300000)) return QStringLiteral("desktop-file-validate did not finish");
    QString out = QString::fromUtf8(p.readAll());
    // Hints are advice on menu placement, not faults of the file.
    QStringList faults;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.contains(QLatin1String(": hint: "))) faults << line;
    if (p.exitCode() != 0 && faults.isEmpty()) faults << QStringLiteral("exit code %1").arg(p.exitCode());
    return faults.join(QLatin1Char('\n'));
}

// A stand-in program: a script that writes its working folder and its own path to the file
// named by DPX_STUB_OUT.
inline bool writeStubProgram(const QString& file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write("#!/bin/sh\npwd > \"$DPX_STUB_OUT.tmp\"\nprintf '%s\\n' \"$0\" >> \"$DPX_STUB_OUT.tmp\"\n"
            "mv \"$DPX_STUB_OUT.tmp\" \"$DPX_STUB_OUT\"\n");
    f.close();
    return f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
}

// Starts the entry with GLib's launcher and returns what the stub wrote: its working folder
// and its path, one a line; or the launcher's complaint.
inline QString launchDesktopFile(const QString& file, const QString& outFile)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return QStringLiteral("gio is not installed");
    QFile::remove(outFile);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DPX_STUB_OUT"), outFile);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(gio, {QStringLiteral("launch"), file});
    if (!p.waitForFinished(300000)) return QStringLiteral("gio launch did not finish");
    if (p.exitCode() != 0) return QString::fromUtf8(p.readAll());
    QElapsedTimer t;
    t.start();
    while (!QFile::exists(outFile) && t.elapsed() < 120000) QThread::msleep(20);
    QFile f(outFile);
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("the program did not start");
    return QString::fromUtf8(f.readAll()).trimmed();
}

} // namespace dpxtest
