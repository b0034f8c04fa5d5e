#include "gui/lotteries/LotterySettingsWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/model/LotteryName.h"
#include "gui/common/Keyboard.h"
#include "gui/common/Seams.h"

namespace zuohao::gui {

namespace {
const char* const kProblemStyle = "color: #C00000;";
constexpr int kListWidth = 200;
constexpr int kNameMaxChars = int(kMaxLotteryNameChars);
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 320;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A label for `field` whose text is also the field's accessible name.
QLabel* captionFor(const QString& caption, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    field->setAccessibleName(CaptionName(QString(caption).remove(u'&')));
    return label;
}
} // namespace

LotterySettingsWindow::LotterySettingsWindow(const LotteryRegistry& registry, QWidget* parent)
    : QWidget(parent, Qt::Window), m_registry(registry) {
    setWindowTitle(QStringLiteral("彩票设置"));
    setObjectName(QStringLiteral("LotterySettingsWindow"));
    buildControls();
    setRegistry(registry);
}

void LotterySettingsWindow::buildControls() {
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LotteryList"));
    m_list->setFixedWidth(kListWidth);
    auto* listCaption = captionFor(QStringLiteral("彩票(&L)"), m_list, this);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("LotteryName"));
    m_name->setMaxLength(kNameMaxChars);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("LotteryProblem"));
    m_problem->setStyleSheet(QString::fromLatin1(kProblemStyle));
    m_problem->setWordWrap(true);
    m_problem->hide();

    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("LotteryDrawFile"));
    m_choose = new QPushButton(QStringLiteral("选择…"), this);
    m_choose->setObjectName(QStringLiteral("LotteryChooseFile"));
    m_choose->setAccessibleName(QStringLiteral("选择…"));
    m_choose->setAccessibleDescription(QStringLiteral("选择这种彩票的开奖文件"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(m_choose);

    m_naming = new QComboBox(this);
    m_naming->setObjectName(QStringLiteral("LotteryNaming"));
    m_naming->addItem(QStringLiteral("日期期号（年月日+4位，每天1440期）"));
    m_naming->addItem(QStringLiteral("当日期数（3位，001起）"));
    m_perDay = new QSpinBox(this);
    m_perDay->setObjectName(QStringLiteral("LotteryPerDay"));
    m_perDay->setRange(1, kPeriodsPerDay);

    auto* form = new QFormLayout;
    form->addRow(captionFor(QStringLiteral("名称(&N)"), m_name, this), m_name);
    form->addRow(QString(), m_problem);
    form->addRow(captionFor(QStringLiteral("开奖文件(&F)"), m_file, this), fileRow);
    form->addRow(captionFor(QStringLiteral("期号(&Q)"), m_naming, this), m_naming);
    form->addRow(captionFor(QStringLiteral("每天期数(&D)"), m_perDay, this), m_perDay);

    m_add = new QPushButton(QStringLiteral("添加"), this);
    m_rename = new QPushButton(QStringLiteral("改名"), this);
    m_remove = new QPushButton(QStringLiteral("删除"), this);
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    m_add->setObjectName(QStringLiteral("LotteryAdd"));
    m_rename->setObjectName(QStringLiteral("LotteryRename"));
    m_remove->setObjectName(QStringLiteral("LotteryRemove"));
    m_close->setObjectName(QStringLiteral("LotteryClose"));
    m_close->setAccessibleName(QStringLiteral("关闭"));
    m_close->setAccessibleDescription(QStringLiteral("关闭彩票设置（Esc）"));
    SetShortcut(m_add, QKeySequence(QStringLiteral("Ctrl+N")),
                QStringLiteral("以“名称”添加一种彩票"));
    SetShortcut(m_remove, QKeySequence::Delete);
    m_rename->setAccessibleName(QStringLiteral("改名"));
    m_rename->setToolTip(QStringLiteral("把选中的彩票改成“名称”（F2 开始改名，Enter 确定）"));
    m_rename->setAccessibleDescription(m_rename->toolTip());
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, &LotterySettingsWindow::beginRename);
    // Escape gives up a rename under way, else closes the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (!m_renaming) {
            close();
            return;
        }
        m_renaming = false;
        showProblem({});
        showCurrent();
        m_list->setFocus();
    });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_add, m_rename, m_remove})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_close);

    auto* hint = new QLabel(QStringLiteral("写下新彩票的名称后按“添加”（Enter）；选中一种彩票，"
                                           "按 F2 改名，按 Delete 删除。内置的两种彩票只能设置"
                                           "开奖文件。"),
                            this);
    hint->setObjectName(QStringLiteral("LotteryHint"));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: #606060;"));
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(hint);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(m_list, 1);
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(right, 1);
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        m_renaming = false;
        showProblem({});
        showCurrent();
    });
    connect(m_name, &QLineEdit::returnPressed, this,
            [this] { m_renaming ? renameCurrent() : addLottery(); });
    connect(m_name, &QLineEdit::textEdited, this, [this] { showProblem({}); });
    connect(m_file, &QLineEdit::editingFinished, this, &LotterySettingsWindow::applyDrawFile);
    connect(m_choose, &QPushButton::clicked, this, &LotterySettingsWindow::chooseDrawFile);
    connect(m_naming, &QComboBox::currentIndexChanged, this, &LotterySettingsWindow::applyNaming);
    connect(m_perDay, &QSpinBox::valueChanged, this, &LotterySettingsWindow::applyNaming);
    connect(m_add, &QPushButton::clicked, this, &LotterySettingsWindow::addLottery);
    connect(m_rename, &QPushButton::clicked, this, &LotterySettingsWindow::renameCurrent);
    connect(m_remove, &QPushButton::clicked, this, &LotterySettingsWindow::removeCurrent);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    SetTabChain(
        {m_list, m_name, m_file, m_choose, m_naming, m_perDay, m_add, m_rename, m_remove, m_close});
}

void LotterySettingsWindow::setRegistry(const LotteryRegistry& registry) {
    const int keep = currentIndex();
    m_registry = registry;
    m_showing = true;
    m_list->clear();
    for (const LotteryEntry& e : m_registry.entries())
        m_list->addItem(q(e.name));
    m_showing = false;
    selectLottery(keep >= 0 && keep < m_registry.size() ? keep : 0);
    showCurrent();
}

int LotterySettingsWindow::currentIndex() const {
    return m_list->currentRow();
}

void LotterySettingsWindow::selectLottery(int index) {
    m_list->setCurrentRow(index);
}

QString LotterySettingsWindow::problem() const {
    return m_problem->isHidden() ? QString() : m_problem->text();
}

void LotterySettingsWindow::showCurrent() {
    const LotteryEntry* e = m_registry.at(currentIndex());
    m_showing = true;
    m_name->setText(e ? q(e->name) : QString());
    m_file->setText(e ? q(e->drawFile) : QString());
    const bool dayCount = e && e->naming == PeriodNaming::DayCount;
    m_naming->setCurrentIndex(dayCount ? 1 : 0);
    m_perDay->setValue(e ? e->periodsPerDay : kPeriodsPerDay);
    m_showing = false;

    const bool fixed = e && e->fixed;
    const QString fixedWhy = QString::fromUtf8(kFixedLotteryCaption);
    m_remove->setEnabled(e && !fixed);
    m_rename->setEnabled(e && !fixed);
    m_naming->setEnabled(e && !fixed);
    m_perDay->setEnabled(e && !fixed && dayCount);
    m_file->setEnabled(e != nullptr);
    m_choose->setEnabled(e != nullptr);
    const QString removeTip = fixed ? fixedWhy : QStringLiteral("删除选中的彩票（Delete）");
    m_remove->setToolTip(removeTip);
    m_remove->setAccessibleDescription(removeTip);
    const QString renameTip =
        fixed ? fixedWhy : QStringLiteral("把选中的彩票改成“名称”（F2 开始改名，Enter 确定）");
    m_rename->setToolTip(renameTip);
    m_rename->setAccessibleDescription(renameTip);
    const QString namingTip =
        fixed ? QString::fromUtf8(kFixedNamingCaption) : QStringLiteral("这种彩票的期号写法");
    m_naming->setToolTip(namingTip);
    m_naming->setAccessibleDescription(namingTip);
    m_add->setEnabled(m_registry.size() < kMaxLotteries);
}

void LotterySettingsWindow::showProblem(const QString& text) {
    m_problem->setText(text);
    m_problem->setAccessibleName(text);
    m_problem->setVisible(!text.isEmpty());
    m_name->setAccessibleDescription(text);
}

void LotterySettingsWindow::changed() {
    emit registryChanged(m_registry);
}

void LotterySettingsWindow::addLottery() {
    const auto added = m_registry.add(m_name->text().toStdString());
    if (!added) {
        showProblem(q(added.error()));
        m_name->setFocus();
        return;
    }
    m_renaming = false;
    m_list->addItem(q(m_registry.at(*added)->name));
    selectLottery(*added);
    showProblem({});
    changed();
    // The new lottery's draw file comes next.
    m_file->setFocus();
}

void LotterySettingsWindow::beginRename() {
    const LotteryEntry* e = m_registry.at(currentIndex());
    if (!e) return;
    if (e->fixed) {
        showProblem(QString::fromUtf8(kFixedLotteryCaption));
        return;
    }
    m_renaming = true;
    m_name->setFocus();
    m_name->selectAll();
}

void LotterySettingsWindow::renameCurrent() {
    const int index = currentIndex();
    if (auto renamed = m_registry.rename(index, m_name->text().toStdString()); !renamed) {
        showProblem(q(renamed.error()));
        m_name->setFocus();
        return;
    }
    m_renaming = false;
    m_list->item(index)->setText(q(m_registry.at(index)->name));
    showProblem({});
    showCurrent();
    changed();
}

void LotterySettingsWindow::removeCurrent() {
    const int index = currentIndex();
    if (auto removed = m_registry.remove(index); !removed) {
        showProblem(q(removed.error()));
        return;
    }
    m_showing = true;
    delete m_list->takeItem(index);
    m_showing = false;
    selectLottery(std::min(index, m_registry.size() - 1));
    showCurrent();
    changed();
    m_list->setFocus();
}

void LotterySettingsWindow::chooseDrawFile() {
    if (!m_registry.at(currentIndex())) return;
    const auto chosen = seams().openFileName(this, m_file->text());
    if (!chosen) return;
    m_file->setText(*chosen);
    applyDrawFile();
}

void LotterySettingsWindow::applyDrawFile() {
    const int index = currentIndex();
    const LotteryEntry* e = m_registry.at(index);
    const std::string path = m_file->text().trimmed().toStdString();
    if (m_showing || !e || e->drawFile == path) return;
    // Any text is a path; whether it can be read is the draw reader's business.
    (void)m_registry.setDrawFile(index, path);
    changed();
}

void LotterySettingsWindow::applyNaming() {
    const int index = currentIndex();
    const LotteryEntry* e = m_registry.at(index);
    if (m_showing || !e || e->fixed) return;
    const PeriodNaming naming =
        m_naming->currentIndex() == 1 ? PeriodNaming::DayCount : PeriodNaming::DateLabel;
    // Switching the naming starts from its usual count; a date label always has 1440.
    int perDay = naming == e->naming ? m_perDay->value() : DefaultPeriodsPerDay(naming);
    if (naming == PeriodNaming::DateLabel) perDay = kPeriodsPerDay;
    if (auto set = m_registry.setNaming(index, naming, perDay); !set) {
        showProblem(q(set.error()));
        showCurrent();
        return;
    }
    showCurrent();
    changed();
}

} // namespace zuohao::gui
