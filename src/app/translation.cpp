#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* installPolishTranslation(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_pl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
