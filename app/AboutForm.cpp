#include "AboutForm.h"
#include "platform/gui/FontScale.h"

#include <QVBoxLayout>

Tfrmabout::Tfrmabout(QWidget* AOwner) : TfrmBaseform(AOwner)
{
    SetCaption(QStringLiteral("系统信息"));
    resize(Scaled(QSize(360, 200)));
    auto* box = new QVBoxLayout(panel3);
    auto* line = new QLabel(QStringLiteral("Depotrix(多用户) V4.0  "), panel3);
    auto* date = new QLabel(QStringLiteral("2015年元月6日"), panel3);
    line->setAlignment(Qt::AlignCenter);
    date->setAlignment(Qt::AlignCenter);
    box->addStretch(1);
    box->addWidget(line);
    box->addWidget(date);
    box->addStretch(1);
}
