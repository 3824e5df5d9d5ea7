#pragma once
// Master-data tests: an account set logged in as its administrator, tree helpers and the
// statements the data module sends.
#include "app_fixture.h"
#include "data/rsnodeprocess.h"
#include "platform/gui/TreeView.h"

#include <QTest>

class MasterTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"))) << lastCreation.toStdString();
        ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip")));
        DialogScript::ClearLog();
        dm->OnSQL = [this](const QString& sql) { sent << sql; };
    }
    void TearDown() override
    {
        if (dm)
            dm->OnSQL = nullptr;
        AppTest::TearDown();
    }

    QStringList Q(const QString& sql) { return Rows(db, sql); }
    void X(const QString& sql) { Exec(db, sql); }

    // The statements sent that change data.
    QStringList Writes() const
    {
        QStringList out;
        for (const QString& s : sent) {
            const QString t = s.trimmed().toLower();
            if (t.startsWith(QLatin1String("insert")) || t.startsWith(QLatin1String("update"))
                || t.startsWith(QLatin1String("delete")))
                out << s;
        }
        return out;
    }

    // Clicks a tree node as the user does (the tree must be shown).
    static void ClickNode(TTreeView* tree, TTreeNode* node)
    {
        node->MakeVisible();
        const QRect r = tree->visualItemRect(node->Item());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }
    // The node of a tree with the given text, or null.
    static TTreeNode* NodeNamed(TTreeView* tree, const QString& text)
    {
        for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
            if (n->Text() == text)
                return n;
        return nullptr;
    }
    // The tree as indented texts, one node per line.
    static QStringList Shape(TTreeView* tree)
    {
        QStringList out;
        for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
            out << QString(n->Level() * 2, QLatin1Char(' ')) + n->Text();
        return out;
    }

    QStringList sent;
    QString db = QStringLiteral("acct");   // the account set Q and X work in
};
