// Construction, layout and signal wiring of the main window.
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/app/ArchiveLink.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/RefreshCycle.h"
#include "gui/app/TabLabel.h"
#include "gui/app/TabStrip.h"
#include "gui/app/TransferCountdown.h"
#include "gui/common/Keyboard.h"
#include "gui/common/LastingNote.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/WindowPlacement.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"

namespace zuohao::gui {

namespace {
// The narrowest window the panels fit in; the history grid scrolls sideways below that.
constexpr int kMinimumWidth = 1000;
constexpr int kDefaultWidth = 1360;
constexpr int kDefaultHeight = 730;
constexpr int kPathMinimumWidth = 240;
constexpr int kPictureWidth = 36; // the picture beside the help links
constexpr int kPictureHeight = 18;
} // namespace

void LotteryForm::buildWindow() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTabStrip(central));
    m_linePic = new QFrame(central);
    m_linePic->setObjectName(QStringLiteral("LinePic"));
    m_linePic->setFixedHeight(3);
    m_linePic->setStyleSheet(
        QStringLiteral("background: %1;").arg(palette().color(QPalette::Highlight).name()));
    column->addWidget(m_linePic);
    column->addWidget(buildWorkArea(central), 1);
    // Notes the status line would lose at the next refresh stay here until dismissed.
    m_lastingNote = new LastingNote(central);
    column->addWidget(m_lastingNote);
    setCentralWidget(central);

    m_showLabel = new QLabel(QStringLiteral("请选择点击彩票种类"), this);
    m_showLabel->setObjectName(QStringLiteral("showLabel"));
    statusBar()->addWidget(m_showLabel, 1);
    // Shown only while the draw file has given nothing usable for a while: opens the file
    // dialog on a click (never by itself).
    m_fileLink = new QPushButton(QStringLiteral("重新选择开奖文件"), this);
    m_fileLink->setObjectName(QStringLiteral("drawFileLink"));
    m_fileLink->setFlat(true);
    m_fileLink->setStyleSheet(QStringLiteral("color: #C00000; text-decoration: underline;"));
    m_fileLink->hide();
    statusBar()->addWidget(m_fileLink);
    buildHelpLinks();
    buildTimersAndMonitor();
    fitScreen();
}

// The tab strip over the shown lottery's draw file path and the window buttons.
QWidget* LotteryForm::buildTabStrip(QWidget* parent) {
    m_menuPic = new QWidget(parent);
    m_menuPic->setObjectName(QStringLiteral("MenuPic"));
    auto* rows = new QVBoxLayout(m_menuPic);
    rows->setContentsMargins(10, 2, 6, 2);
    rows->setSpacing(2);
    // Every lottery of the list, on a row of their own; it scrolls sideways when they do not fit.
    m_tabs = new TabStrip(m_menuPic);
    rows->addWidget(m_tabs);
    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(10);
    rows->addLayout(tabs);
    tabs->addWidget(new QLabel(QStringLiteral("挂机文本："), m_menuPic));
    m_zelkc = new QLineEdit(m_menuPic);
    m_zelkc->setObjectName(QStringLiteral("zelkc"));
    m_zelkc->setMinimumWidth(kPathMinimumWidth);
    m_zelkc->setToolTip(QStringLiteral("挂机投注程序为当前彩票写入的开奖文本文件"));
    tabs->addWidget(m_zelkc, 1);
    m_luJing = new QPushButton(QStringLiteral("取路径"), m_menuPic);
    m_luJing->setObjectName(QStringLiteral("路径"));
    tabs->addWidget(m_luJing);
    m_jianKongCmd = new QPushButton(QStringLiteral("【监 控】设 置"), m_menuPic);
    m_jianKongCmd->setObjectName(QStringLiteral("JianKongCmd"));
    tabs->addWidget(m_jianKongCmd);
    m_planStatsCmd = new QPushButton(QStringLiteral("计划统计"), m_menuPic);
    m_planStatsCmd->setObjectName(QStringLiteral("PlanStatsCmd"));
    tabs->addWidget(m_planStatsCmd);
    m_lotteriesCmd = new QPushButton(QStringLiteral("彩票设置"), m_menuPic);
    m_lotteriesCmd->setObjectName(QStringLiteral("LotteriesCmd"));
    m_lotteriesCmd->setAccessibleDescription(
        QStringLiteral("添加、改名或删除彩票，为每种彩票选择开奖文件"));
    tabs->addWidget(m_lotteriesCmd);
    return m_menuPic;
}

// The history grid over the conditions panel.
QWidget* LotteryForm::buildWorkArea(QWidget* parent) {
    m_picture4 = new QWidget(parent);
    m_picture4->setObjectName(QStringLiteral("Picture4"));
    auto* work = new QVBoxLayout(m_picture4);
    work->setContentsMargins(2, 2, 2, 2);
    work->setSpacing(2);
    m_grid = new HistoryGrid(m_picture4);
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_grid->setMinimumHeight(250);
    // The grid is wider than a small screen: it scrolls sideways instead of widening the window.
    m_grid->setMinimumWidth(0);
    work->addWidget(m_grid, 1);
    auto* lower = new QHBoxLayout;
    m_panel = new MakingPanel(m_form, m_picture4);
    m_panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum); // the grid takes the rest
    lower->addWidget(m_panel, 1);
    work->addLayout(lower);
    m_hands = new HandPicker(*m_windowLink, m_picture4);
    m_hands->setObjectName(QStringLiteral("HandPicker"));
    return m_picture4;
}

// The help links and the picture, at the right of the status line: each opens its page of
// the program's own help window.
void LotteryForm::buildHelpLinks() {
    auto link = [this](const QString& name, const QString& text, HelpWindow::Page page) {
        auto* l = new QLabel(QStringLiteral("<a href=\"help\">%1</a>").arg(text), this);
        l->setObjectName(name);
        l->setAccessibleName(text);
        connect(l, &QLabel::linkActivated, this, [this, page] { showHelp(page); });
        statusBar()->addPermanentWidget(l);
    };
    link(QStringLiteral("Label3"), QStringLiteral("专注分分彩 做号 · 计划"),
         HelpWindow::Page::About);
    const QString links[3] = {QStringLiteral("使用说明"), QStringLiteral("规则说明"),
                              QStringLiteral("关于本程序")};
    const HelpWindow::Page pages[3] = {HelpWindow::Page::Usage, HelpWindow::Page::Rules,
                                       HelpWindow::Page::About};
    for (int i = 0; i < 3; ++i)
        link(QStringLiteral("Label1_%1").arg(i), links[i], pages[i]);
    m_mengImage = new TabLabel(this);
    m_mengImage->setObjectName(QStringLiteral("MengImage"));
    m_mengImage->setCursor(Qt::PointingHandCursor);
    m_mengImage->setFixedSize(kPictureWidth, kPictureHeight);
    m_mengImage->setScaledContents(true);
    statusBar()->addPermanentWidget(m_mengImage);
}

void LotteryForm::showHelp(HelpWindow::Page page) {
    if (!m_help) {
        const QString archive = m_archive ? m_archive->path() : QString();
        m_help = new HelpWindow(
            QFileInfo(archive.isEmpty() ? ArchiveLink::defaultPath() : archive).absolutePath(),
            this);
        PlaceOver(m_help, QStringLiteral("help"), this);
    }
    m_help->showPage(page);
}

void LotteryForm::buildTimersAndMonitor() {
    m_getNewTimer = new QTimer(this);
    m_getNewTimer->setObjectName(QStringLiteral("GetNewTimer"));
    m_jianKong = new JianKongForm(
        [this] {
            std::vector<LotteryClass*> tabs;
            for (int i = 0; i < m_desk->count(); ++i)
                tabs.push_back(&Lotteries(i));
            return tabs;
        },
        this);
    m_planStats = new PlanStatsWindow([this] { return m_form.ActiveCls; }, this);
}

// Fits a 1366 x 768 screen; grows with larger ones; works down to 1024 pixels wide. Comes
// back where the player left it when that still fits the screen.
void LotteryForm::fitScreen() {
    setMinimumWidth(kMinimumWidth);
    resize(kDefaultWidth, kDefaultHeight);
    new WindowPlacement(this, QStringLiteral("main"), [this] {
        const QScreen* s = screen();
        const QRect avail = s ? s->availableGeometry() : QRect(QPoint(), size());
        return QRect(avail.topLeft(), QSize(kDefaultWidth, kDefaultHeight));
    });
    PlaceOver(m_jianKong, QStringLiteral("monitor"), this, Qt::AlignRight | Qt::AlignTop);
    PlaceOver(m_planStats, QStringLiteral("planStats"), this);
}

void LotteryForm::buildKeyboard() {
    m_zelkc->setAccessibleName(QStringLiteral("挂机文本路径"));
    SetShortcut(m_jianKongCmd, QKeySequence(Qt::CTRL | Qt::Key_M), QStringLiteral("打开监控窗口"));
    SetShortcut(m_planStatsCmd, QKeySequence(Qt::CTRL | Qt::Key_T),
                QStringLiteral("用历史开奖检验当前条件的计划"));
    // The selection boxes over the grid follow the mouse (one per column); the keyboard
    // reaches the selections through the selection row.
    for (int i = 0; i < kCheckCount; ++i)
        if (QCheckBox* box = m_grid->selectCheck(i)) box->setFocusPolicy(Qt::ClickFocus);
    QList<QWidget*> chain{m_zelkc, m_luJing, findChild<QPushButton*>(QStringLiteral("HistoryCmd"))};
    chain << m_panel->tabChain();
    chain << m_grid->view() << m_jianKongCmd << m_planStatsCmd << m_lotteriesCmd;
    SetTabChain(chain);
}

// Each hand stands beside the box it fills: hands 0 and 1 in the kill-list panels, hands 2-4
// beside the extra-digit boxes.
void LotteryForm::LayoutConditionsPanel() {
    for (int k = 0; k < 2; ++k)
        m_panel->placeKillHand(k, m_hands->hand(k), m_hands->handleLabel(k));
    for (int k = 0; k < 3; ++k)
        m_panel->placeDigitHand(k, m_hands->hand(k + 2), m_hands->handleLabel(k + 2));
    m_hands->hide(); // its hands now live in the panels
    // Each hand says what it fills: the generic text does not tell five hands apart.
    static const char* const kFills[5] = {"三星杀号", "四星杀号", "和尾加码", "冷热加码",
                                          "三合加码"};
    for (int k = 0; k < 5; ++k) {
        const QString fills = QString::fromUtf8(kFills[k]);
        QWidget* hand = m_hands->hand(k);
        hand->setToolTip(QStringLiteral("取窗口：按住手形图标拖到要读取的窗口上再松开，"
                                        "该窗口的文字填入“%1”")
                             .arg(fills));
        hand->setAccessibleName(QStringLiteral("取窗口 %1").arg(fills));
        hand->setAccessibleDescription(hand->toolTip());
    }
    m_grid->setSelectionRow(m_panel->selectionTexts(), m_panel->countTexts());
    std::array<QCheckBox*, kCheckCount> boxes{};
    for (int i = 0; i < kCheckCount; ++i)
        boxes[i] = m_grid->selectCheck(i);
    m_panel->attachSelectChecks(boxes);
}

void LotteryForm::wire() {
    connect(m_tabs, &TabStrip::tabClicked, this, &LotteryForm::MenuItemLabel_Click);
    connect(m_zelkc, &QLineEdit::textEdited, this, &LotteryForm::drawFileTyped);
    connect(m_zelkc, &QLineEdit::editingFinished, this, &LotteryForm::drawFileEntered);
    connect(m_luJing, &QPushButton::clicked, this, &LotteryForm::LuJing_Click);
    connect(m_fileLink, &QPushButton::clicked, this, &LotteryForm::LuJing_Click);
    connect(m_jianKongCmd, &QPushButton::clicked, this, &LotteryForm::JianKongCmd_Click);
    connect(m_planStatsCmd, &QPushButton::clicked, m_planStats, &PlanStatsWindow::showAndRaise);
    connect(m_lotteriesCmd, &QPushButton::clicked, this, &LotteryForm::showLotterySettings);
    connect(static_cast<TabLabel*>(m_mengImage), &TabLabel::clicked, this,
            [this] { showHelp(HelpWindow::Page::About); });
    connect(m_getNewTimer, &QTimer::timeout, m_cycle.get(), &RefreshCycle::timerFired);
    connect(m_hands, &HandPicker::windowPicked, this, &LotteryForm::CaptureFromHand);
    connect(m_windowLink.get(), &DesktopWindowLink::statusMessage, this,
            &LotteryForm::ShowLabelTxt);
    connect(m_panel, &MakingPanel::planCleared, m_countdown.get(),
            qOverload<>(&TransferCountdown::stop));
    connect(m_jianKong, &JianKongForm::restartSkipped, this, &LotteryForm::monitorRestartSkipped);
}

} // namespace zuohao::gui
