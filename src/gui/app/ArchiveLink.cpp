#include "gui/app/ArchiveLink.h"

#include <QBoxLayout>
#include <QDir>
#include <QPushButton>
#include <QStandardPaths>

#include <QFileInfo>
#include <QLineEdit>

#include "gui/acquire/DemoFeed.h"
#include "gui/app/Application.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/Keyboard.h"
#include "gui/common/WindowPlacement.h"
#include "gui/display/ArchiveHistoryWindow.h"

namespace zuohao::gui {

namespace {
constexpr int kNoticePolls = 10; // about a minute of refresh ticks
constexpr int kUntilFixed = -1;
} // namespace

ArchiveLink::ArchiveLink(QWidget* window, std::function<std::string()> sourceName,
                         std::function<void(const QString&)> showStatus)
    : m_window(window), m_sourceName(std::move(sourceName)), m_showStatus(std::move(showStatus)) {}

std::unique_ptr<ArchiveLink> ArchiveLink::attach(LotteryForm& form, const AppOptions& options,
                                                 const DemoFeed* demo, const QLineEdit* pathBox,
                                                 QWidget* beside) {
    const bool demoRun = options.demo && demo;
    auto link = std::make_unique<ArchiveLink>(
        &form,
        [pathBox, demoRun]() -> std::string {
            return demoRun ? std::string("demo")
                           : QDir::toNativeSeparators(pathBox->text()).toStdString();
        },
        [&form](const QString& text) { form.ShowLabelTxt(text); });
    QString path = options.archivePath;
    if (path.isEmpty() && demoRun)
        path = QFileInfo(demo->path()).dir().filePath(QString::fromUtf8(store::kArchiveFileName));
    if (path.isEmpty()) path = defaultPath();
    link->open(path);
    ArchiveLink* raw = link.get();
    QPushButton* button = link->addHistoryButton(beside);
    QObject::connect(button, &QPushButton::clicked, &form, [raw, &form] {
        if (LotteryClass* lot = form.ActiveCls()) raw->showHistory(lot->LotteryName);
    });
    return link;
}

ArchiveLink::~ArchiveLink() {
    flush();
}

QString ArchiveLink::defaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QString::fromUtf8(store::kArchiveFileName));
}

void ArchiveLink::open(const QString& path) {
    m_path = path;
    m_archive.reset();
    store::OpenReport rep;
    auto a = store::Archive::open(QDir::toNativeSeparators(path).toStdString(), &rep);
    if (!a) {
        m_unavailable = QString::fromStdString(a.error());
        tell(QStringLiteral("历史库无法使用，本次不记录：") + m_unavailable, kNoticePolls);
        return;
    }
    m_archive = std::move(a).value();
    m_unavailable.clear();
    if (!rep.setAsideAs.empty())
        tell(QStringLiteral("历史库无法打开，已另存为 %1 并新建")
                 .arg(QString::fromStdString(rep.setAsideAs)),
             kNoticePolls);
}

void ArchiveLink::tell(const QString& text, int polls) {
    m_notice = text;
    m_noticePolls = polls;
    if (m_showStatus) m_showStatus(text);
}

QString ArchiveLink::notice() {
    if (m_noticePolls == 0) return {};
    if (m_noticePolls > 0 && --m_noticePolls == 0) {
        const QString last = m_notice;
        m_notice.clear();
        return last;
    }
    return m_notice;
}

void ArchiveLink::drawEntered(const std::string& lottery, const std::string& qishu,
                              const std::string& haoma) {
    if (!m_archive) return;
    if (m_pending.empty() || m_pending.back().lottery != lottery)
        m_pending.push_back({lottery, {}});
    m_pending.back().draws.push_back({qishu, haoma});
}

void ArchiveLink::drawCorrected(const std::string& lottery, const std::string& qishu,
                                const std::string& newHaoma) {
    if (!m_archive) return;
    flush(); // the draw itself goes in first
    if (auto r = m_archive->correct(lottery, qishu, newHaoma, m_sourceName()); !r)
        tell(QStringLiteral("历史库写入失败：") + QString::fromStdString(r.error()), kUntilFixed);
}

void ArchiveLink::flush() {
    if (!m_archive || m_pending.empty()) return;
    std::vector<Pending> pending;
    pending.swap(m_pending);
    const std::string source = m_sourceName();
    for (const Pending& p : pending) {
        // The draw as the program now holds it wins; an older number stays as a correction.
        auto r = m_archive->add(p.lottery, p.draws, source, store::OnConflict::Correct);
        if (!r) {
            tell(QStringLiteral("历史库写入失败：") + QString::fromStdString(r.error()),
                 kUntilFixed);
            return;
        }
        if (r->corrected > 0)
            tell(QStringLiteral("历史库中 %1 期的号码与开奖文本不同，已更正（原号码留在更正记录）")
                     .arg(r->corrected),
                 kNoticePolls);
    }
    if (m_noticePolls == kUntilFixed) { // a write went through again
        m_notice.clear();
        m_noticePolls = 0;
    }
    if (m_history && m_history->isVisible()) m_history->reload();
}

QPushButton* ArchiveLink::addHistoryButton(QWidget* neighbour) {
    auto* button = new QPushButton(QStringLiteral("历史"), neighbour->parentWidget());
    button->setObjectName(QStringLiteral("HistoryCmd"));
    SetShortcut(button, QKeySequence(Qt::CTRL | Qt::Key_H), QStringLiteral("历史库中的全部开奖"));
    if (auto* box = qobject_cast<QBoxLayout*>(neighbour->parentWidget()->layout()))
        box->insertWidget(box->indexOf(neighbour) + 1, button);
    return button;
}

void ArchiveLink::showHistory(const std::string& lottery) {
    flush();
    if (!m_history) {
        m_history = new ArchiveHistoryWindow(m_window);
        PlaceOver(m_history, QStringLiteral("history"), m_window);
    }
    m_history->showLottery(m_archive.get(), lottery, m_unavailable);
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

} // namespace zuohao::gui
