// A small program of the test suite whose window another program picks and reads: a line
// edit holding "123 456 789" and a two-line text box. Arguments: x y [title]. It prints where its
// boxes are and obeys commands on its standard input: "set <text>" (line edit text), "hang
// <seconds>" (stops answering anything for that long, as a program busy in a long job), "quit".
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QThread>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <unistd.h>

namespace {
void tell(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString where(const char* name, const QWidget* w) {
    const QPoint p = w->mapToGlobal(QPoint(0, 0));
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(QLatin1String(name))
        .arg(p.x())
        .arg(p.y())
        .arg(w->width())
        .arg(w->height());
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("读号目标"));
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(QStringLiteral("123 456 789"));
    edit->setObjectName(QStringLiteral("edit"));
    auto* plain = new QPlainTextEdit(QStringLiteral("3 5 7\n9"));
    plain->setObjectName(QStringLiteral("plain"));
    layout->addWidget(edit);
    layout->addWidget(plain);
    const int x = argc > 2 ? QString::fromLocal8Bit(argv[1]).toInt() : 400;
    const int y = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 120;
    window.setGeometry(x, y, 320, 180);
    window.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QString pending;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            app.quit();
            return;
        }
        pending += QString::fromUtf8(buf, int(n));
        for (qsizetype nl; (nl = pending.indexOf(u'\n')) >= 0;) {
            const QString command = pending.left(nl);
            pending.remove(0, nl + 1);
            if (command == QLatin1String("quit")) {
                app.quit();
            } else if (command.startsWith(QLatin1String("hang "))) {
                tell(QStringLiteral("ok"));
                QThread::sleep(command.mid(5).toULong());
            } else if (command.startsWith(QLatin1String("set "))) {
                edit->setText(command.mid(4));
                tell(QStringLiteral("ok"));
            }
        }
    });
    // Positions are known once the window is on the screen.
    QMetaObject::invokeMethod(
        &app,
        [&] {
            tell(where("edit", edit));
            tell(where("plain", plain));
            tell(QStringLiteral("ready"));
        },
        Qt::QueuedConnection);
    return app.exec();
}
