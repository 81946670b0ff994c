// Times the roll path of the real main window on the offscreen platform: the worst legal roll
// (1000d1000, 1000 times, every option that adds work, logged) against the bare cost of
// writing its four files, the engine alone against rolldice, a typical roll, the memory a
// large roll adds, and start-up against a bare window. Every figure is a median over repeated
// runs in this one process; the summary line comes last.

#include "bench_support.h"
#include "random_source.h"
#include "result_pane.h"
#include "roll_dice.h"
#include "roll_request.h"
#include "tumo.h"
#include "work_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

using namespace bench;

namespace {

struct Settings {
    int worstRolls = 20; // the first is cold; the growth check spans the 2nd to the last
    int typicalRolls = 200;
    int startupRuns = 10;
    int engineRuns = 7;
    int rolldiceRuns = 5;
};

void figure(const char* name, double value, const char* what) {
    std::printf("%-22s %12.3f   %s\n", name, value, what);
}

// Lets posted events run (layout, the window's paint request) and paints both panes, so
// that a roll is timed until the user could see it.
void settle(Tumo& tumo) {
    QCoreApplication::processEvents();
    tumo.txtTotal->repaint();
    tumo.txtDice->repaint();
}

double timedRoll(Tumo& tumo) {
    return timeMs([&] {
        tumo.cmdRoll_Click();
        settle(tumo);
    });
}

void setWorstRoll(Tumo& tumo, const QString& logPath) {
    tumo.txtInput->setText(QStringLiteral("1000d1000"));
    tumo.txtAdd->clear();
    tumo.chkTimes->setChecked(true);
    tumo.txtTimes->setText(QStringLiteral("1000"));
    tumo.chkReroll->setChecked(true);
    tumo.chkDropLow->setChecked(true);
    tumo.chkDropHigh->setChecked(true);
    tumo.chkDShow->setChecked(false);
    tumo.logPath = logPath;
    const QSignalBlocker noDialog(tumo.chkSave); // checked without asking for the path
    tumo.chkSave->setChecked(true);
}

void setTypicalRoll(Tumo& tumo) {
    tumo.txtInput->setText(QStringLiteral("3d6+2"));
    tumo.txtAdd->clear();
    tumo.chkTimes->setChecked(false); // empties the count box: one repetition
    tumo.chkReroll->setChecked(false);
    tumo.chkDropLow->setChecked(false);
    tumo.chkDropHigh->setChecked(false);
}

std::string readWhole(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

void emptyFile(const QString& name) {
    QFile::resize(name, 0);
}

// Shows a window and lets events run until it has been painted for the first time: on the
// offscreen platform, as on a real one, painting waits for the window to be exposed.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) { window->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void showAndPaint(QWidget* window) {
    FirstPaint watch(window);
    window->show();
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (!watch.painted && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Start-up: a bare window with one label, and the main window constructed, loaded and
// painted. The first window of the process pays the platform's own start, so it is timed
// apart and both kinds are then timed in turns.
void measureStartup(const Settings& settings) {
    auto bare = [] {
        std::unique_ptr<QWidget> window;
        const double ms = timeMs([&] {
            window = std::make_unique<QWidget>();
            new QLabel(QStringLiteral("Rollbox"), window.get());
            showAndPaint(window.get());
        });
        window.reset();
        QCoreApplication::processEvents();
        return ms;
    };
    auto main = [] {
        std::unique_ptr<Tumo> tumo;
        const double ms = timeMs([&] {
            tumo = std::make_unique<Tumo>();
            tumo->Form_Load();
            showAndPaint(tumo.get());
        });
        tumo.reset();
        QCoreApplication::processEvents();
        return ms;
    };
    figure("startup_cold_bare_ms", bare(), "first window of the process, one label");
    std::vector<double> bareMs, mainMs;
    for (int i = 0; i < settings.startupRuns; ++i) {
        bareMs.push_back(bare());
        mainMs.push_back(main());
    }
    const double b = median(bareMs), m = median(mainMs);
    figure("startup_bare_ms", b, "bare window with one label: shown until first painted");
    figure("startup_tumo_ms", m, "main window: constructed, loaded, shown until first painted");
    figure("startup_ratio", m / b, "goal: at most 3");
}

struct WorstFigures {
    double worstMs = 0;
    double floorMs = 0;
    double peakMb = -1;
    double recordMb = 0;
    double growthMb = -1;
};

WorstFigures measureWorstRoll(Tumo& tumo, const QString& logPath, const Settings& settings) {
    WorstFigures f;
    setWorstRoll(tumo, logPath);

    emptyFile(logPath);
    const long rssBefore = statusKiB("VmRSS");
    const bool peakReset = resetPeakMemory();
    const double firstMs = timedRoll(tumo);
    const long peak = statusKiB("VmHWM");
    if (rssBefore >= 0 && peak >= 0)
        f.peakMb = mebibytes((peak - rssBefore) * 1024.0);
    figure("worst_first_ms", firstMs, "the first worst roll, buffers still to be made");
    if (!peakReset)
        std::printf("note: the peak memory could not be reset; peak_mb may include earlier use\n");

    // The same bytes the roll wrote, for the floor: the record and the two pane texts.
    const std::string record = readWhole(recordFileName);
    const std::string totals = readWhole(totalsFileName);
    const std::string dice = readWhole(diceFileName);
    f.recordMb = mebibytes(static_cast<double>(record.size()));
    const QByteArray logName = QFile::encodeName(logPath);

    std::vector<double> worst, floor;
    long rssSecond = -1, rssLast = -1;
    for (int i = 2; i <= settings.worstRolls; ++i) {
        emptyFile(logPath);
        worst.push_back(timedRoll(tumo));
        const long rss = statusKiB("VmRSS");
        if (i == 2)
            rssSecond = rss;
        rssLast = rss;

        emptyFile(logPath);
        floor.push_back(timeMs([&] {
            writeFile("temp.txt", record, false);
            writeFile("tempt.txt", totals, false);
            writeFile("tempd.txt", dice, false);
            writeFile(logName.constData(), record, true);
        }));
    }
    emptyFile(logPath);
    f.worstMs = median(worst);
    f.floorMs = median(floor);
    if (rssSecond >= 0 && rssLast >= 0)
        f.growthMb = mebibytes((rssLast - rssSecond) * 1024.0);

    figure("worst_ms", f.worstMs, "worst legal roll: click to panes painted, log appended");
    figure("io_floor_ms", f.floorMs, "the same bytes written to the same four files");
    figure("ratio", f.worstMs / f.floorMs, "goal: at most 2");
    figure("record_mb", f.recordMb, "bytes of the worst roll's record");
    figure("panes_mb", mebibytes(static_cast<double>(totals.size() + dice.size())),
           "bytes of its two pane texts");
    figure("peak_mb", f.peakMb, "memory the first worst roll adds; goal: at most 4 x record_mb");
    char what[96];
    std::snprintf(what, sizeof what, "resident growth from worst roll 2 to %d; goal: none",
                  settings.worstRolls);
    figure("growth_mb", f.growthMb, what);
    return f;
}

// From request to record in memory and "temp.txt" written, without the window.
double measureEngine(const Settings& settings) {
    const RollInputs inputs{"1000d1000", "", "1000"};
    const RollOptions options{true, true, true, false};
    Generator generator;
    generator.seed(secondsSinceMidnight());
    RollRecord record;
    std::vector<double> runs;
    for (int i = 0; i < settings.engineRuns; ++i) {
        runs.push_back(timeMs([&] {
            const RollRequestResult result = readRollRequest(inputs);
            rollDice(result.request, options, generator, record);
            writeWholeFile(recordFileName, record.text());
        }));
    }
    const double ms = median(runs);
    figure("engine_ms", ms, "request to record and \"temp.txt\" for a million dice");
    return ms;
}

// Debian's rolldice, where installed, rolling the same million dice into a file.
std::optional<double> measureRolldice(const Settings& settings) {
    QString program = QStandardPaths::findExecutable(QStringLiteral("rolldice"));
    if (program.isEmpty()) // Debian installs it under /usr/games, not always on the path
        program = QStandardPaths::findExecutable(QStringLiteral("rolldice"),
                                                 {QStringLiteral("/usr/games")});
    if (program.isEmpty()) {
        std::printf("%-22s %12s   %s\n", "rolldice_ms", "n/a", "rolldice is not installed");
        return std::nullopt;
    }
    std::vector<double> runs;
    for (int i = 0; i < settings.rolldiceRuns; ++i) {
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("rolldice.txt"), QIODevice::Truncate);
        runs.push_back(timeMs([&] {
            process.start(program, {QStringLiteral("-s"), QStringLiteral("1000x1000d1000")});
            process.waitForFinished(-1);
        }));
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            std::printf("%-22s %12s   %s failed\n", "rolldice_ms", "n/a", qPrintable(program));
            return std::nullopt;
        }
    }
    const double ms = median(runs);
    figure("rolldice_ms", ms, "rolldice -s 1000x1000d1000 > file");
    figure("rolldice_mb",
           mebibytes(static_cast<double>(QFile(QStringLiteral("rolldice.txt")).size())),
           "bytes rolldice wrote");
    QFile::remove(QStringLiteral("rolldice.txt"));
    return ms;
}

double measureTypicalRoll(Tumo& tumo, const Settings& settings) {
    setTypicalRoll(tumo);
    timedRoll(tumo);
    std::vector<double> runs;
    for (int i = 0; i < settings.typicalRolls; ++i)
        runs.push_back(timeMs([&] {
                           tumo.cmdRoll_Click();
                           settle(tumo);
                       }) *
                       1000.0);
    const double us = median(runs);
    figure("typical_us", us, "3d6+2 logged: click to panes painted, in microseconds");
    return us;
}

void copyDataFiles(const QDir& into) {
    // Later start-up steps read the presets file from the working directory.
    const QDir data(QStringLiteral(ROLLBOX_DATA_DIR));
    for (const QString& name : {QStringLiteral("tumosetup.dat"), QStringLiteral("tumoinfo.dat")})
        QFile::copy(data.filePath(name), into.filePath(name));
}

Settings readSettings(int argc, char* argv[]) {
    Settings s;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int n = std::max(2, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--worst-rolls"))
            s.worstRolls = n;
        else if (!std::strcmp(argv[i], "--typical-rolls"))
            s.typicalRolls = n;
    }
    return s;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Settings settings = readSettings(argc, argv);

    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path())) {
        std::fprintf(stderr, "no temporary working directory\n");
        return 1;
    }
    copyDataFiles(QDir(workDir.path()));
    const QString logPath = QDir(workDir.path()).filePath(QStringLiteral("rolllog.txt"));
    std::printf("working directory %s\n", qPrintable(workDir.path()));

    measureStartup(settings);

    Tumo tumo;
    tumo.Form_Load();
    tumo.show();
    settle(tumo);
    const WorstFigures worst = measureWorstRoll(tumo, logPath, settings);
    const double engineMs = measureEngine(settings);
    const std::optional<double> rolldiceMs = measureRolldice(settings);
    const double typicalUs = measureTypicalRoll(tumo, settings);

    char rolldice[32] = "n/a";
    if (rolldiceMs)
        std::snprintf(rolldice, sizeof rolldice, "%.1f", *rolldiceMs);
    std::printf("worst_ms=%.1f io_floor_ms=%.1f ratio=%.2f engine_ms=%.1f rolldice_ms=%s "
                "typical_us=%.0f peak_mb=%.1f record_mb=%.1f\n",
                worst.worstMs, worst.floorMs, worst.worstMs / worst.floorMs, engineMs, rolldice,
                typicalUs, worst.peakMb, worst.recordMb);
    std::fflush(stdout);
    QDir::setCurrent(QDir::tempPath()); // let the temporary folder go
    return 0;
}
