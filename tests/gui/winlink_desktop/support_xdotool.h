#pragma once
// The real pointer of the test's X server, moved with xdotool.
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace zuohao::test {

inline void xdotool(const QStringList& args) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), args), 0);
}

inline void movePointer(const QPoint& p) {
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

} // namespace zuohao::test
