// zuohao-cli notify: one message sent to a target exactly as the desktop program sends it
// (the same request building, signing and answer judging), for scripts and to try a target.
#include <iostream>

#include "cli/Args.h"
#include "cli/Commands.h"

#ifdef ZUOHAO_HAVE_NOTIFY
#include <QCoreApplication>
#include <chrono>

#include "gui/notify/delivery/NotifySettings.h"
#include "gui/notify/delivery/Postman.h"
#include "gui/notify/delivery/RobotRequest.h"
#endif

namespace zuohao::cli {

#ifdef ZUOHAO_HAVE_NOTIFY
namespace {
using namespace zuohao::notify;

constexpr std::chrono::milliseconds kAttemptLimit{10000};

std::string required(const Args& args, const std::string& name) {
    auto v = args.last(name);
    if (!v || v->empty()) throw UsageError("missing " + name);
    return *v;
}

Target targetOf(const Args& args) {
    const std::string kindText = required(args, "--kind");
    const auto kind = kindFromKey(QString::fromStdString(kindText));
    if (!kind) throw UsageError("--kind must be wecom, dingtalk, feishu or webhook: " + kindText);
    Target t = newTarget(*kind);
    t.url = QString::fromStdString(required(args, "--url"));
    t.secret = QString::fromStdString(args.last("--secret").value_or(""));
    t.keyword = QString::fromStdString(args.last("--keyword").value_or(""));
    if (auto v = args.last("--method")) t.method = QString::fromStdString(*v);
    if (auto v = args.last("--content-type")) t.contentType = QString::fromStdString(*v);
    t.bodyTemplate = QString::fromStdString(args.last("--body-template").value_or(""));
    return t;
}
} // namespace

int RunNotify(const Args& args) {
    const Target t = targetOf(args);
    Message m;
    m.kind = MessageKind::Plain;
    m.detail = QString::fromStdString(required(args, "--text"));
    // An address or method that cannot be sent to is the caller's mistake: nothing is sent.
    if (BuiltRequest built = buildRequest(t, m, 0); !built)
        throw UsageError("cannot send: " + built.error.toStdString());

    int argc = 1;
    char name[] = "zuohao-cli";
    char* qtArgv[] = {name, nullptr};
    QCoreApplication app(argc, qtArgv);
    Postman postman;
    AttemptResult result;
    postman.send(t, m, kAttemptLimit, &app, [&](const AttemptResult& r) {
        result = r;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    const std::string answer = result.answerText().toStdString();
    if (!result.accepted) {
        std::string why = "not accepted: " + answer;
        if (result.status != 0 && !result.reason.isEmpty())
            why += " (" + result.reason.toStdString() + ")";
        throw Failure(why);
    }
    std::cout << "accepted: " << answer << "\n";
    return kExitSuccess;
}
#else
int RunNotify(const Args&) {
    throw Failure("this zuohao-cli was built without Qt Network and cannot send");
}
#endif

} // namespace zuohao::cli
