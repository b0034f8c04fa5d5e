// A wrapped label keeps the heights it laid out, but never one of another text or font: a
// stale height cuts lines off or leaves a gap.
#include <QtTest>

#include "gui/display/WrapLabel.h"

using namespace zuohao::gui;

class TestWrapLabel : public QObject {
    Q_OBJECT
private slots:
    void heightFollowsTextWidthAndFont() {
        WrapLabel label;
        const QString shortText = QStringLiteral("期数 7");
        const QString longText =
            QString(QStringLiteral("当前连挂 4 期，平均注数 238.6；")).repeated(8);
        constexpr int kNarrow = 160;
        constexpr int kWide = 640;
        label.setText(shortText);
        const int oneLine = label.heightForWidth(kNarrow);
        label.setText(longText);
        const int narrowLong = label.heightForWidth(kNarrow);
        QVERIFY(narrowLong > oneLine);
        QVERIFY(label.heightForWidth(kWide) < narrowLong);
        QCOMPARE(label.heightForWidth(kNarrow), narrowLong); // asked again at a kept width
        QFont big = label.font();
        big.setPointSize(big.pointSize() * 2);
        label.setFont(big);
        QVERIFY(label.heightForWidth(kNarrow) > narrowLong);
        label.setText(shortText);
        QVERIFY(label.heightForWidth(kNarrow) < narrowLong);
        label.setFont(QFont());
        QCOMPARE(label.heightForWidth(kNarrow), oneLine);
    }
};

QTEST_MAIN(TestWrapLabel)
#include "test_wrap_label.moc"
