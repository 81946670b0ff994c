#include "startup_bench.h"

#include "paint_watch.h"
#include "tumo.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>

#include <cstdio>
#include <cstring>
#include <memory>

namespace bench {

namespace {

void figure(const char* name, double value, const char* what) {
    std::printf("%-22s %12.3f   %s\n", name, value, what);
}

std::unique_ptr<QWidget> makeWindow(bool main) {
    if (main) {
        auto tumo = std::make_unique<Tumo>();
        tumo->Form_Load();
        return tumo;
    }
    auto window = std::make_unique<QWidget>();
    new QLabel(QStringLiteral("Rollbox"), window.get());
    return window;
}

// A fresh process from its main() to the first paint, or -1 when it failed.
double startInChild(const QString& workDir, const char* kind) {
    QProcess child;
    child.setWorkingDirectory(workDir);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(startupChildOption), QString::fromLatin1(kind)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

// The same window made, loaded and painted again inside this process.
double startAgain(bool main) {
    std::unique_ptr<QWidget> window;
    const double ms = timeMs([&] {
        window = makeWindow(main);
        showAndPaint(window.get());
    });
    window.reset();
    QCoreApplication::processEvents();
    return ms;
}

} // namespace

int runStartupChild(int& argc, char* argv[], const char* kind, Clock::time_point start) {
    QApplication app(argc, argv);
    const std::unique_ptr<QWidget> window = makeWindow(std::strcmp(kind, "tumo") == 0);
    showAndPaint(window.get());
    std::printf("%.3f\n", millisecondsSince(start));
    return 0;
}

void measureStartup(const QString& workDir, int runs) {
    std::vector<double> bare, main, bareAgain, mainAgain;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(startInChild(workDir, "bare"));
        main.push_back(startInChild(workDir, "tumo"));
        bareAgain.push_back(startAgain(false));
        mainAgain.push_back(startAgain(true));
    }
    const double b = median(bare), m = median(main);
    figure("startup_bare_ms", b, "new process to a bare window with one label painted");
    figure("startup_tumo_ms", m, "new process to the main window made, loaded and painted");
    figure("startup_ratio", m / b, "goal: at most 3");
    const double ba = median(bareAgain), ma = median(mainAgain);
    figure("again_bare_ms", ba, "the bare window made again in a running process");
    figure("again_tumo_ms", ma, "the main window made again in a running process");
    figure("again_ratio", ma / ba, "the same ratio with the process already started");
}

} // namespace bench
