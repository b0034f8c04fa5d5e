#include "support_monitor.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "gui/monitor/MonitorGrid.h"

namespace zuohao::gui::test {

std::string periodLabel(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "20261208%04d", n);
    return buf;
}

MonitorRig::MonitorRig() {
    lottery.setPositionIndex(9);
    setMainBase(NumberList::read(kBase, false).list);
    form = std::make_unique<JianKongForm>([this] { return tabs; });
}

MonitorRig::~MonitorRig() = default;

void MonitorRig::feed(const std::string& pattern) {
    for (char c : pattern) {
        ++fed;
        lottery.ProcessDraw(periodLabel(fed), c == 'H' ? kHitDraw : kMissDraw);
    }
}

void MonitorRig::chooseSettings() {
    form->prepareAtStartUp();
    // Picks an entry the way the user does: focus the list and move to it with the keys.
    auto pick = [this](int index, int entry) {
        auto* box = child<QComboBox>(QStringLiteral("SZCom_%1").arg(index));
        while (box->currentIndex() < entry)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > entry)
            QTest::keyClick(box, Qt::Key_Up);
    };
    pick(0, 0);
    pick(1, 30);
    pick(2, 3);
    pick(3, 2);
    auto* period = child<QLineEdit>(QStringLiteral("ZhuoQiTxt"));
    period->clear();
    QTest::keyClicks(period, QStringLiteral("5"));
}

QTableView* MonitorRig::grid() const {
    return child<QTableView>(QStringLiteral("ZSGrid_0"));
}

QString MonitorRig::cell(int row, int column) const {
    const QAbstractItemModel* m = grid()->model();
    return m->data(m->index(row, column)).toString();
}

int MonitorRig::gridRows() const {
    return grid()->model()->rowCount();
}

QStringList rowTexts(const MonitorRig& rig, int row) {
    QStringList out;
    for (int c = 0; c < MonitorGridModel::kColumns; ++c)
        out << rig.cell(row, c);
    return out;
}

QList<QStringList> gridTexts(const MonitorRig& rig) {
    QList<QStringList> out;
    for (int r = 0; r < rig.gridRows(); ++r)
        out << rowTexts(rig, r);
    return out;
}

int findRow(const MonitorRig& rig, int column, const QString& text) {
    for (int r = 0; r < rig.gridRows(); ++r)
        if (rig.cell(r, column) == text) return r;
    return -1;
}

} // namespace zuohao::gui::test
