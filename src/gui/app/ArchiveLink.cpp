#include "gui/app/ArchiveLink.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>

#include "gui/acquire/DemoFeed.h"
#include "gui/app/Application.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Keyboard.h"
#include "gui/common/WindowPlacement.h"
#include "gui/display/ArchiveHistoryWindow.h"

namespace zuohao::gui {

namespace {
constexpr int kNoticePolls = 10;          // about a minute of refresh ticks
constexpr std::size_t kRoundDraws = 2000; // draws handed to the writer at a time
constexpr int kReadWaitMs = 500;          // the history window waits no longer for a lock
constexpr int kWriterLane = 0;
using store::ArchiveTrouble;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// What stands in the way, in the status line's words.
QString troubleWords(ArchiveTrouble t) {
    switch (t) {
    case ArchiveTrouble::Busy:
        return QStringLiteral("历史库被其他程序占用");
    case ArchiveTrouble::Full:
        return QStringLiteral("磁盘已满，历史库无法写入");
    case ArchiveTrouble::Damaged:
        return QStringLiteral("历史库文件已损坏，将另存并新建");
    case ArchiveTrouble::Newer:
        return QStringLiteral("历史库由较新版本写入，本次不写入");
    default:
        return QStringLiteral("历史库无法使用");
    }
}
} // namespace

ArchiveLink::ArchiveLink(QWidget* window, SourceName sourceName,
                         std::function<void(const QString&)> showStatus)
    : m_window(window), m_sourceName(std::move(sourceName)), m_showStatus(std::move(showStatus)) {}

std::unique_ptr<ArchiveLink> ArchiveLink::attach(LotteryForm& form, const AppOptions& options,
                                                 const DemoFeed* demo, SourceName drawFileOf,
                                                 QWidget* beside) {
    const bool demoRun = options.demo && demo;
    auto link = std::make_unique<ArchiveLink>(
        &form,
        [drawFileOf = std::move(drawFileOf), demoRun](const std::string& lottery) {
            return demoRun ? std::string("demo") : drawFileOf(lottery);
        },
        [&form](const QString& text) { form.ShowLabelTxt(text); });
    QString path = options.archivePath;
    if (path.isEmpty() && demoRun)
        path = QFileInfo(demo->path()).dir().filePath(QString::fromUtf8(store::kArchiveFileName));
    if (path.isEmpty()) path = defaultPath();
    link->open(path, demoRun);
    ArchiveLink* raw = link.get();
    QPushButton* button = link->addHistoryButton(beside);
    QObject::connect(button, &QPushButton::clicked, &form, [raw, &form] {
        if (LotteryClass* lot = form.ActiveCls()) raw->showHistory(lot->name());
    });
    return link;
}

ArchiveLink::~ArchiveLink() {
    if (!m_work) return;
    // The last draws go in before the program ends (a round still out is written again:
    // a draw already held with the same number is skipped), after the rounds posted before.
    m_work->post(
        kWriterLane,
        [this, last = m_pending.all()](const RunControl&) -> BackgroundWork::Apply {
            if (!last.empty()) (void)m_writer->write(last, store::Archive::kBusyWaitMs);
            m_writer.reset(); // closed on the lane that used it; the GUI thread waits meanwhile
            return {};
        },
        BackgroundWork::Mode::Follow);
    m_work->finishPosted();
}

QString ArchiveLink::defaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QString::fromUtf8(store::kArchiveFileName));
}

void ArchiveLink::open(const QString& path, bool demo) {
    if (m_writer) return;
    m_path = path;
    m_writer =
        std::make_unique<store::ArchiveWriter>(QDir::toNativeSeparators(path).toStdString(), demo);
    m_work = std::make_unique<BackgroundWork>();
    startRound(); // opens the archive, so that trouble shows before the first draw
}

void ArchiveLink::drawEntered(const std::string& lottery, const std::string& qishu,
                              const std::string& haoma) {
    if (m_demoRefused) return;
    m_pending.push({lottery, qishu, haoma, m_sourceName(lottery), false});
}

void ArchiveLink::drawCorrected(const std::string& lottery, const std::string& qishu,
                                const std::string& newHaoma) {
    if (m_demoRefused) return;
    m_pending.push({lottery, qishu, newHaoma, m_sourceName(lottery), true});
    flush();
}

void ArchiveLink::flush() {
    if (!m_writer || m_demoRefused || m_roundOut) return;
    if (m_pending.size() == 0 && m_open) return;
    startRound();
}

void ArchiveLink::startRound() {
    std::vector<store::PendingDraw> round = m_pending.takeRound(kRoundDraws);
    m_roundOut = true;
    // The round's outcome comes back to the GUI thread; if this object is gone by then, so is
    // the message (it goes with m_work).
    m_work->post(
        kWriterLane,
        [this, writer = m_writer.get(),
         round = std::move(round)](const RunControl&) -> BackgroundWork::Apply {
            const store::WriteRound result = writer->write(round, store::Archive::kBusyWaitMs);
            return [this, result] { roundBack(result); };
        },
        BackgroundWork::Mode::Follow);
}

void ArchiveLink::roundBack(const store::WriteRound& r) {
    m_pending.settle(r.written);
    m_roundOut = false;
    m_open = r.open;
    if (r.demoRefused && !m_demoRefused) {
        m_demoRefused = true;
        m_pending = store::PendingDraws();
    }
    if (!r.setAsideAs.empty()) {
        note(QStringLiteral("历史库无法打开，已另存为 %1 并新建").arg(q(r.setAsideAs)));
        m_readerStale = true; // it reads the file set aside; a new one at the next showing
    }
    if (r.corrected > 0)
        note(QStringLiteral("历史库中 %1 期的号码与开奖文本不同，已更正（原号码留在更正记录）")
                 .arg(r.corrected));
    const bool wasTroubled = m_trouble != ArchiveTrouble::None;
    m_trouble = r.trouble;
    m_why = q(r.why);
    if (m_trouble == ArchiveTrouble::None && wasTroubled && m_pending.dropped() > m_droppedShown) {
        note(QStringLiteral("历史库恢复写入；其间 %1 期未能记录").arg(m_pending.dropped()));
        m_droppedShown = m_pending.dropped();
    }
    if (r.written > 0 && m_history && m_history->isVisible()) m_history->reload();
    // More waiting (a long outage, or draws that came during the round): on with the next
    // round at once while the archive takes writes.
    if (m_trouble == ArchiveTrouble::None && m_pending.size() > 0 && !m_demoRefused) startRound();
    emit roundDone();
}

void ArchiveLink::note(const QString& text) {
    m_note = text;
    m_notePolls = kNoticePolls;
    if (m_showStatus) m_showStatus(text);
}

QString ArchiveLink::troubleText() const {
    if (m_demoRefused)
        return QStringLiteral("演示开奖不写入历史库 %1：其中已有其他开奖")
            .arg(QDir::toNativeSeparators(m_path));
    if (m_trouble == ArchiveTrouble::None) return {};
    // A lock or a full disk says it all in its words; other troubles name the file's reason.
    const bool plain = m_trouble == ArchiveTrouble::Busy || m_trouble == ArchiveTrouble::Full;
    QString text = troubleWords(m_trouble) + (plain ? QString() : QStringLiteral("：") + m_why);
    if (m_pending.size() > 0) text += QStringLiteral("，%1 期等待写入").arg(m_pending.size());
    if (m_pending.dropped() > 0)
        text += QStringLiteral("；已有 %1 期未能记录（等待的太多）").arg(m_pending.dropped());
    return text;
}

QString ArchiveLink::notice() {
    QString text = troubleText();
    if (m_notePolls > 0) {
        --m_notePolls;
        text = text.isEmpty() ? m_note : text + QStringLiteral("    ") + m_note;
    }
    return text;
}

namespace {
// The box layout, `layout` or one nested in it, that holds `widget` itself.
QBoxLayout* boxHolding(QLayout* layout, QWidget* widget) {
    if (!layout) return nullptr;
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (box && box->indexOf(widget) >= 0) return box;
    for (int i = 0; i < layout->count(); ++i)
        if (QBoxLayout* inner = boxHolding(layout->itemAt(i)->layout(), widget)) return inner;
    return nullptr;
}
} // namespace

QPushButton* ArchiveLink::addHistoryButton(QWidget* neighbour) {
    auto* button = new QPushButton(QStringLiteral("历史"), neighbour->parentWidget());
    button->setObjectName(QStringLiteral("HistoryCmd"));
    SetShortcut(button, QKeySequence(Qt::CTRL | Qt::Key_H), QStringLiteral("历史库中的全部开奖"));
    if (QBoxLayout* box = boxHolding(neighbour->parentWidget()->layout(), neighbour))
        box->insertWidget(box->indexOf(neighbour) + 1, button);
    return button;
}

void ArchiveLink::openReader() {
    if (m_reader) return;
    auto a = store::Archive::open(QDir::toNativeSeparators(m_path).toStdString(), nullptr,
                                  store::OpenMode::ReadOnly, kReadWaitMs);
    if (a) m_reader = std::move(a).value();
}

void ArchiveLink::showHistory(const std::string& lottery) {
    flush();
    std::unique_ptr<store::Archive> old; // the window lets go of it below
    if (m_readerStale) {
        old = std::move(m_reader);
        m_readerStale = false;
    }
    openReader();
    if (!m_history) {
        m_history = new ArchiveHistoryWindow(m_window);
        PlaceOver(m_history, QStringLiteral("history"), m_window);
    }
    const QString why = m_reader ? QString() : (m_why.isEmpty() ? troubleWords(m_trouble) : m_why);
    m_history->showLottery(m_reader.get(), lottery, why);
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

} // namespace zuohao::gui
