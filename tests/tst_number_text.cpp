#include "number_text.h"

#include <QTest>

#include <cmath>
#include <string>

class tst_number_text : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void leadingNumberOverflowIsInfinite_data();
    void leadingNumberOverflowIsInfinite();
    void numberText_data();
    void numberText();
    void appendKeepsWhatCameBefore();
};

void tst_number_text::leadingNumber_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::addRow("digits") << QByteArray("6") << 6.0;
    QTest::addRow("digits then plus") << QByteArray("6+") << 6.0;
    QTest::addRow("minus digits then plus") << QByteArray("-6+") << -6.0;
    QTest::addRow("plus digits") << QByteArray("+5") << 5.0;
    QTest::addRow("leading zeros") << QByteArray("005") << 5.0;
    QTest::addRow("lone plus") << QByteArray("+") << 0.0;
    QTest::addRow("lone minus") << QByteArray("-") << 0.0;
    QTest::addRow("empty") << QByteArray("") << 0.0;
    QTest::addRow("two signs") << QByteArray("--3") << 0.0;
    QTest::addRow("stops at second number") << QByteArray("1+2") << 1.0;
    QTest::addRow("stops at letter") << QByteArray("12d6") << 12.0;
    QTest::addRow("minus zero") << QByteArray("-0") << 0.0;
    QTest::addRow("1000") << QByteArray("1000") << 1000.0;
    QTest::addRow("largest exact") << QByteArray("9007199254740992") << 9007199254740992.0;
    QTest::addRow("twenty digits") << QByteArray("100000000000000000000") << 1e20;
}

void tst_number_text::leadingNumber() {
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    QCOMPARE(::leadingNumber(text.toStdString()), expected);
}

void tst_number_text::leadingNumberOverflowIsInfinite_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("negative");

    const QByteArray digits(400, '9');
    QTest::addRow("400 nines") << digits << false;
    QTest::addRow("plus 400 nines") << ("+" + digits) << false;
    QTest::addRow("minus 400 nines") << ("-" + digits) << true;
    QTest::addRow("1 and 309 zeros") << ("1" + QByteArray(309, '0')) << false;
}

void tst_number_text::leadingNumberOverflowIsInfinite() {
    QFETCH(QByteArray, text);
    QFETCH(bool, negative);
    const double value = ::leadingNumber(text.toStdString());
    QVERIFY(std::isinf(value));
    QCOMPARE(value < 0, negative);
}

void tst_number_text::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("trimmed");

    QTest::addRow("7") << 7.0 << QByteArray(" 7") << QByteArray("7");
    QTest::addRow("0") << 0.0 << QByteArray(" 0") << QByteArray("0");
    QTest::addRow("-0") << -0.0 << QByteArray(" 0") << QByteArray("0");
    QTest::addRow("-3") << -3.0 << QByteArray("-3") << QByteArray("-3");
    QTest::addRow("1000") << 1000.0 << QByteArray(" 1000") << QByteArray("1000");
    QTest::addRow("largest plain")
        << 999999999999999.0 << QByteArray(" 999999999999999") << QByteArray("999999999999999");
    QTest::addRow("largest plain negative")
        << -999999999999999.0 << QByteArray("-999999999999999") << QByteArray("-999999999999999");
    QTest::addRow("1e15") << 1e15 << QByteArray(" 1E+15") << QByteArray("1E+15");
    QTest::addRow("-1e15") << -1e15 << QByteArray("-1E+15") << QByteArray("-1E+15");
    QTest::addRow("1.5e20") << 1.5e20 << QByteArray(" 1.5E+20") << QByteArray("1.5E+20");
    QTest::addRow("-2.5e16") << -2.5e16 << QByteArray("-2.5E+16") << QByteArray("-2.5E+16");
    QTest::addRow("fifteen digits kept")
        << 1234567890123456.0 << QByteArray(" 1.23456789012346E+15")
        << QByteArray("1.23456789012346E+15");
    QTest::addRow("three-digit exponent") << 1e300 << QByteArray(" 1E+300") << QByteArray("1E+300");
}

void tst_number_text::numberText() {
    QFETCH(double, value);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, trimmed);
    QCOMPARE(QByteArray::fromStdString(::numberText(value)), text);
    QCOMPARE(QByteArray::fromStdString(::trimmedNumberText(value)), trimmed);
}

void tst_number_text::appendKeepsWhatCameBefore() {
    std::string line = "Total:";
    appendNumberText(line, 11);
    QCOMPARE(line, std::string("Total: 11"));
    line = "d6(";
    appendTrimmedNumberText(line, 3);
    QCOMPARE(line, std::string("d6(3"));
}

QTEST_GUILESS_MAIN(tst_number_text)
#include "tst_number_text.moc"
