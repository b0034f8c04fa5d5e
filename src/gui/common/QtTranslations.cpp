#include "gui/common/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace zuohao::gui {

namespace {
// Qt's translations of its base module: "qtbase_zh_CN.qm" and the like.
const QString kQtBaseFile = QStringLiteral("qtbase");
const QString kPrefix = QStringLiteral("_");
const QString kBesideFolder = QStringLiteral("translations");
} // namespace

QStringList QtTranslationFolders() {
    QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    if (QCoreApplication::instance())
        folders << QDir(QCoreApplication::applicationDirPath()).filePath(kBesideFolder);
    return folders;
}

std::unique_ptr<QTranslator> LoadQtTranslator(const QLocale& locale) {
    for (const QString& folder : QtTranslationFolders()) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, kQtBaseFile, kPrefix, folder)) return translator;
    }
    return nullptr;
}

void InstallQtTranslations() {
    auto* app = QCoreApplication::instance();
    if (!app) return;
    if (std::unique_ptr<QTranslator> t = LoadQtTranslator(QLocale::system())) {
        QTranslator* installed = t.release();
        installed->setParent(app); // dies with the application
        QCoreApplication::installTranslator(installed);
    }
}

} // namespace zuohao::gui
