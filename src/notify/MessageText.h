#pragma once
// The text of a message, rendered from its typed fields in this one place, and the values of
// the named fields a webhook's body template may use.
#include <QString>
#include <optional>

#include "notify/NotifyTypes.h"

namespace zuohao::notify {

// The whole text of a message, for example
// "【告警】腾讯分分彩 第202612080123期 百十个：连挂 3 期，大底 271 注，【第 1 期】进行中……".
QString messageText(const Message& m);

// The title of a desktop notification of the message ("告警", "开奖源异常", ...).
QString messageTitle(const Message& m);

// What the delivery log names a message by: its title, the lottery and the period, with the
// periods of the alarms it was merged from ("告警 腾讯分分彩 第202612080123期（合并 2
// 次：第…期）").
QString messageSummary(const Message& m);

// An alarm still owed merged into a newer one: the newer is sent, naming the periods of both.
Message mergedAlarm(const Message& owed, Message newer);

// The value of a template field: lottery, period, group, run or text; nothing for another name.
std::optional<QString> fieldValue(const Message& m, const QString& name);

// The fields a body template may use, for the settings window and the help.
inline constexpr const char* kTemplateFields = "{lottery} {period} {group} {run} {text}";

} // namespace zuohao::notify
