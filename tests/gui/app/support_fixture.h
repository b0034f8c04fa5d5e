#pragma once
// A main window on a draw file in a temporary folder, with seams that answer dialogs, keep
// the clipboard in memory and count alarms.
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <vector>

#include "gui/app/Application.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/Seams.h"

class TestSeams : public zuohao::gui::Seams {
public:
    QStringList messages;
    int alarms = 0;
    int fileAsked = 0;
    QString clipboard;
    bool clipboardFails = false;
    std::optional<QString> fileAnswer;

    void information(QWidget*, const QString& text) override { messages << text; }
    std::optional<QString> openFileName(QWidget*, const QString&) override {
        ++fileAsked;
        return fileAnswer;
    }
    std::optional<QString> clipboardText() override {
        if (clipboardFails) return std::nullopt;
        return clipboard;
    }
    bool setClipboardText(const QString& text) override {
        clipboard = text;
        return true;
    }
    void playAlarm() override { ++alarms; }
};

struct Draw {
    QString qishu;
    QString haoma;
};

class FormFixture {
public:
    FormFixture();
    ~FormFixture();

    QString drawPath() const;
    QString iniPath() const;
    // Writes the draws (given oldest first) as the betting program does: newest line first.
    void writeDraws(const std::vector<Draw>& oldestFirst);
    // The same into any file, through a temporary one renamed over it; false when it could not
    // be written (callable from a writer thread).
    static bool writeDrawFile(const QString& path, const std::vector<Draw>& oldestFirst);
    // The program's list of lotteries, and one kept there before the window starts: the
    // built-in lotteries and `extra` (name, draw file).
    QString listPath() const;
    void keepLotteries(const std::vector<std::pair<QString, QString>>& extra) const;
    // `count` draws with labels from `first` and numbers from a fixed pattern.
    static std::vector<Draw> makeDraws(int count, qint64 first = 202612080001);

    // Creates and shows the window; waits for its first activation.
    zuohao::gui::LotteryForm& start(zuohao::gui::AppOptions options = {});
    zuohao::gui::AppOptions defaultOptions() const;
    zuohao::gui::LotteryForm& form() { return *m_form; }

    template <class T> T* child(const QString& name) const { return m_form->findChild<T*>(name); }
    // The text of the main window's box or label called `name`.
    QString text(const char* name) const;
    // Drags hand i from its icon onto a widget and releases it there.
    void dragHand(int i, QWidget* onto);

    // A base set and a plan, then the monitor switched on with settings that raise an alarm
    // every few draws; returns the monitor window.
    zuohao::gui::JianKongForm* watchEveryFewDraws();

    TestSeams seams;
    QTemporaryDir dir;

private:
    std::unique_ptr<zuohao::gui::LotteryForm> m_form;
};
