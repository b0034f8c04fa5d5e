#pragma once
// The program's own help: how to use it, the rules of the conditions and of 中/挂, and what
// the program is (version, licence, data folder), shown in a small window of its own that
// needs no browser.
#include <QDialog>

class QTextBrowser;

namespace zuohao::gui {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    enum class Page { Usage, Rules, About };

    // `dataFolder` is shown on the About page.
    HelpWindow(QString dataFolder, QWidget* parent = nullptr);

    // Shows `page` (non-modal) and brings the window to the front.
    void showPage(Page page);
    Page page() const { return m_page; }
    QTextBrowser* browser() const { return m_browser; }

    // The page's text, ready to show.
    static QString pageHtml(Page page, const QString& dataFolder);

private:
    QTextBrowser* m_browser;
    QString m_dataFolder;
    Page m_page = Page::Usage;
};

} // namespace zuohao::gui
