// The main window's life: load, first activation, closing, the lottery tabs and the reaction
// to new draws of the active lottery.
#include "gui/app/LotteryForm.h"

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/model/Captions.h"
#include "core/model/LotteryKind.h"
#include "core/model/NumberTables.h"
#include "gui/acquire/DemoFeed.h"
#include "gui/acquire/ServerTime.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/FeedLog.h"
#include "gui/app/NotifyLink.h"
#include "gui/app/TabLabel.h"
#include "gui/common/DrawSources.h"
#include "gui/common/LastingNote.h"
#include "gui/common/QtText.h"
#include "gui/common/Settings.h"
#include "gui/common/WorkGate.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"
#include "store/FileIdentity.h"

// Resources of a static library are registered by hand.
static void initAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace zuohao::gui {

namespace {
// The draw file is the one named by the path box at the moment of reading. The archive (or
// its log) named as the draw file is never read: closing a file SQLite holds, opened by other
// means, drops this process's locks on it and lets another program delete the live log.
class PathBoxSource : public DrawSource {
public:
    PathBoxSource(const QLineEdit* box, std::function<std::string()> archivePath)
        : m_box(box), m_archivePath(std::move(archivePath)) {}
    std::optional<std::string> ReadText() override {
        const std::string path = m_box->text().toStdString();
        m_isArchive = isArchive(path);
        if (m_isArchive) return std::nullopt;
        m_file.setPath(path);
        return m_file.ReadText();
    }
    std::string lastProblem() const override {
        return m_isArchive ? std::string("开奖文件是本程序的历史库，不能读取")
                           : m_file.lastProblem();
    }

private:
    bool isArchive(const std::string& path) const {
        return m_archivePath && store::ArchivePartAt(path, m_archivePath()).has_value();
    }

    const QLineEdit* m_box;
    std::function<std::string()> m_archivePath;
    FileDrawSource m_file;
    bool m_isArchive = false;
};

// The history grid at start-up: its header row and a row for each draw a lottery holds.
constexpr int kStartUpGridRows = 1 + int(kHeldDraws);

// The user's own copy of the fixed initialisation file (none for a file given by --ini).
QString userIniCopy(const AppOptions& options, const QString& iniPath) {
    if (!options.iniCopyPath.isEmpty()) return options.iniCopyPath;
    return iniPath == DefaultIniPath() ? UserIniPath() : QString();
}
} // namespace

LotteryForm::LotteryForm(const AppOptions& options, QWidget* parent)
    : QMainWindow(parent), m_options(options) {
    initAppResources();
    setObjectName(QStringLiteral("LotteryForm"));
    setWindowTitle(QStringLiteral("做号计划 zuohao"));
    m_iniPath = options.iniPath.isEmpty() ? DefaultIniPath() : options.iniPath;
    m_time = std::make_unique<TimeService>(options.timeUrl);
    m_feedLog = std::make_unique<FeedLog>(options.feedLog);
    m_windowLink = DesktopWindowLink::create();
    m_form.RedrawPlanDisplay = [this] { RedrawPlanDisplay(); };
    m_form.ShowLabelTxt = [this](const QString& t) { ShowLabelTxt(t); };
    m_form.ForgetPickedWindow = [this](int k) { m_hands->clearPick(k); };
    m_form.ShowMonitor = [this] { m_jianKong->Kasi(); };
    buildWindow();
    m_drawSource = std::make_unique<PathBoxSource>(
        m_zelkc, [this] { return m_archive ? toStd(m_archive->path()) : std::string(); });
    wire();
    wireRefresh();
    Form_Load();
}

LotteryForm::~LotteryForm() = default;

LotteryClass& LotteryForm::Lotteries(int index) {
    auto& slot = m_lotteries.at(std::size_t(index));
    if (!slot) {
        slot = std::make_unique<LotteryClass>();
        slot->setDrawSource(m_drawSource.get());
        slot->setPollInterval(std::chrono::milliseconds(m_options.pollMs));
    }
    return *slot;
}

void LotteryForm::BuildLotteryTable() {
    for (int i = 0; i < int(kLotteryKinds.size()); ++i) {
        LotteryClass& lot = Lotteries(i);
        lot.setName(kLotteryKinds[std::size_t(i)].name);
        lot.setIndex(i);
    }
}

void LotteryForm::Form_Load() {
    m_picture4->setEnabled(false);
    // The delay, normalised and stored back by the delay box's own change behaviour.
    m_panel->setDelay(ParseDelay(ReadDelaySetting()));
    m_panel->setCountdown(m_form.Yanchi);
    const QPixmap meng(QStringLiteral(":/app/meng.png"));
    if (!meng.isNull()) m_mengImage->setPixmap(meng); // a missing picture is not fatal
    BuildLotteryTable();
    BuildNumberTables();
    BuildLotteryMenu();
    m_timerGetHwnd->stop();
    m_timerGetHwnd->setInterval(1000);
    m_form.ActiveCls = &Lotteries(0);
    if (m_options.demo) {
        m_demo = new DemoFeed(m_options.demoInterval, this);
        if (m_demo->start()) {
            m_zelkc->setText(QDir::toNativeSeparators(m_demo->path()));
            m_panel->setPlanPrompt(DemoPrompt(m_options.demoInterval));
        } else
            ShowLabelTxt(QStringLiteral("演示开奖文件无法写入"));
    } else if (!m_options.drawFile.isEmpty()) {
        m_zelkc->setText(QDir::toNativeSeparators(m_options.drawFile));
    } else {
        const QString readFrom = IniReadPath(m_iniPath, userIniCopy(m_options, m_iniPath));
        m_zelkc->setText(QDir::toNativeSeparators(GetFromINI(kIniSection, kIniKey, readFrom)));
        // The status line is rewritten at once (and every refresh): this stays till read.
        if (readFrom != m_iniPath) m_lastingNote->showNote(SettingsInUserCopyText(readFrom));
    }
    m_grid->PrepareHistoryGrid(kStartUpGridRows, QString::fromUtf8(kLotteryKinds[0].name),
                               QStringLiteral(" 万千百"));
    LayoutConditionsPanel();
    m_panel->setAutoMaking(true);
    m_panel->WeiOption_Click(9);
    m_selectedIndex = -1;
    MenuItemLabel_Click(0);
    m_jianKong->prepareAtStartUp(); // hidden; its lists start from valid entries
    Lotteries(0).monitor().SavedStart = StartButton::Start;
    m_archive = ArchiveLink::attach(*this, m_options, m_demo, m_zelkc, m_luJing);
    // The analyses read the archive, then the draws read since.
    const auto archivePath = [this] {
        return m_archive ? toStd(m_archive->path()) : std::string();
    };
    m_planStats->setDrawSource(DrawSourceOf(archivePath, [this] { return m_form.ActiveCls; }));
    m_jianKong->setDrawSource(DrawSourceOf(archivePath, [this] { return m_jianKong->lottery(); }));
    m_notify = std::make_unique<NotifyLink>(*this);
    restoreWork();
    buildKeyboard();
}

QString DemoPrompt(double intervalSeconds) {
    return QStringLiteral("演示：稍后开出第一期，之后每 %1 秒一期。勾选走势表上方的列、点胆码或"
                          "粘贴杀号，再点“开始缩水”：计划每期的结果写在这里。")
        .arg(intervalSeconds);
}

void LotteryForm::Form_Activate() {
    if (m_form.IsActivated || m_activating) return;
    m_activating = true; // the file dialog the history load may open runs an event loop
    loadHistory(Lotteries(0), AskForFile::Yes);
    m_form.IsActivated = true;
    m_activating = false;
    m_getNewTimer->setInterval(m_options.pollMs);
    m_getNewTimer->start();
}

void LotteryForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_form.IsActivated) QTimer::singleShot(0, this, &LotteryForm::Form_Activate);
}

bool LotteryForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_form.IsActivated)
        QTimer::singleShot(0, this, &LotteryForm::Form_Activate);
    return QMainWindow::event(event);
}

void LotteryForm::storeDrawPath() {
    // The demo's own file is never stored as the betting program's file.
    if (m_options.demo) return;
    // A failed write of the fixed file goes to the user's own copy; one that goes nowhere
    // leaves the old file untouched and says so. Stored as the old program and its peers write
    // it (C:\...), whatever was typed.
    const IniWriteResult written =
        WriteIniWithFallback(kIniSection, kIniKey, QDir::toNativeSeparators(m_zelkc->text()),
                             m_iniPath, userIniCopy(m_options, m_iniPath));
    if (!written.ok)
        ShowLabelTxt(SettingsNotSavedText(written));
    else if (written.path != m_iniPath)
        m_lastingNote->showNote(SettingsInUserCopyText(written.path));
}

void LotteryForm::Form_QueryUnload() {
    m_panel->commitDelay(); // a delay still being typed is kept
    saveWork();
    storeDrawPath();
    m_getNewTimer->stop();
    m_time->cancel(); // a refresh waiting for the time service ends here
    m_timerGetHwnd->stop();
    m_jianKong->close();
}

void LotteryForm::closeEvent(QCloseEvent* event) {
    // Kept running in the tray: the window only hides, the refresh and the monitor go on.
    if (m_notify && m_notify->keepRunningOnClose()) {
        event->ignore();
        hide();
        return;
    }
    Form_QueryUnload();
    event->accept();
    QApplication::quit();
}

void LotteryForm::ActiveCls_OnLotteryRefresh() {
    LotteryClass& lot = *m_form.ActiveCls;
    m_picture4->setEnabled(lot.hasHistory());
    RedrawPlanDisplay();
    m_panel->ShowFormSet();
    if (!m_form.IsActivated || !lot.hasPlan()) return;
    if (m_form.Yanchi < 1)
        transferFromWindows();
    else
        startCountdown();
}

void LotteryForm::BuildLotteryMenu() {
    for (int i = 0; i < 4; ++i) {
        if (!LotteryKindAt(i)) {
            m_menuItemPic[i]->hide();
            continue;
        }
        m_menuItemLabel[i]->setText(QString::fromStdString(Lotteries(i).name()));
        m_menuItemLabel[i]->setAccessibleName(m_menuItemLabel[i]->text());
        m_menuItemLabel[i]->setToolTip(noSourceTip(i));
    }
}

QString LotteryForm::noSourceNote(int index) const {
    const LotteryKind* kind = LotteryKindAt(index);
    if (!kind || kind->hasDrawSource) return {};
    return QStringLiteral("%1还没有开奖文件（“取路径”的文件只有%2）")
        .arg(QString::fromUtf8(kind->name), QString::fromUtf8(kLotteryKinds[0].name));
}

QString LotteryForm::noSourceTip(int index) const {
    const LotteryKind* kind = LotteryKindAt(index);
    if (!kind || kind->hasDrawSource) return {};
    return QStringLiteral("%1还没有开奖文件：挂机文本（“取路径”选择的文件）只提供%2的开奖，"
                          "%1的开奖暂时无法读取；要做号请点选“%2”")
        .arg(QString::fromUtf8(kind->name), QString::fromUtf8(kLotteryKinds[0].name));
}

void LotteryForm::HighlightMenuItem(int index) {
    const QColor highlight = palette().color(QPalette::Highlight);
    for (int i = 0; i < 4; ++i) {
        const bool on = i == index;
        m_menuItemPic[i]->setStyleSheet(
            QStringLiteral("QFrame#%1 { border: 1px solid %2; background: %3; }")
                .arg(m_menuItemPic[i]->objectName(), highlight.name(),
                     on ? highlight.name() : QStringLiteral("#F6F6F6")));
        m_menuItemLabel[i]->setStyleSheet(
            QStringLiteral("color: %1; font-weight: %2; background: transparent;")
                .arg(on ? QStringLiteral("white") : QStringLiteral("#808080"),
                     on ? QStringLiteral("bold") : QStringLiteral("normal")));
    }
}

void LotteryForm::MenuItemLabel_Click(int index) {
    if (index == m_selectedIndex || !LotteryKindAt(index)) return;
    m_selectedIndex = index;
    HighlightMenuItem(index);
    m_form.ActiveCls = &Lotteries(index);
    if (m_form.ActiveCls->hasHistory()) {
        ShowLabelTxt(QStringLiteral("正在写入数据,请稍后......"));
        RedrawPlanDisplay();
    }
    m_panel->ShowFormSet();
    // The base set and the plan shown are the chosen lottery's own.
    const LotteryClass& lot = *m_form.ActiveCls;
    m_panel->showBaseSet();
    m_panel->setPlanText(lot.hasPlan() && lot.newestDraw() ? toQ(lot.newestDraw()->PlanTxt())
                                                           : QString());
    const QString note = noSourceNote(index);
    ShowLabelTxt(QStringLiteral("最后刷新时间:  ") +
                 TimeService::LocalStatusTime(QDateTime::currentDateTime()) +
                 (note.isEmpty() ? QString() : QStringLiteral("    ") + note));
}

void LotteryForm::ShowLabelTxt(const QString& text) {
    m_showLabel->setText(text);
    m_showLabel->setToolTip(text); // the whole text where the line is too narrow for it
    m_showLabel->repaint();
}

void LotteryForm::LuJing_Click() {
    std::optional<QString> name = askOpenFileName(this, m_zelkc->text());
    if (!name) return;
    m_zelkc->setText(*name);
    storeDrawPath();
    loadHistory(Lotteries(0), AskForFile::Yes);
}

} // namespace zuohao::gui
