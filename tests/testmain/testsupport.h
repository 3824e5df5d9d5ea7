#pragma once
// Small helpers shared by the tests.
#include <QDir>
#include <QString>

namespace dpxtest {

// Folder under the build tree where tests leave artefacts (screenshots, PDFs).
inline QString artifactsDir()
{
    QDir().mkpath(QStringLiteral(DPX_TEST_ARTIFACTS));
    return QStringLiteral(DPX_TEST_ARTIFACTS);
}

} // namespace dpxtest
