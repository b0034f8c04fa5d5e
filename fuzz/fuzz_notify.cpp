// libFuzzer target: what the notifications read from outside. The input is, by its first byte,
// a settings file (read, written and read again it gives the same settings), a robot's answer
// (judged for every kind: accepted only with a 2xx and, from a robot, its success code) or a
// body template (expanded for every content type, the fields replaced and nothing else) and an
// address as the delivery log keeps it, or a line of the delivery log's file (read back, written
// and read again it gives the same entry).
#include <cstdint>

#include "notify/DeliveryLog.h"
#include "notify/MessageText.h"
#include "notify/NotifySettings.h"
#include "notify/RobotRequest.h"
#include "support_fuzz.h"

using namespace zuohao::notify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 4) {
    case 0:
        if (auto s = parseSettings(bytes)) {
            auto again = parseSettings(settingsJson(*s));
            FUZZ_CHECK(again && *again == *s);
        }
        break;
    case 1:
        for (int kind = 0; kind < kTargetKinds; ++kind) {
            FUZZ_CHECK(!judgeAnswer(TargetKind(kind), 500, bytes).accepted);
            const AnswerVerdict v = judgeAnswer(TargetKind(kind), 200, bytes);
            FUZZ_CHECK(v.accepted == v.reason.isEmpty());
        }
        break;
    case 2:
        if (auto e = DeliveryEntry::fromFileLine(QString::fromUtf8(bytes))) {
            const auto again = DeliveryEntry::fromFileLine(e->fileLine());
            FUZZ_CHECK(again && again->fileLine() == e->fileLine());
        }
        break;
    default: {
        Message m;
        m.kind = MessageKind::Plain;
        m.lottery = QStringLiteral("L");
        m.detail = QStringLiteral("T");
        const QString tpl = QString::fromUtf8(bytes);
        for (const char* type :
             {"text/plain", "application/json", "application/x-www-form-urlencoded"}) {
            const QString out = expandTemplate(tpl, m, QString::fromLatin1(type));
            // Every field is longer than its one-letter (or empty) value: only shorter.
            FUZZ_CHECK(out.size() <= tpl.size());
            FUZZ_CHECK(tpl.contains(u'{') || out == tpl);
        }
        // A logged address keeps no query value, user or password.
        const QString logged = redactedUrl(tpl);
        FUZZ_CHECK(!logged.contains(u'=') && !logged.contains(u'@'));
        break;
    }
    }
    return 0;
}
