#pragma once
// The feed log (--feed-log): one line per draw as it enters or is corrected, written at once,
// so that a run can be checked against what the betting program wrote.
#include <QFile>
#include <QString>

namespace zuohao::gui {

class FeedLog {
public:
    // An empty path logs nothing; a path that cannot be opened is said on stderr once.
    explicit FeedLog(const QString& path);
    void entered(const std::string& lottery, const std::string& qishu, const std::string& haoma);
    void corrected(const std::string& lottery, const std::string& qishu, const std::string& haoma);

private:
    void line(const char* what, const std::string& lottery, const std::string& qishu,
              const std::string& haoma);
    QFile m_file;
};

} // namespace zuohao::gui
