#include "gui/common/WindowPlacement.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "gui/common/IniFile.h"

namespace zuohao::gui {

namespace {
const QString kSection = QStringLiteral("windows");
const QString kFileName = QStringLiteral("windows.ini");
constexpr int kSettleMs = 400; // a move or resize has ended after this long without another
constexpr int kRectFields = 4;

QString& storeOverride() {
    static QString path;
    return path;
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect parseRect(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != kRectFields) return {};
    int v[kRectFields];
    for (int i = 0; i < kRectFields; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return {};
    }
    return QRect(v[0], v[1], v[2], v[3]);
}
} // namespace

QRect FitInside(const QRect& wanted, const QRect& available, const QMargins& frame,
                const QSize& minimum) {
    const QRect room = available.marginsRemoved(frame);
    QSize size = wanted.size().boundedTo(room.size()).expandedTo(minimum);
    QRect r(wanted.topLeft(), size);
    if (r.right() > room.right()) r.moveRight(room.right());
    if (r.bottom() > room.bottom()) r.moveBottom(room.bottom());
    if (r.left() < room.left()) r.moveLeft(room.left());
    if (r.top() < room.top()) r.moveTop(room.top());
    return r;
}

bool FitsInside(const QRect& rect, const QRect& available, const QMargins& frame) {
    return rect.isValid() && available.contains(rect.marginsAdded(frame));
}

WindowPlacement::WindowPlacement(QWidget* window, const QString& key,
                                 std::function<QRect()> initial, QWidget* anchor)
    : QObject(window), m_window(window), m_key(key), m_initial(std::move(initial)),
      m_anchor(anchor), m_settle(new QTimer(this)) {
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleMs);
    connect(m_settle, &QTimer::timeout, this, &WindowPlacement::save);
    window->installEventFilter(this);
}

QString WindowPlacement::storePath() {
    if (!storeOverride().isEmpty()) return storeOverride();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(kFileName);
}

void WindowPlacement::setStorePath(const QString& path) {
    storeOverride() = path;
}

QRect WindowPlacement::kept(const QString& key) {
    const std::optional<IniFile> ini = IniFile::load(storePath());
    if (!ini) return {};
    return parseRect(ini->value(kSection, key).value_or(QString()));
}

QRect WindowPlacement::availableArea() const {
    const QWidget* owner = m_anchor ? m_anchor.data() : m_window;
    QScreen* s = owner->screen();
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

QMargins WindowPlacement::frameMargins() const {
    const QRect frame = m_window->frameGeometry();
    const QRect client = m_window->geometry();
    const QMargins shown(client.left() - frame.left(), client.top() - frame.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
    if (m_window->testAttribute(Qt::WA_WState_Created) && !shown.isNull()) return shown;
    return QMargins(kBorderAllowance, kTitleAllowance, kBorderAllowance, kBorderAllowance);
}

void WindowPlacement::place() {
    const QRect area = availableArea();
    if (area.isEmpty()) return;
    const QMargins frame = frameMargins();
    const QRect keptRect = kept(m_key);
    QRect target = FitsInside(keptRect, area, frame)
                       ? keptRect
                       : FitInside(m_initial(), area, frame, m_window->minimumSize());
    m_placing = true;
    m_window->setGeometry(target);
    m_placing = false;
}

void WindowPlacement::save() {
    m_settle->stop();
    if (!m_placed) return;
    const QRect r = m_window->isMaximized() || m_window->isFullScreen() ? m_window->normalGeometry()
                                                                        : m_window->geometry();
    if (!r.isValid()) return;
    std::optional<IniFile> ini = IniFile::load(storePath());
    if (!ini) return;
    if (ini->value(kSection, m_key) == rectText(r)) return;
    ini->setValue(kSection, m_key, rectText(r));
    QDir().mkpath(QFileInfo(storePath()).absolutePath());
    (void)ini->save(storePath()); // a place that cannot be kept is only a convenience lost
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Show:
        if (!m_placed) {
            place();
            m_placed = true;
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (m_placed && !m_placing && m_window->isVisible()) m_settle->start();
        break;
    case QEvent::Hide:
        save();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

WindowPlacement* PlaceOver(QWidget* window, const QString& key, QWidget* anchor,
                           Qt::Alignment where) {
    QPointer<QWidget> guard(anchor);
    return new WindowPlacement(
        window, key,
        [window, guard, where] {
            QRect r(QPoint(),
                    window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint());
            if (!guard) return r;
            const QRect over = guard->geometry();
            r.moveCenter(over.center());
            if (where & Qt::AlignRight) r.moveRight(over.right());
            if (where & Qt::AlignTop) r.moveTop(over.top());
            return r;
        },
        anchor);
}

} // namespace zuohao::gui
