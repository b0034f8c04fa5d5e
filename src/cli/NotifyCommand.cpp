// zuohao-cli notify: one message sent to a target exactly as the desktop program sends it
// (the same request building, signing and answer judging), for scripts and to try a target.
#include <iostream>
#include <string>

#include "cli/Args.h"
#include "cli/Commands.h"

#ifdef ZUOHAO_HAVE_NOTIFY
#include <QCoreApplication>
#include <QUrl>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "notify/NotifySettings.h"
#include "notify/Postman.h"
#include "notify/RobotRequest.h"
#endif

namespace zuohao::cli {

#ifdef ZUOHAO_HAVE_NOTIFY
namespace {
using namespace zuohao::notify;

constexpr std::chrono::milliseconds kAttemptLimit{5000};
constexpr const char* kUrlVariable = "ZUOHAO_NOTIFY_URL";
constexpr const char* kSecretVariable = "ZUOHAO_NOTIFY_SECRET";

std::string required(const Args& args, const std::string& name) {
    auto v = args.last(name);
    if (!v || v->empty()) throw UsageError("missing " + name);
    return *v;
}

// This tool's own English for why a message was not sent or not accepted.
std::string describe(SendProblem p, const QString& detailText) {
    const std::string detail = detailText.toStdString();
    switch (p) {
    case SendProblem::None:
        break;
    case SendProblem::NoAddress:
        return "no address";
    case SendProblem::BadAddress:
        return "not a valid address";
    case SendProblem::PlainHttpRemote:
        return "http:// only to this computer or the local network; use https://";
    case SendProblem::NotHttp:
        return "only https:// addresses (http:// to this computer or the local network)";
    case SendProblem::BadMethod:
        return "--method must be GET, POST, PUT or PATCH";
    case SendProblem::Timeout:
        return "no answer within " + detail + " s";
    case SendProblem::ConnectionRefused:
        return "connection refused";
    case SendProblem::HostNotFound:
        return "server not found";
    case SendProblem::ConnectionClosed:
        return "the server closed the connection";
    case SendProblem::TlsFailed:
        return "the HTTPS certificate check failed" + (detail.empty() ? "" : ": " + detail);
    case SendProblem::Network:
        return detail.empty() ? "network error" : detail;
    case SendProblem::HttpStatus:
        return "not a success status";
    case SendProblem::NotRobotAnswer:
        return "not a robot's answer";
    case SendProblem::NoResultCode:
        return "no " + detail + " in the answer";
    case SendProblem::RobotRefused:
        return detail;
    }
    return "not accepted";
}

// "HTTP 200 {...}": the target's answer as it came (secrets masked).
std::string answerOf(const AttemptResult& r) {
    return "HTTP " + std::to_string(r.status) + " " +
           QString::fromUtf8(r.body).trimmed().toStdString();
}

// The first line of a file that holds a secret, its line break and surrounding blanks cut.
std::string firstLineOf(const std::string& path, const std::string& option) {
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                     std::ios::binary);
    std::string line;
    if (!in || (!std::getline(in, line) && !in.eof()))
        throw Failure("cannot read the " + option + " " + path + ": " +
                      (std::filesystem::exists(std::u8string(path.begin(), path.end()))
                           ? "not allowed"
                           : "no such file"));
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!line.empty() && blank(line.back()))
        line.pop_back();
    std::size_t start = 0;
    while (start < line.size() && blank(line[start]))
        ++start;
    if (start == line.size()) throw UsageError(option + " " + path + " is empty");
    return line.substr(start);
}

// A secret from its option, its file option or the environment, in that order; the option
// itself is shown by `ps` and kept in the shell's history, which the warning says.
std::string secretValue(const Args& args, const std::string& option, const char* variable,
                        bool warnOnOption) {
    const std::string fileOption = option + "-file";
    const auto given = args.last(option);
    const auto file = args.last(fileOption);
    if (given && file) throw UsageError("give " + option + " or " + fileOption + ", not both");
    if (file) return firstLineOf(*file, fileOption);
    if (given) {
        if (warnOnOption)
            std::cerr << "warning: " << option
                      << " on the command line is seen by other users (ps) and kept in the "
                         "shell's history; use "
                      << fileOption << " or " << variable << "\n";
        return *given;
    }
    const char* env = std::getenv(variable);
    return env ? std::string(env) : std::string();
}

Target targetOf(const Args& args) {
    const std::string kindText = required(args, "--kind");
    const auto kind = kindFromKey(QString::fromStdString(kindText));
    if (!kind) throw UsageError("--kind must be wecom, dingtalk, feishu or webhook: " + kindText);
    Target t = newTarget(*kind);
    // A robot's address holds its key (?key=, ?access_token=, /hook/<token>): every robot's
    // address is a secret; a webhook's only when it carries a query or a user.
    const std::string url = args.last("--url").value_or("");
    const QUrl parsed(QString::fromStdString(url));
    const bool urlHoldsKey = isRobot(*kind) || parsed.hasQuery() || !parsed.userInfo().isEmpty();
    t.url = QString::fromStdString(secretValue(args, "--url", kUrlVariable, urlHoldsKey));
    if (t.url.isEmpty())
        throw UsageError(std::string("missing --url, --url-file or ") + kUrlVariable);
    t.secret = QString::fromStdString(secretValue(args, "--secret", kSecretVariable, true));
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
        throw UsageError("cannot send: " + describe(built.problem, {}));

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
    const std::string why = describe(result.problem, result.detail);
    if (!result.accepted) {
        if (result.status == 0) throw Failure("not sent: " + why);
        throw Failure("not accepted: " + answerOf(result) + " (" + why + ")");
    }
    std::cout << "accepted: " << answerOf(result) << "\n";
    return kExitSuccess;
}
#else
int RunNotify(const Args&) {
    throw Failure("this zuohao-cli was built without Qt Network and cannot send");
}
#endif

} // namespace zuohao::cli
