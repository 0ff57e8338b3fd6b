#include "QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace {

// Qt's modules whose texts the program shows.
const char *const Catalogs[] = {"qtbase", "qtserialport"};

std::vector<std::unique_ptr<QTranslator>> &Installed()
{
    static std::vector<std::unique_ptr<QTranslator>> installed;
    return installed;
}

void RemoveAll()
{
    for (const auto &translator : Installed())
        QCoreApplication::removeTranslator(translator.get());
    Installed().clear();
}

} // namespace

QStringList QtTranslationFolders()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool UseQtTranslations(bool chinese)
{
    if (!chinese) {
        RemoveAll();
        return true;
    }
    if (!Installed().empty())
        return true;
    bool baseFound = false;
    for (const char *catalog : Catalogs) {
        auto translator = std::make_unique<QTranslator>();
        const QString file = QString::fromLatin1(catalog) + QStringLiteral("_zh_CN");
        for (const QString &folder : QtTranslationFolders()) {
            if (translator->load(file, folder)) {
                QCoreApplication::installTranslator(translator.get());
                Installed().push_back(std::move(translator));
                baseFound = baseFound || QLatin1String(catalog) == QLatin1String("qtbase");
                break;
            }
        }
    }
    return baseFound;
}
