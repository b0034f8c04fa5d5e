#pragma once
// 提醒设置: the list of targets (each on or off, each with the events it gets), the settings of
// the target chosen, a 测试 button that sends it a test message and shows its answer, what
// closing the main window does, and the delivery log. Addresses and signing secrets are shown
// masked unless 显示 is on. Every change is saved at once to the user's own settings file.
#include <QString>
#include <QWidget>
#include <array>

#include "notify/NotifySettings.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace zuohao::notify {
class NotificationCenter;
}

namespace zuohao::gui {

// How the window shows a problem (a bad address, a failed test, a settings file it cannot use).
inline constexpr char kProblemStyle[] = "color: #C00000;";

class NotifySettingsWindow : public QWidget {
    Q_OBJECT
public:
    // Works on `settings`, saved to `path`; the targets are handed to `center` at every change.
    NotifySettingsWindow(notify::NotificationCenter& center, const notify::NotifySettings& settings,
                         const QString& path, QWidget* parent = nullptr);
    ~NotifySettingsWindow() override;

    const notify::NotifySettings& settings() const { return m_settings; }
    // Replaces the settings shown (for example after the close question was answered).
    void setSettings(const notify::NotifySettings& settings);
    // Shows a problem with the settings file (it could not be read, or saved).
    void showProblem(const QString& text);

    // Intents of the controls.
    void addTarget(notify::TargetKind kind);
    void removeCurrentTarget();
    void selectTarget(int row);
    void testCurrentTarget();

signals:
    void settingsChanged(const notify::NotifySettings& settings);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildTargetList();
    QWidget* buildEditor();
    QWidget* buildBottom();
    void wireSignals();

    // The target being edited (nullptr when there is none).
    notify::Target* current();
    void showCurrent();
    void showKindRows(notify::TargetKind kind);
    void showAddressNote();
    void refreshList();
    void showLog();
    // Takes the editor's values into the current target (after a pause in typing, or at once).
    void editorEdited();
    void commitEditor();
    void commit();
    void testAnswered(const QString& id, bool accepted, const QString& answer);

    notify::NotificationCenter& m_center;
    notify::NotifySettings m_settings;
    QString m_path;
    int m_row = -1;
    bool m_showing = false; // writing the editor from a target: no commits

    QListWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QWidget* m_editor = nullptr;
    QFormLayout* m_form = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_url = nullptr;
    QPushButton* m_reveal = nullptr;
    QLineEdit* m_secret = nullptr;
    QLineEdit* m_keyword = nullptr;
    QComboBox* m_method = nullptr;
    QComboBox* m_contentType = nullptr;
    QPlainTextEdit* m_template = nullptr;
    QLabel* m_fields = nullptr;
    QLabel* m_urlNote = nullptr;
    std::array<QCheckBox*, 4> m_events{};
    QPushButton* m_test = nullptr;
    QLabel* m_answer = nullptr;
    QComboBox* m_onClose = nullptr;
    QLabel* m_problem = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QTimer* m_typing = nullptr;
};

} // namespace zuohao::gui
