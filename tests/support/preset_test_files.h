#pragma once

// Helpers for tests that read and write presets files byte for byte.

#include "preset.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTest>

// Readable values in QCOMPARE failures.
inline char* toString(const Preset& preset) {
    return QTest::toString(QStringLiteral("{\"%1\", %2, %3, %4, \"%5\"}")
                               .arg(preset.formula)
                               .arg(preset.dropLow)
                               .arg(preset.dropHigh)
                               .arg(preset.rerollOnes)
                               .arg(preset.addSubtract));
}

inline char* toString(const PresetTable& table) {
    QString text;
    for (int n = 1; n <= presetCount; ++n) {
        char* one = toString(table.at(n));
        text += QStringLiteral("\n  %1: %2").arg(n).arg(QString::fromUtf8(one));
        delete[] one;
    }
    return QTest::toString(text);
}

namespace preset_test {

inline QByteArray fileBytes(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeBytes(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Six lines for one record, as a hand-edited file might hold them.
inline QList<QByteArray> record(const QByteArray& header, const QByteArray& formula,
                                const QByteArray& low, const QByteArray& high,
                                const QByteArray& ones, const QByteArray& amount) {
    return {header, formula, low, high, ones, amount};
}

// The canonical file of twelve records whose formulas are "1d<n>" and whose flags and amounts
// are clear, as a list of 72 lines.
inline QList<QByteArray> plainLines() {
    QList<QByteArray> lines;
    for (int n = 1; n <= presetCount; ++n)
        lines += record("F " + QByteArray::number(n), "1d" + QByteArray::number(n), " 0 ", " 0 ",
                        " 0 ", "");
    return lines;
}

// The table that plainLines() describes.
inline PresetTable plainTable() {
    PresetTable table;
    for (int n = 1; n <= presetCount; ++n)
        table.at(n).formula = QStringLiteral("1d%1").arg(n);
    return table;
}

// Every line followed by lineEnd.
inline QByteArray joined(const QList<QByteArray>& lines, const QByteArray& lineEnd = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + lineEnd;
    return bytes;
}

} // namespace preset_test
