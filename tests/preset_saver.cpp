// Child process of the crash-safety test: saves two different preset tables into the working
// directory's presets file, one after the other, until it is killed. After each completed save
// it writes a line to stdout, so that the test knows the saving is under way.
#include "preset_file.h"

#include <QCoreApplication>

#include <cstdio>

PresetTable savedTable(int which) {
    PresetTable table;
    for (int n = 1; n <= presetCount; ++n) {
        Preset& p = table.at(n);
        p.formula = QStringLiteral("%1d%2+%3").arg(n).arg(which == 0 ? 6 : 8).arg(which);
        p.dropLow = which;
        p.rerollOnes = 1 - which;
        p.addSubtract = which == 0 ? QStringLiteral("+1") : QStringLiteral("-2");
    }
    return table;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--print"))) {
        // Writes both tables once, for the test to learn their bytes.
        writePresetFile(savedTable(0), QStringLiteral("a.dat"));
        writePresetFile(savedTable(1), QStringLiteral("b.dat"));
        return 0;
    }
    for (int i = 0;; i = 1 - i) {
        if (const auto error = writePresetFile(savedTable(i)))
            return 1;
        std::puts("saved");
        std::fflush(stdout);
    }
}
