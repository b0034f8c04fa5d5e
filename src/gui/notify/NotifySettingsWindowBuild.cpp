// The notification window's controls: the target list, the editor and the bottom rows.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/notify/NotifySettingsWindow.h"
#include "notify/MessageText.h"
#include "notify/NotificationCenter.h"
#include "notify/RobotRequest.h"

namespace zuohao::gui {

using namespace zuohao::notify;

namespace {
const char* const kEventCaptions[] = {"告警", "开奖源异常与恢复", "断期", "每期计划中/挂"};
const char* const kContentTypes[] = {"text/plain; charset=utf-8", "application/json",
                                     "application/x-www-form-urlencoded"};
} // namespace

QWidget* NotifySettingsWindow::buildTargetList() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("提醒目标（勾选的才发送）："), box));
    m_list = new QListWidget(box);
    m_list->setObjectName(QStringLiteral("TargetList"));
    column->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    m_add = new QPushButton(QStringLiteral("添加"), box);
    m_add->setObjectName(QStringLiteral("AddTarget"));
    auto* kinds = new QMenu(m_add);
    for (int k = 0; k < kTargetKinds; ++k) {
        QAction* a = kinds->addAction(kindCaption(TargetKind(k)));
        connect(a, &QAction::triggered, this, [this, k] { addTarget(TargetKind(k)); });
    }
    m_add->setMenu(kinds);
    m_remove = new QPushButton(QStringLiteral("删除"), box);
    m_remove->setObjectName(QStringLiteral("RemoveTarget"));
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    column->addLayout(buttons);
    return box;
}

QWidget* NotifySettingsWindow::buildEditor() {
    m_editor = new QWidget(this);
    m_form = new QFormLayout(m_editor);
    auto line = [this](const char* name) {
        auto* l = new QLineEdit(m_editor);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    m_name = line("TargetName");
    m_kind = new QComboBox(m_editor);
    m_kind->setObjectName(QStringLiteral("TargetKind"));
    for (int k = 0; k < kTargetKinds; ++k)
        m_kind->addItem(kindCaption(TargetKind(k)));
    m_url = line("TargetUrl");
    m_url->setEchoMode(QLineEdit::Password);
    m_url->setPlaceholderText(QStringLiteral("https://…（机器人的 Webhook 地址）"));
    m_url->setAccessibleName(QStringLiteral("地址"));
    m_url->setAccessibleDescription(QStringLiteral("机器人的 Webhook 地址"));
    m_reveal = new QPushButton(QStringLiteral("显示"), m_editor);
    m_reveal->setObjectName(QStringLiteral("ShowSecrets"));
    m_reveal->setCheckable(true);
    auto* urlRow = new QHBoxLayout;
    urlRow->addWidget(m_url, 1);
    urlRow->addWidget(m_reveal);
    m_secret = line("TargetSecret");
    m_secret->setEchoMode(QLineEdit::Password);
    m_secret->setPlaceholderText(QStringLiteral("安全设置选了“加签/签名校验”时填写"));
    m_keyword = line("TargetKeyword");
    m_keyword->setPlaceholderText(QStringLiteral("安全设置选了“自定义关键词”时填写其中一个"));
    m_method = new QComboBox(m_editor);
    m_method->setObjectName(QStringLiteral("TargetMethod"));
    m_method->addItems({"POST", "PUT", "PATCH", "GET"});
    m_contentType = new QComboBox(m_editor);
    m_contentType->setObjectName(QStringLiteral("TargetContentType"));
    m_contentType->setEditable(true);
    for (const char* type : kContentTypes)
        m_contentType->addItem(QString::fromLatin1(type));
    m_template = new QPlainTextEdit(m_editor);
    m_template->setObjectName(QStringLiteral("TargetTemplate"));
    m_template->setFixedHeight(m_template->fontMetrics().lineSpacing() * 3 + 12);
    m_template->setPlaceholderText(QStringLiteral("留空则只发送提醒的文字"));
    m_fields =
        new QLabel(QStringLiteral("可用字段：") + QString::fromLatin1(kTemplateFields), m_editor);
    m_urlNote = new QLabel(m_editor);
    m_urlNote->setObjectName(QStringLiteral("UrlNote"));
    m_urlNote->setWordWrap(true);
    auto* events = new QHBoxLayout;
    for (std::size_t i = 0; i < m_events.size(); ++i) {
        m_events[i] = new QCheckBox(QString::fromUtf8(kEventCaptions[i]), m_editor);
        m_events[i]->setObjectName(QStringLiteral("Event_") + eventKey(kEvents[i]));
        events->addWidget(m_events[i]);
    }
    events->addStretch(1);
    m_test = new QPushButton(QStringLiteral("测试"), m_editor);
    m_test->setObjectName(QStringLiteral("TestTarget"));
    m_answer = new QLabel(m_editor);
    m_answer->setObjectName(QStringLiteral("TestAnswer"));
    m_answer->setWordWrap(true);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_test);
    testRow->addWidget(m_answer, 1);

    m_form->addRow(QStringLiteral("名称："), m_name);
    m_form->addRow(QStringLiteral("类型："), m_kind);
    m_form->addRow(QStringLiteral("地址："), urlRow);
    m_form->addRow(QStringLiteral("签名密钥："), m_secret);
    m_form->addRow(QStringLiteral("关键词："), m_keyword);
    m_form->addRow(QStringLiteral("请求方法："), m_method);
    m_form->addRow(QStringLiteral("内容类型："), m_contentType);
    m_form->addRow(QStringLiteral("正文模板："), m_template);
    m_form->addRow(QString(), m_fields);
    m_form->addRow(QString(), m_urlNote);
    m_form->addRow(QStringLiteral("发送："), events);
    m_form->addRow(QString(), testRow);
    return m_editor;
}

QWidget* NotifySettingsWindow::buildBottom() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* closeRow = new QHBoxLayout;
    closeRow->addWidget(new QLabel(QStringLiteral("关闭主窗口时："), box));
    m_onClose = new QComboBox(box);
    m_onClose->setObjectName(QStringLiteral("OnClose"));
    m_onClose->addItems({QStringLiteral("每次询问（第一次）"), QStringLiteral("保留在托盘继续运行"),
                         QStringLiteral("退出程序")});
    closeRow->addWidget(m_onClose);
    closeRow->addStretch(1);
    column->addLayout(closeRow);
    m_problem = new QLabel(box);
    m_problem->setObjectName(QStringLiteral("SettingsProblem"));
    m_problem->setStyleSheet(QString::fromLatin1(kProblemStyle));
    m_problem->setWordWrap(true);
    m_problem->hide();
    column->addWidget(m_problem);
    column->addWidget(new QLabel(QStringLiteral("送达记录（最近 200 条）："), box));
    m_log = new QPlainTextEdit(box);
    m_log->setObjectName(QStringLiteral("DeliveryLog"));
    m_log->setAccessibleName(QStringLiteral("送达记录"));
    m_log->setAccessibleDescription(QStringLiteral("最近 200 条"));
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(m_log, 1);
    return box;
}

} // namespace zuohao::gui
