// Test entry point shared by every test executable.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The application's default font is the CJK font at a fixed logical dpi,
    // so that text metrics are the same on every machine.
    QFont f(QStringLiteral("WenQuanYi Micro Hei"), 9);
    QApplication::setFont(f);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
