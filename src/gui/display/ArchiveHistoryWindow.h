#pragma once
// "历史": the archive's draws of the active lottery, newest first, with a day filter, gaps and
// corrections marked, and export of the shown range as CSV.
#include <QWidget>
#include <string>

#include "store/DrawArchive.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace zuohao::gui {

class BackgroundWork;
class ArchiveHistoryModel;
class LastingNote;

class ArchiveHistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit ArchiveHistoryWindow(QWidget* parent = nullptr);

    // Shows `lottery` of `archive` (not owned; null: no archive, with `why` in the window),
    // every day, newest first.
    void showLottery(store::Archive* archive, const std::string& lottery, const QString& why = {});
    // Rereads the archive, keeping the day chosen.
    void reload();
    // Chooses a day (yyyy-mm-dd) or every day (empty).
    void setDay(const QString& day);
    QString day() const;
    // Asks where to save and writes the shown range (every draw of the listing or the day, as
    // the archive's CSV) on a background lane, with its progress in the status label and its
    // outcome in the lasting note; while it runs the button cancels it. exportFinished() tells when
    // it is over.
    void exportShown();

    ArchiveHistoryModel* model() const { return m_model; }
    QTableView* table() const { return m_table; }
    QString statusText() const;
    // The outcome of an export, kept until the player dismisses it.
    QString noteText() const;

signals:
    void exportFinished();

private:
    void build();
    void wire();
    void fillDays();
    void showCounts();

    store::Archive* m_archive = nullptr;
    std::string m_lottery;
    qint64 m_total = -1; // the lottery's draws in the archive; -1: not known
    QString m_why;
    ArchiveHistoryModel* m_model = nullptr;
    QComboBox* m_dayFilter = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_status = nullptr;
    LastingNote* m_note = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_refresh = nullptr;
    void exportEnded(const QString& path, qint64 written, const QString& error);

    BackgroundWork* m_work = nullptr; // the export's lane, made at the first export
    bool m_exporting = false;
};

} // namespace zuohao::gui
