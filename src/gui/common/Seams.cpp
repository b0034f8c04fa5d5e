#include "gui/common/Seams.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

namespace zuohao::gui {

void Seams::information(QWidget* parent, const QString& text) {
    // The program's own name in the title, not the executable's.
    QMessageBox::information(parent, QStringLiteral("做号计划"), text);
}

QString OpenDialogStart(const QString& currentPath) {
    const QString path = QDir::fromNativeSeparators(currentPath.trimmed());
    if (!path.isEmpty()) {
        const QFileInfo file(path);
        if (file.isFile()) return file.absoluteFilePath();
        if (file.absoluteDir().exists()) return file.absolutePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::optional<QString> Seams::openFileName(QWidget* parent, const QString& startPath) {
    // The betting programs write their draws as text files.
    static const QString filters = QStringLiteral("开奖文本文件 (*.txt);;所有文件 (*)");
    const QString name =
        QFileDialog::getOpenFileName(parent, QString(), OpenDialogStart(startPath), filters);
    if (name.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QString> Seams::saveFileName(QWidget* parent, const QString& suggestedName) {
    const QString name = QFileDialog::getSaveFileName(parent, QString(), suggestedName,
                                                      QStringLiteral("CSV (*.csv)"));
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> Seams::clipboardText() {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return std::nullopt;
    const QMimeData* data = clip->mimeData();
    if (!data || !data->hasText()) return QString();
    return data->text();
}

bool Seams::setClipboardText(const QString& text) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return false;
    clip->clear();
    clip->setText(text);
    return true;
}

namespace {
std::function<void()> g_alarmPlayer;
} // namespace

void setAlarmPlayer(std::function<void()> player) {
    g_alarmPlayer = std::move(player);
}

void Seams::playAlarm() {
    if (g_alarmPlayer) g_alarmPlayer();
}

namespace {
Seams g_desktopSeams;
Seams* g_seams = &g_desktopSeams;
} // namespace

Seams& seams() {
    return *g_seams;
}
void setSeams(Seams* s) {
    g_seams = s ? s : &g_desktopSeams;
}

} // namespace zuohao::gui
