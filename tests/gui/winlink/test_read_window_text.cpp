// Reading a picked window's text: length limit, trimming, the kill-list width filter and
// the digits of the first line, over a link with texts set by the test.
#include <QTest>

#include "support_fake_link.h"

using namespace zuohao::gui;
using zuohao::gui::test::FakeLink;

class ReadWindowTextTest : public QObject {
    Q_OBJECT
private slots:
    void readsWithWidth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three-digit list") << "123 456 789"
                                          << "3"
                                          << "123 456 789";
        QTest::newRow("a four-digit number refused") << "123 4567"
                                                     << "3"
                                                     << "";
        QTest::newRow("three or four digits") << "123 4567"
                                              << "3,4"
                                              << "123 4567";
        QTest::newRow("five digits refused for 3,4") << "123 45678"
                                                     << "3,4"
                                                     << "";
        QTest::newRow("spaces trimmed") << "   123 456   "
                                        << "3"
                                        << "123 456";
        QTest::newRow("first line of LF text") << "123 456\n789 abc"
                                               << "3"
                                               << "123 456";
        QTest::newRow("first line of CR LF text") << "123 456\r\nxyz"
                                                  << "3"
                                                  << "123 456";
        QTest::newRow("paragraph separator") << QStringLiteral("123\u2029abc") << "3"
                                             << "123";
        QTest::newRow("bad first line, good second") << "12 345\n123 456"
                                                     << "3"
                                                     << "";
        QTest::newRow("NUL removed") << QStringLiteral("123 ") + QChar(0) + "456"
                                     << "3"
                                     << "123 456";
        QTest::newRow("two characters refused") << "12"
                                                << "3"
                                                << "";
        QTest::newRow("letters refused") << "123 abc"
                                         << "3"
                                         << "";
        QTest::newRow("no width: text as it is") << "  123 4567 x \n2"
                                                 << ""
                                                 << "123 4567 x \n2";
        QTest::newRow("no width: spaces only") << "    "
                                               << ""
                                               << "";
        QTest::newRow("no width: tab kept") << "\t5 "
                                            << ""
                                            << "\t5";
    }
    void readsWithWidth() {
        QFETCH(QString, text);
        QFETCH(QString, width);
        QFETCH(QString, expected);
        FakeLink link;
        link.windows[7] = {text, ReadStatus::Ok};
        QCOMPARE(ReadWindowText(link, 7, width), expected);
    }

    void emptyForNoneGoneOrSilentWindows() {
        FakeLink link;
        link.windows[1] = {QStringLiteral("123"), ReadStatus::Ok};
        link.windows[2] = {QStringLiteral("123 456"), ReadStatus::NoAnswer};
        link.windows[3] = {QStringLiteral("123 456"), ReadStatus::Gone};
        QCOMPARE(ReadWindowText(link, 0, QStringLiteral("3")), QString());
        QCOMPARE(link.readCalls, 0); // handle 0 is never asked
        QCOMPARE(ReadWindowText(link, 9), QString());
        QCOMPARE(link.readCalls, 0); // a window that does not exist is not read
        QCOMPARE(ReadWindowText(link, 2), QString());
        QCOMPARE(ReadWindowText(link, 3), QString());
        QCOMPARE(ReadWindowText(link, 1), QStringLiteral("123"));
    }

    void cutAtTheLengthLimit() {
        FakeLink link;
        link.windows[1] = {QString(MaxWindowTextLength - 1, u'1') + QStringLiteral("2345"),
                           ReadStatus::Ok};
        const QString text = ReadWindowText(link, 1);
        QCOMPARE(text.size(), MaxWindowTextLength);
        QVERIFY(text.endsWith(u'2'));
    }

    void digitsOfTheFirstLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two lines") << "3 5 7\n9"
                                   << "357";
        QTest::newRow("CR LF") << "3 5 7\r\n9"
                               << "357";
        QTest::newRow("commas") << "1 3,5"
                                << "135";
        QTest::newRow("no digits") << "abc"
                                   << "";
        QTest::newRow("full-width digits are not digits") << QStringLiteral("１2") << "2";
        QTest::newRow("leading spaces") << "   0 4"
                                        << "04";
    }
    void digitsOfTheFirstLine() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        FakeLink link;
        link.windows[4] = {text, ReadStatus::Ok};
        QCOMPARE(ReadWindowDigits(link, 4), expected);
        QCOMPARE(ReadWindowDigits(link, 0), QString());
    }

    void handleFromLabelText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint64>("expected");
        QTest::newRow("zero") << "0" << quint64(0);
        QTest::newRow("number") << "4711" << quint64(4711);
        QTest::newRow("leading spaces") << "  12" << quint64(12);
        QTest::newRow("trailing text") << "12ab" << quint64(12);
        QTest::newRow("empty") << "" << quint64(0);
        QTest::newRow("letters") << "x12" << quint64(0);
        QTest::newRow("too big") << "99999999999999999999999" << quint64(0);
    }
    void handleFromLabelText() {
        QFETCH(QString, text);
        QFETCH(quint64, expected);
        QCOMPARE(HandleFromText(text), expected);
    }
};

QTEST_GUILESS_MAIN(ReadWindowTextTest)
#include "test_read_window_text.moc"
