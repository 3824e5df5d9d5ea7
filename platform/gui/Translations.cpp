#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <memory>

bool LoadQtTranslations()
{
    // Owned by the application object, so it goes with it.
    static QPointer<QTranslator> translator;
    if (translator) return true;
    auto t = std::make_unique<QTranslator>();
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (!t->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    t->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(t.get());
    translator = t.release();
    return true;
}
