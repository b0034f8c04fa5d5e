#include "gui/notify/NotifySettingsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "notify/MessageText.h"
#include "notify/NotificationCenter.h"
#include "notify/RobotRequest.h"

namespace zuohao::gui {

using namespace zuohao::notify;

namespace {
constexpr int kTypingPauseMs = 400; // typing is saved after this pause (and when leaving)
constexpr int kDefaultWidth = 860;
constexpr int kDefaultHeight = 640;

const QString kGood = QStringLiteral("color: #1B5E20;");
const QString kBad = QString::fromLatin1(kProblemStyle);
} // namespace

NotifySettingsWindow::NotifySettingsWindow(NotificationCenter& center,
                                           const NotifySettings& settings, const QString& path,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_center(center), m_settings(settings), m_path(path) {
    setObjectName(QStringLiteral("NotifySettingsWindow"));
    setWindowTitle(QStringLiteral("提醒设置"));
    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(kTypingPauseMs);
    auto* column = new QVBoxLayout(this);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(buildTargetList());
    split->addWidget(buildEditor());
    split->setStretchFactor(1, 1);
    column->addWidget(split, 3);
    column->addWidget(buildBottom(), 2);
    wireSignals();
    resize(kDefaultWidth, kDefaultHeight);
    refreshList();
    selectTarget(m_settings.targets.isEmpty() ? -1 : 0);
    showLog();
}

NotifySettingsWindow::~NotifySettingsWindow() = default;

void NotifySettingsWindow::wireSignals() {
    connect(m_list, &QListWidget::currentRowChanged, this, &NotifySettingsWindow::selectTarget);
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_list->row(item);
        if (m_showing || row < 0 || row >= m_settings.targets.size()) return;
        m_settings.targets[row].enabled = item->checkState() == Qt::Checked;
        commit();
    });
    connect(m_remove, &QPushButton::clicked, this, &NotifySettingsWindow::removeCurrentTarget);
    connect(m_test, &QPushButton::clicked, this, &NotifySettingsWindow::testCurrentTarget);
    connect(m_reveal, &QPushButton::toggled, this, [this](bool on) {
        const auto mode = on ? QLineEdit::Normal : QLineEdit::Password;
        m_url->setEchoMode(mode);
        m_secret->setEchoMode(mode);
    });
    for (QLineEdit* l : {m_name, m_url, m_secret, m_keyword})
        connect(l, &QLineEdit::textEdited, this, &NotifySettingsWindow::editorEdited);
    connect(m_contentType, &QComboBox::editTextChanged, this, &NotifySettingsWindow::editorEdited);
    connect(m_template, &QPlainTextEdit::textChanged, this, &NotifySettingsWindow::editorEdited);
    connect(m_typing, &QTimer::timeout, this, &NotifySettingsWindow::commitEditor);
    for (QComboBox* c : {m_kind, m_method})
        connect(c, &QComboBox::activated, this, &NotifySettingsWindow::commitEditor);
    for (QCheckBox* c : m_events)
        connect(c, &QCheckBox::toggled, this, &NotifySettingsWindow::commitEditor);
    connect(m_onClose, &QComboBox::activated, this, [this](int index) {
        m_settings.onClose = CloseChoice(index);
        commit();
    });
    connect(&m_center, &NotificationCenter::logChanged, this, &NotifySettingsWindow::showLog);
    connect(&m_center, &NotificationCenter::testAnswered, this,
            &NotifySettingsWindow::testAnswered);
}

// ---- Intents ---------------------------------------------------------------------------

void NotifySettingsWindow::setSettings(const NotifySettings& settings) {
    m_settings = settings;
    refreshList();
    selectTarget(
        m_settings.targets.isEmpty() ? -1 : qBound(0, m_row, int(m_settings.targets.size()) - 1));
}

void NotifySettingsWindow::showProblem(const QString& text) {
    m_problem->setText(text);
    m_problem->setVisible(!text.isEmpty());
}

void NotifySettingsWindow::addTarget(TargetKind kind) {
    commitEditor();
    m_settings.targets.append(newTarget(kind));
    commit();
    refreshList();
    selectTarget(int(m_settings.targets.size()) - 1);
}

void NotifySettingsWindow::removeCurrentTarget() {
    if (!current()) return;
    m_typing->stop();
    m_settings.targets.removeAt(m_row);
    commit();
    refreshList();
    selectTarget(qMin(m_row, int(m_settings.targets.size()) - 1));
}

void NotifySettingsWindow::selectTarget(int row) {
    if (row != m_row) commitEditor();
    m_row = row;
    if (m_list->currentRow() != row) {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentRow(row);
    }
    m_answer->clear();
    showCurrent();
}

void NotifySettingsWindow::testCurrentTarget() {
    commitEditor();
    const Target* t = current();
    if (!t) return;
    m_answer->setStyleSheet(QString());
    m_answer->setText(QStringLiteral("正在发送测试消息……"));
    m_center.sendTest(*t);
}

// ---- Showing -----------------------------------------------------------------------------

Target* NotifySettingsWindow::current() {
    if (m_row < 0 || m_row >= m_settings.targets.size()) return nullptr;
    return &m_settings.targets[m_row];
}

void NotifySettingsWindow::refreshList() {
    const QSignalBlocker quiet(m_list);
    m_showing = true;
    m_list->clear();
    for (const Target& t : m_settings.targets) {
        auto* item = new QListWidgetItem(t.name, m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(t.enabled ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(kindCaption(t.kind));
    }
    m_list->setCurrentRow(m_row);
    m_onClose->setCurrentIndex(int(m_settings.onClose));
    m_showing = false;
}

void NotifySettingsWindow::showCurrent() {
    const Target* t = current();
    m_editor->setEnabled(t != nullptr);
    m_remove->setEnabled(t != nullptr);
    const Target shown = t ? *t : Target{};
    m_showing = true;
    m_name->setText(shown.name);
    m_kind->setCurrentIndex(int(shown.kind));
    m_url->setText(shown.url);
    m_secret->setText(shown.secret);
    m_keyword->setText(shown.keyword);
    m_method->setCurrentText(shown.method.toUpper());
    m_contentType->setCurrentText(shown.contentType);
    m_template->setPlainText(shown.bodyTemplate);
    for (std::size_t i = 0; i < m_events.size(); ++i)
        m_events[i]->setChecked(shown.wants(kEvents[i]));
    m_showing = false;
    showKindRows(shown.kind);
    showAddressNote();
}

void NotifySettingsWindow::showKindRows(TargetKind kind) {
    const bool robotSigns = kind == TargetKind::DingTalk || kind == TargetKind::Feishu;
    const bool webhook = kind == TargetKind::Webhook;
    m_form->setRowVisible(m_secret, robotSigns);
    m_form->setRowVisible(m_keyword, robotSigns);
    m_form->setRowVisible(m_method, webhook);
    m_form->setRowVisible(m_contentType, webhook);
    m_form->setRowVisible(m_template, webhook);
    m_form->setRowVisible(m_fields, webhook);
}

void NotifySettingsWindow::showAddressNote() {
    const QString url = m_url->text().trimmed();
    QString problem, note;
    if (!url.isEmpty()) {
        // A webhook's address may hold {fields}: judged with them filled in.
        QString filled = url;
        for (const char* f : {"lottery", "period", "group", "run", "text"})
            filled.replace(QStringLiteral("{%1}").arg(QLatin1String(f)), QStringLiteral("x"));
        const QUrl u(filled, QUrl::StrictMode);
        problem = urlProblem(u);
        note = urlNote(u);
    }
    m_urlNote->setStyleSheet(problem.isEmpty() ? QString() : kBad);
    m_urlNote->setText(problem.isEmpty() ? note : problem);
    m_urlNote->setVisible(!m_urlNote->text().isEmpty());
}

void NotifySettingsWindow::showLog() {
    m_log->setPlainText(m_center.log().text());
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
}

// ---- Changes ---------------------------------------------------------------------------

void NotifySettingsWindow::editorEdited() {
    if (m_showing) return;
    showAddressNote();
    m_typing->start();
}

void NotifySettingsWindow::commitEditor() {
    m_typing->stop();
    Target* t = current();
    if (m_showing || !t) return;
    Target edited = *t;
    edited.name = m_name->text().trimmed().isEmpty()
                      ? kindCaption(TargetKind(m_kind->currentIndex()))
                      : m_name->text().trimmed();
    edited.kind = TargetKind(m_kind->currentIndex());
    edited.url = m_url->text().trimmed();
    edited.secret = m_secret->text().trimmed();
    edited.keyword = m_keyword->text().trimmed();
    edited.method = m_method->currentText();
    edited.contentType = m_contentType->currentText().trimmed();
    edited.bodyTemplate = m_template->toPlainText();
    edited.events = 0;
    for (std::size_t i = 0; i < m_events.size(); ++i)
        if (m_events[i]->isChecked()) edited.events |= bit(kEvents[i]);
    showKindRows(edited.kind);
    showAddressNote();
    if (edited == *t) return;
    const bool renamed = edited.name != t->name;
    *t = edited;
    commit();
    if (renamed) m_list->item(m_row)->setText(t->name);
}

void NotifySettingsWindow::commit() {
    m_center.setTargets(m_settings.targets);
    QString error;
    showProblem(saveSettings(m_settings, m_path, &error) ? QString() : error);
    emit settingsChanged(m_settings);
}

void NotifySettingsWindow::testAnswered(const QString& id, bool accepted, const QString& answer) {
    const Target* t = current();
    if (!t || t->id != id) return;
    m_answer->setStyleSheet(accepted ? kGood : kBad);
    m_answer->setText((accepted ? QStringLiteral("已接受：") : QStringLiteral("未接受：")) +
                      answer);
}

void NotifySettingsWindow::hideEvent(QHideEvent* event) {
    commitEditor(); // typing not yet saved is kept
    QWidget::hideEvent(event);
}

} // namespace zuohao::gui
