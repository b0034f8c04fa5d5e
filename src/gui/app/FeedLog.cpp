#include "gui/app/FeedLog.h"

#include <QTextStream>

namespace zuohao::gui {

FeedLog::FeedLog(const QString& path) {
    if (path.isEmpty()) return;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        QTextStream(stderr) << "cannot write the feed log " << path << ": " << m_file.errorString()
                            << "\n";
}

void FeedLog::entered(const std::string& lottery, const std::string& qishu,
                      const std::string& haoma) {
    line("entered", lottery, qishu, haoma);
}

void FeedLog::corrected(const std::string& lottery, const std::string& qishu,
                        const std::string& haoma) {
    line("corrected", lottery, qishu, haoma);
}

void FeedLog::line(const char* what, const std::string& lottery, const std::string& qishu,
                   const std::string& haoma) {
    if (!m_file.isOpen()) return;
    const std::string text = std::string(what) + " " + lottery + " " + qishu + " " + haoma + "\n";
    m_file.write(text.data(), qint64(text.size()));
    m_file.flush();
}

} // namespace zuohao::gui
