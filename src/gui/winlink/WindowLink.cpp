#include "gui/winlink/WindowLink.h"

#include "core/making/KillList.h"
#include "core/model/Text.h"

namespace zuohao::gui {

WindowHandle HandleFromText(const QString& text) {
    WindowHandle value = 0;
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
        const WindowHandle digit = text.at(i).unicode() - u'0';
        if (value > (~WindowHandle(0) - digit) / 10) return 0; // no window has such a number
        value = value * 10 + digit;
    }
    return value;
}

QString FirstLine(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029) return text.left(i);
    }
    return text;
}

QString ReadWindowText(WindowLink& link, WindowHandle handle, const QString& width, QString* raw) {
    if (handle == 0 || !link.exists(handle)) return {};
    const WindowRead read = link.readText(handle);
    if (read.status != ReadStatus::Ok) return {};
    QString text = read.text.left(MaxWindowTextLength);
    text.remove(QChar(u'\0'));
    text = QString::fromStdString(std::string(TrimSpaces(text.toStdString())));
    if (raw) *raw = text;
    if (text.isEmpty() || width.isEmpty()) return text;
    // Only the first line counts; the filter itself knows only CR LF as a line break, while
    // the widgets and the accessibility bus of this desktop separate lines with LF.
    const std::string line = FirstLine(text).toStdString();
    return QString::fromStdString(NumberLineFilter(line, width.toStdString()));
}

QString ReadWindowDigits(WindowLink& link, WindowHandle handle) {
    if (handle == 0) return {};
    const QString text = ReadWindowText(link, handle);
    QString digits;
    for (QChar c : FirstLine(text))
        if (c >= u'0' && c <= u'9') digits += c;
    return digits;
}

} // namespace zuohao::gui
