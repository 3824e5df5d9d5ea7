#pragma once
// The setup form on a temporary home with its own XDG folders, its dialogs answered from a
// script, and the steps it showed (progress with the label at that moment) recorded.
#include "platform/shell/xdg_home.h"

#include "setup/DPXSetup.h"
#include "setup/SetupPayload.h"

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/shell/ProgramGroups.h"

#include <gtest/gtest.h>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <linux/capability.h>
#include <memory>
#include <ostream>
#include <sys/syscall.h>
#include <unistd.h>

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace setuptest {

using Step = QPair<int, QString>;

inline QByteArray sha256(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex();
}

inline QString readText(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

inline bool writeText(const QString& file, const QByteArray& data)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// Permission checks hold for root too while it lives: the test may run as root, who could
// otherwise write into a read-only folder.
class PermissionsEnforced {
public:
    PermissionsEnforced() { set(false); }
    ~PermissionsEnforced() { set(true); }
private:
    static void set(bool override)
    {
        __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct d[2]{};
        if (syscall(SYS_capget, &h, d) != 0) return;
        const quint32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        if (override)
            d[0].effective |= bits & d[0].permitted;
        else
            d[0].effective &= ~bits;
        syscall(SYS_capset, &h, d);
    }
};

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->SetTitle(QStringLiteral("Depotrix"));
        form = std::make_unique<TCSetup>();
        QObject::connect(form->Pbar, &QProgressBar::valueChanged, form.get(),
                         [this](int v) {
                             if (v != 0) steps.append({v, form->Label4->text()});
                         });
        form->show();
        QTest::qWait(1);
    }

    // From the agreement to the folder page.
    void accept() { QTest::mouseClick(form->Button1, Qt::LeftButton); }

    // Types the folder and starts the road, the answers for its questions queued.
    void install(const QString& folder, const QList<TModalResult>& answers = {})
    {
        if (!form->Panel5->isVisible()) accept();
        form->Edit1->setText(folder);
        for (TModalResult r : answers) DialogScript::Answer(r);
        steps.clear();
        DialogScript::ClearLog();
        QTest::mouseClick(form->Button3, Qt::LeftButton);
    }

    // Every dialog shown as "Caption|Text".
    static QStringList shown()
    {
        QStringList out;
        for (const TShownDialog& d : DialogScript::Log()) out << d.Caption + QLatin1Char('|') + d.Text;
        return out;
    }

    QString desktopLink() const { return home.desktop() + QStringLiteral("/Depotrix.desktop"); }
    static QString menuItem() { return TProgramGroups::ItemFile(QStringLiteral("Depotrix"), QStringLiteral("Depotrix")); }

    // The steps of a road that ran to its end.
    static QList<Step> fullRoad(bool madeFolder)
    {
        QList<Step> s;
        if (madeFolder) s << Step{2, QStringLiteral("正在安装...")};
        s << Step{10, QStringLiteral("安装Depotrix.exe")} << Step{30, QStringLiteral("安装系统数据")}
          << Step{50, QStringLiteral("安装单据打印模板")} << Step{60, QStringLiteral("添加主程序组项")}
          << Step{70, QStringLiteral("添加桌面快捷项")} << Step{100, QStringLiteral("安装完成")};
        return s;
    }

    dpxtest::XdgHome home;
    TDialogScriptScope script;
    std::unique_ptr<TCSetup> form;
    QList<Step> steps;
};

// A file of the program folder and the resource it is written from.
struct PayloadFile {
    QString resource;
    QString path;          // under the program folder
    bool executable;
    QString buildFile;     // the build's own file the resource was made from
};

inline QList<PayloadFile> payloadFiles()
{
    const QString bin = QStringLiteral(DPX_BIN_DIR);
    QList<PayloadFile> out{
        {QStringLiteral("Depotrix"), QStringLiteral("depotrix"), true, bin + QStringLiteral("/depotrix")},
        {QStringLiteral("DPXSQL"), QStringLiteral("dpxsql"), true, bin + QStringLiteral("/dpxsql")},
        {QStringLiteral("ADOLINK"), QStringLiteral("log/adolinksetting.ini"), false, QString()},
        {QStringLiteral("DPXDBSAMPLE"), QStringLiteral("backdata/materialdbsample"), false,
         bin + QStringLiteral("/backdata/materialdbsample")},
        {QStringLiteral("DPXDB"), QStringLiteral("dpxdata/materialdb"), false, bin + QStringLiteral("/dpxdata/materialdb")},
    };
    if (DPX_SETUP_TEMPLATES) {
        for (const TPrintTemplateFile& t : PrintTemplateFiles) {
            const QString name = QString::fromUtf16(t.FileName);
            for (const char* sub : {"dpxdata/", "dpxprt/"})
                out.append({QString::fromLatin1(t.Resource), QString::fromLatin1(sub) + name, false,
                            bin + QStringLiteral("/dpxprt/") + name});
        }
    }
    return out;
}

} // namespace setuptest
