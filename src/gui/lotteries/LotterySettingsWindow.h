#pragma once
// 彩票设置: the lotteries the player follows, in tab order. A lottery is added under the name
// typed in 名称, renamed (F2, then Enter) or removed (Delete); each has its draw file (typed or
// chosen with 选择…) and, for the player's own, its period naming. The two built-in lotteries
// can be given a draw file but are never removed or renamed. A name that cannot be used is
// shown in red under the field, never in a message box. Every accepted change is announced
// with the whole new list; keeping it is the caller's business.
#include <QWidget>

#include "core/model/LotteryRegistry.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace zuohao::gui {

class LotterySettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit LotterySettingsWindow(const LotteryRegistry& registry, QWidget* parent = nullptr);

    const LotteryRegistry& registry() const { return m_registry; }
    // Replaces the list shown (the selection stays on the same place when it can).
    void setRegistry(const LotteryRegistry& registry);
    int currentIndex() const;
    void selectLottery(int index);
    // The problem shown under the name field; empty when there is none.
    QString problem() const;

    // Intents of the controls.
    void addLottery();
    void beginRename();
    void renameCurrent();
    void removeCurrent();
    void chooseDrawFile();

signals:
    void registryChanged(const zuohao::LotteryRegistry& registry);

private:
    void buildControls();
    void showCurrent();
    void showProblem(const QString& text);
    void applyDrawFile();
    void applyNaming();
    void changed();

    LotteryRegistry m_registry;
    bool m_renaming = false; // F2 was pressed: Enter in the name field renames
    bool m_showing = false;  // the controls are being filled from the list
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_problem = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_choose = nullptr;
    QComboBox* m_naming = nullptr;
    QSpinBox* m_perDay = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace zuohao::gui
