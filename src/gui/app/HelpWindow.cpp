#include "gui/app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zuohao::gui {

namespace {
constexpr int kWidth = 560;
constexpr int kHeight = 460;

struct PageInfo {
    const char* resource;
    const char* title;
};
constexpr PageInfo kPages[] = {
    {":/help/usage.html", "使用说明"},
    {":/help/rules.html", "规则说明"},
    {":/help/about.html", "关于本程序"},
};

const PageInfo& info(HelpWindow::Page page) {
    return kPages[static_cast<int>(page)];
}
} // namespace

HelpWindow::HelpWindow(QString dataFolder, QWidget* parent)
    : QDialog(parent), m_browser(new QTextBrowser(this)), m_dataFolder(std::move(dataFolder)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setModal(false);
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setOpenExternalLinks(false);
    m_browser->setAccessibleName(QStringLiteral("说明"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_browser, 1);
    column->addWidget(buttons);
    resize(kWidth, kHeight);
}

QString HelpWindow::pageHtml(Page page, const QString& dataFolder) {
    QFile f(QString::fromLatin1(info(page).resource));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString html = QString::fromUtf8(f.readAll());
    html.replace(QStringLiteral("%VERSION%"), QStringLiteral(ZUOHAO_VERSION));
    html.replace(QStringLiteral("%DATA%"), QDir::toNativeSeparators(dataFolder).toHtmlEscaped());
    // The settings are not kept beside the archive: their own folder is named too.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    html.replace(QStringLiteral("%CONFIG%"), QDir::toNativeSeparators(config).toHtmlEscaped());
    return html;
}

void HelpWindow::showPage(Page page) {
    m_page = page;
    setWindowTitle(QStringLiteral("做号计划 - %1").arg(QString::fromUtf8(info(page).title)));
    m_browser->setHtml(pageHtml(page, m_dataFolder));
    show();
    raise();
    activateWindow();
}

} // namespace zuohao::gui
