// Depotrix: start-up of the warehouse client.
#include <QApplication>
#include <QLabel>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Depotrix"));
    QLabel w(QStringLiteral("Depotrix 材料管理系统 — 正在建设中"));
    w.setWindowTitle(QStringLiteral("Depotrix"));
    w.setMinimumSize(480, 200);
    w.setAlignment(Qt::AlignCenter);
    w.show();
    return app.exec();
}
