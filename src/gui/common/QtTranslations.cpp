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

// The kinds the file dialog's type column names, which Qt 6's Chinese file lacks (their
// context moved to QAbstractFileIconProvider).
class MissingTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        struct Text {
            const char* context;
            const char* source;
            const char* chinese;
        };
        static constexpr Text kTexts[] = {
            {"QAbstractFileIconProvider", "Folder", "文件夹"},
            {"QAbstractFileIconProvider", "File Folder", "文件夹"},
            {"QAbstractFileIconProvider", "Drive", "驱动器"},
            {"QAbstractFileIconProvider", "Shortcut", "快捷方式"},
            {"QAbstractFileIconProvider", "Unknown", "未知"},
        };
        for (const Text& t : kTexts)
            if (qstrcmp(context, t.context) == 0 && qstrcmp(source, t.source) == 0)
                return QString::fromUtf8(t.chinese);
        return {};
    }
    bool isEmpty() const override { return false; }
};
} // namespace

std::unique_ptr<QTranslator> MissingQtTextsTranslator(const QLocale& locale) {
    if (locale.language() != QLocale::Chinese) return nullptr;
    return std::make_unique<MissingTexts>();
}

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
    if (std::unique_ptr<QTranslator> t = MissingQtTextsTranslator(QLocale::system())) {
        QTranslator* installed = t.release();
        installed->setParent(app);
        QCoreApplication::installTranslator(installed);
    }
    if (std::unique_ptr<QTranslator> t = LoadQtTranslator(QLocale::system())) {
        QTranslator* installed = t.release();
        installed->setParent(app); // dies with the application
        QCoreApplication::installTranslator(installed);
    }
}

} // namespace zuohao::gui
