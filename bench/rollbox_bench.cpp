// Times the roll path of the real main window on the offscreen platform: the worst legal roll
// (1000d1000, 1000 times, every option that adds work, logged) against the bare cost of
// writing its four files, the engine alone against rolldice, a typical roll, the memory a
// large roll adds, and start-up against a bare window; then the odds of the heaviest requests
// and the reading of a 100 MB roll log. Every figure is a median over repeated runs in this one
// process; the summary line comes last.

#include "bench_support.h"
#include "log_totals.h"
#include "memory_reuse.h"
#include "paint_watch.h"
#include "random_source.h"
#include "result_pane.h"
#include "roll_dice.h"
#include "roll_odds.h"
#include "roll_request.h"
#include "startup_bench.h"
#include "tumo.h"
#include "work_files.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
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
#include <thread>
#include <vector>

using namespace bench;

namespace {

struct Settings {
    int worstRolls = 20; // the first is cold; the growth check spans the 2nd to the last
    int typicalRolls = 200;
    int startupRuns = 7;
    int engineRuns = 7;
    int rolldiceRuns = 5;
    int oddsRuns = 5;
    int logRuns = 3;
};

void figure(const char* name, double value, const char* what) {
    std::printf("%-22s %12.3f   %s\n", name, value, what);
}

// Times a roll until the user could see it: the click, then the posted events, which paint
// what the roll changed; a pane whose text area was not painted by then is painted at once.
class RollTimer {
public:
    explicit RollTimer(Tumo& tumo)
        : tumo_(tumo), watch_({tumo.txtTotal->viewport(), tumo.txtDice->viewport()}) {}

    double roll() {
        watch_.reset();
        return timeMs([&] {
            tumo_.cmdRoll_Click();
            QCoreApplication::processEvents();
            for (std::size_t i = 0; i < watch_.size(); ++i) {
                if (!watch_.painted(i))
                    watch_.widget(i)->repaint();
            }
        });
    }

private:
    Tumo& tumo_;
    PaintWatch watch_;
};

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

void setTypicalRoll(Tumo& tumo, const QString& logPath) {
    tumo.txtInput->setText(QStringLiteral("3d6+2"));
    tumo.txtAdd->clear();
    tumo.chkTimes->setChecked(false);
    tumo.txtTimes->clear(); // one repetition
    tumo.chkReroll->setChecked(false);
    tumo.chkDropLow->setChecked(false);
    tumo.chkDropHigh->setChecked(false);
    tumo.chkDShow->setChecked(false);
    tumo.logPath = logPath;
    const QSignalBlocker noDialog(tumo.chkSave);
    tumo.chkSave->setChecked(true);
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
    RollTimer timer(tumo);
    const bool peakReset = resetPeakMemory();
    const double firstMs = timer.roll();
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
        worst.push_back(timer.roll());
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

// A 3d6+2 roll, logged, repeated back to back. The same roll after an idle pause is timed
// too: it finds the caches cold, and the disk may still be taking the previous roll's bytes.
double measureTypicalRoll(Tumo& tumo, const QString& logPath, const Settings& settings) {
    setTypicalRoll(tumo, logPath);
    RollTimer timer(tumo);
    timer.roll();
    std::vector<double> rolls, afterPause;
    for (int i = 0; i < settings.typicalRolls; ++i)
        rolls.push_back(timer.roll() * 1000.0);
    for (int i = 0; i < settings.typicalRolls / 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        afterPause.push_back(timer.roll() * 1000.0);
    }
    const double us = median(rolls);
    figure("typical_us", us, "3d6+2 logged, click to panes painted (us); goal: at most 1000");
    figure("typical_idle_us", median(afterPause), "the same roll 30 ms after the last (us)");
    return us;
}

// The odds of the heaviest requests: the largest with every option, the heaviest that must be
// exact (count x |sides| up to 20,000) for each kind of method, among them the dice just below
// 160 faces, whose uneven faces are followed exactly, and the widest tables with both drops.
// The worst median counts.
double measureOdds(const Settings& settings) {
    struct Request {
        const char* formula;
        RollOptions options;
    };
    const RollOptions none{}, low{false, true, false, false}, both{false, true, true, false},
        everything{true, true, true, false};
    const Request requests[] = {
        {"1000d1000", everything}, {"1000d1000", low},    {"1000d1000", none},
        {"1000d-1000+0", both},    {"700d1000", both},    {"20d1000", both},
        {"5d-4000+0", both},       {"100d127", both},     {"9d159", everything},
        {"10d-159+0", both},       {"3d-6666+0", low},    {"16d-65535+0", none},
        {"6d-3333+0", low},        {"17d-69905+0", both}, {"4d-524287+0", both},
    };
    double worst = 0;
    for (const Request& request : requests) {
        std::vector<double> runs;
        OddsEnding ending = OddsEnding::Stopped;
        for (int i = 0; i < settings.oddsRuns; ++i)
            runs.push_back(timeMs([&] {
                ending = rollOdds({request.formula, "", ""}, request.options).ending;
            }));
        const double ms = median(runs);
        char name[48];
        std::snprintf(name, sizeof name, "odds %s%s%s%s", request.formula,
                      request.options.rerollOnes ? " R" : "",
                      request.options.dropLowest ? " L" : "",
                      request.options.dropHighest ? " H" : "");
        std::printf("%-22s %12.3f   %s\n", name, ms,
                    ending == OddsEnding::Distribution ? "distribution of one total (ms)"
                                                       : "NO DISTRIBUTION");
        worst = std::max(worst, ending == OddsEnding::Distribution ? ms : 1e9);
    }
    figure("odds_worst_ms", worst, "the slowest of these; goal: at most 250");
    return worst;
}

// A roll log of 100 MB written by the roller itself: large and small records of many requests,
// read back for the rolls of one of them.
double measureLogReading(const QString& logPath, const Settings& settings) {
    Generator generator;
    generator.seed(secondsSinceMidnight());
    struct Kind {
        RollInputs inputs;
        RollOptions options;
    };
    // Mostly short lines to follow, and many rolls of the request read back.
    const Kind kinds[] = {
        {{"3d6", "", "1000"}, {}},
        {{"1d20", "", "1000"}, {true, false, false, false}},
        {{"4d6", "", "100"}, {false, true, false, false}},
        {{"1000d6", "", ""}, {}},
        {{"3d6", "2", "10"}, {}},
        {{"2d6", "", "10"}, {false, true, true, false}},
    };
    constexpr std::size_t logBytes = std::size_t{100} << 20;
    std::string log;
    log.reserve(logBytes + (std::size_t{1} << 20));
    RollRecord record;
    while (log.size() < logBytes) {
        for (const Kind& kind : kinds) {
            rollDice(readRollRequest(kind.inputs).request, kind.options, generator, record);
            log += record.text();
        }
    }
    log.resize(logBytes); // the last record is cut short, as a log may be
    const QByteArray name = QFile::encodeName(logPath);
    if (!writeFile(name.constData(), log, false)) {
        std::printf("%-22s %12s   %s\n", "log_100mb_ms", "n/a", "the log could not be written");
        return -1;
    }
    log = std::string();
    const RollRequest request = readRollRequest({"3d6", "", ""}).request;
    std::vector<double> runs;
    LogReadResult read;
    for (int i = 0; i < settings.logRuns; ++i)
        runs.push_back(timeMs([&] { read = readLoggedRolls(logPath, request, {}); }));
    emptyFile(logPath);
    const double ms = median(runs);
    std::printf("%-22s %12zu   %s\n", "log_rolls_found", read.rolls.totals.size(),
                read.ok ? "rolls of 3d6 in the log" : "THE LOG COULD NOT BE READ");
    figure("log_100mb_ms", ms, "the rolls of 3d6 read from a 100 MB log; goal: at most 1000");
    return read.ok ? ms : -1;
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
    const auto start = Clock::now();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && !std::strcmp(argv[1], startupChildOption))
        return runStartupChild(argc, argv, argv[2], start);
    QApplication app(argc, argv);
    keepLargeBlocksForReuse(); // as the program does
    const Settings settings = readSettings(argc, argv);

    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path())) {
        std::fprintf(stderr, "no temporary working directory\n");
        return 1;
    }
    copyDataFiles(QDir(workDir.path()));
    const QString logPath = QDir(workDir.path()).filePath(QStringLiteral("rolllog.txt"));
    std::printf("working directory %s\n", qPrintable(workDir.path()));

    measureStartup(workDir.path(), settings.startupRuns);

    Tumo tumo;
    tumo.Form_Load();
    showAndPaint(&tumo);
    // Typical rolls first, before the large rolls leave the disk busy writing back.
    const double typicalUs = measureTypicalRoll(tumo, logPath, settings);
    const WorstFigures worst = measureWorstRoll(tumo, logPath, settings);
    const double engineMs = measureEngine(settings);
    const std::optional<double> rolldiceMs = measureRolldice(settings);
    const double oddsMs = measureOdds(settings);
    const double logMs = measureLogReading(logPath, settings);

    char rolldice[32] = "n/a";
    if (rolldiceMs)
        std::snprintf(rolldice, sizeof rolldice, "%.1f", *rolldiceMs);
    std::printf(
        "worst_ms=%.1f io_floor_ms=%.1f ratio=%.2f engine_ms=%.1f rolldice_ms=%s "
        "typical_us=%.0f peak_mb=%.1f record_mb=%.1f odds_worst_ms=%.1f log_100mb_ms=%.1f\n",
        worst.worstMs, worst.floorMs, worst.worstMs / worst.floorMs, engineMs, rolldice, typicalUs,
        worst.peakMb, worst.recordMb, oddsMs, logMs);
    std::fflush(stdout);
    QDir::setCurrent(QDir::tempPath()); // let the temporary folder go
    return 0;
}
