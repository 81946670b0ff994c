// Folders and files the user may not write, a full disk, and special files where the program
// expects its own: the program says what it could not read or write, keeps running, never
// blocks and loses nothing stored. Tests may run as root, which ignores permissions;
// WithoutRootOverride makes them count.
#include "frm_help.h"
#include "frm_setup.h"
#include "mouse_label.h"
#include "preset_file.h"
#include "result_pane.h"
#include "roll_log.h"
#include "tumo.h"
#include "work_files.h"

#include "full_disk.h"
#include "modal_watch.h"
#include "patience.h"
#include "record_text.h"
#include "scripted_random.h"
#include "special_files.h"
#include "without_root_override.h"
#include "work_dir.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>

// Every place where the program reads or writes a file.
enum class Site { PresetsRead, PresetsSave, HelpWindow, StartUp, WorkFiles, Log };
// Why saving the presets fails.
enum class SaveFault { ReadOnlyFile, ReadOnlyFolder, FullDisk };
Q_DECLARE_METATYPE(Site)
Q_DECLARE_METATYPE(SaveFault)
Q_DECLARE_METATYPE(SpecialFile)

class TstReadOnlyFiles : public QObject {
    Q_OBJECT

private slots:
    void init() { dir_ = std::make_unique<TemporaryWorkDir>(); }
    void cleanup();

    void rollingInAReadOnlyWorkingDirectory_data();
    void rollingInAReadOnlyWorkingDirectory();
    void failedPresetsSave_data();
    void failedPresetsSave();
    void fullDisk_data();
    void fullDisk();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();

private:
    std::unique_ptr<TemporaryWorkDir> dir_;
};

namespace {

constexpr QFile::Permissions readOnlyFile = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions readOnlyFolder =
    readOnlyFile | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;

QByteArray paneText(const ResultPane* pane) {
    return QByteArray::fromStdString(pane->text());
}

void rollOneDie(Tumo& tumo, ScriptedRandom& random, int face) {
    random.faces(6, {face});
    tumo.txtInput->setText(QStringLiteral("1d6"));
    tumo.cmdRoll->click();
}

QByteArray oneDieRecord(int face) {
    const QByteArray result = "d6>  " + QByteArray::number(face);
    return recordLines({"Rolled: 1d6", doubleRuleLine, result.constData(), singleRuleLine});
}

} // namespace

void TstReadOnlyFiles::cleanup() {
    // Writable again, so that a user who is not root can remove it.
    QFile::setPermissions(dir_->path(), readOnlyFolder | QFile::WriteOwner);
    dir_.reset();
}

void TstReadOnlyFiles::rollingInAReadOnlyWorkingDirectory_data() {
    QTest::addColumn<bool>("earlierWorkFiles");
    QTest::addRow("fresh folder") << false;
    QTest::addRow("read-only work files of an earlier run") << true;
}

void TstReadOnlyFiles::rollingInAReadOnlyWorkingDirectory() {
#ifdef Q_OS_WIN
    QSKIP("On Windows a folder's read-only mark does not keep new files out.");
#endif
    QFETCH(bool, earlierWorkFiles);
    const QByteArray earlier = recordLines({"Rolled: 1d4", doubleRuleLine});
    const QStringList workFiles{"temp.txt", "tempt.txt", "tempd.txt"};
    if (earlierWorkFiles) {
        for (const QString& name : workFiles) {
            QVERIFY(writeBytes(name, earlier));
            QVERIFY(QFile::setPermissions(name, readOnlyFile));
        }
    }
    const QByteArray presets = fileBytes(presetFileName);
    QVERIFY(QFile::setPermissions(presetFileName, readOnlyFile));
    QVERIFY(QFile::setPermissions(dir_->path(), readOnlyFolder));
    QTemporaryDir logFolder;
    QVERIFY(logFolder.isValid());
    const QString log = logFolder.filePath(QStringLiteral("rolllog.txt"));

    const WithoutRootOverride permissionsCount;
    if (!permissionsCount.permissionsApply())
        QSKIP("Read-only files take writes here (root, or Wine run by root).");
    ModalWatch watch;
    ScriptedRandom random;
    Tumo tumo;
    tumo.setRandomSource(&random);
    QVERIFY(tumo.Form_Load());
    // The start-up could not make sure of the record file, said so once and went on.
    QCOMPARE(watch.seen(), 1);
    const QString& message = watch.messages.front();
    QVERIFY2(message.contains(QStringLiteral("\"temp.txt\"")), qPrintable(message));
    QVERIFY2(message.contains(qt_error_string(EACCES)), qPrintable(message));
    QVERIFY(tumo.isLoaded());
    tumo.show();
    tumo.logPath = log;
    {
        const QSignalBlocker noLogWindow(tumo.chkSave);
        tumo.chkSave->setChecked(true);
    }

    // Every roll is shown and logged all the same, without another message.
    rollOneDie(tumo, random, 4);
    QCOMPARE(paneText(tumo.txtTotal), recordLines({"Rolled: 1d6", doubleRuleLine}));
    QCOMPARE(paneText(tumo.txtDice), recordLines({"d6>  4", singleRuleLine}));
    rollOneDie(tumo, random, 2);
    QCOMPARE(paneText(tumo.txtDice), recordLines({"d6>  2", singleRuleLine}));
    QCOMPARE(fileBytes(log), oneDieRecord(4) + oneDieRecord(2));
    QVERIFY(tumo.chkSave->isChecked());
    QCOMPARE(watch.seen(), 1);

    // Closing cannot delete the work files, and passes over that silently.
    tumo.imgClose_Click();
    QVERIFY(!tumo.isLoaded());
    QCOMPARE(watch.seen(), 1);
    for (const QString& name : workFiles)
        QCOMPARE(fileBytes(name), earlierWorkFiles ? earlier : QByteArray("<unreadable>"));
    QCOMPARE(fileBytes(presetFileName), presets);
}

void TstReadOnlyFiles::failedPresetsSave_data() {
    QTest::addColumn<SaveFault>("fault");
    QTest::addColumn<QString>("reason");
    QTest::addRow("read-only file") << SaveFault::ReadOnlyFile << QString();
    QTest::addRow("read-only folder") << SaveFault::ReadOnlyFolder << QString();
    QTest::addRow("full disk") << SaveFault::FullDisk << qt_error_string(ENOSPC);
}

void TstReadOnlyFiles::failedPresetsSave() {
    QFETCH(SaveFault, fault);
    QFETCH(QString, reason);
#ifdef Q_OS_WIN
    if (fault == SaveFault::ReadOnlyFolder)
        QSKIP("On Windows a folder's read-only mark does not keep new files out.");
#endif
    const FullDisk disk;
    const auto backHome = qScopeGuard([this] { QDir::setCurrent(dir_->path()); });
    if (fault == SaveFault::FullDisk) {
        if (!disk.unavailable().isEmpty())
            QSKIP(qPrintable(disk.unavailable()));
        QVERIFY(QFile::copy(presetFileName, disk.filePath(presetFileName)));
        QVERIFY(QDir::setCurrent(disk.path()));
    }
    const QByteArray before = fileBytes(presetFileName);
    Tumo tumo;
    QVERIFY(tumo.Form_Load());
    tumo.show();
    const QString toolTip = tumo.lblFunc(2)->toolTip();
    if (fault == SaveFault::ReadOnlyFolder)
        QVERIFY(QFile::setPermissions(dir_->path(), ::readOnlyFolder));
    else if (fault == SaveFault::ReadOnlyFile)
        QVERIFY(QFile::setPermissions(presetFileName, readOnlyFile));
    else
        QVERIFY(disk.fill());
    const QStringList files = QDir::current().entryList(QDir::Files);

    const WithoutRootOverride permissionsCount;
    if (!permissionsCount.permissionsApply())
        QSKIP("Read-only files take writes here (root, or Wine run by root).");
    bool openAfterSave = false;
    QString editAfterSave;
    ModalWatch watch([&](QWidget* modal) {
        auto* setup = qobject_cast<frmSetup*>(modal);
        QVERIFY(setup);
        setup->txtF1(2)->setText(QStringLiteral("7d7"));
        setup->chkHigh(2)->setChecked(true);
        setup->cmdSave->click();
        openAfterSave = setup->isVisible();
        editAfterSave = setup->txtF1(2)->text();
        setup->cmdClose->click();
    });
    tumo.mnusub4_click();

    QCOMPARE(watch.windows, 1);
    QCOMPARE(watch.messages.size(), 1);
    const QString& message = watch.messages.front();
    QVERIFY2(message.contains(presetFileName + QStringLiteral(": ") + reason), qPrintable(message));
    // The setup window stayed open with the edits, so that nothing typed was lost.
    QVERIFY(openAfterSave);
    QCOMPARE(editAfterSave, QStringLiteral("7d7"));
    QCOMPARE(fileBytes(presetFileName), before);
    QCOMPARE(QDir::current().entryList(QDir::Files), files); // no half-written copy left
    QVERIFY(tumo.isLoaded());
    QVERIFY(tumo.isVisible());
    QCOMPARE(tumo.lblFunc(2)->toolTip(), toolTip);
}

namespace {

// What the program says about the file at its site; empty when it worked.
QString messageAt(Site site, const QString& file) {
    const auto said = [](const std::optional<FileFailure>& failure) {
        return failure ? failure->file + QStringLiteral(": ") + failure->reason : QString();
    };
    switch (site) {
    case Site::PresetsRead: {
        const PresetFileRead read = readPresetFile();
        const auto* error = std::get_if<PresetFileError>(&read);
        return error ? error->message() : QString();
    }
    case Site::PresetsSave: {
        const auto error = writePresetFile(PresetTable{});
        return error ? error->message() : QString();
    }
    case Site::HelpWindow: {
        frmHelp help;
        return help.txtHelp->toPlainText();
    }
    case Site::StartUp:
        return said(ensureFileExists(file));
    case Site::WorkFiles:
        return said(writeWorkFiles("record\r\n", "totals\r\n", "dice\r\n"));
    case Site::Log:
        return said(appendRollLog(file, "record\r\n"));
    }
    return {};
}

} // namespace

void TstReadOnlyFiles::specialFilesAreRefused_data() {
    QTest::addColumn<Site>("site");
    QTest::addColumn<QString>("file");
    QTest::addColumn<SpecialFile>("kind");
    QTest::addColumn<QString>("reason"); // empty: the link is replaced, its target untouched
    const struct {
        Site site;
        const char* name;
        const char* file;
    } sites[] = {{Site::PresetsRead, "presets read", "tumosetup.dat"},
                 {Site::PresetsSave, "presets save", "tumosetup.dat"},
                 {Site::HelpWindow, "help window", "tumoinfo.dat"},
                 {Site::StartUp, "start-up", "temp.txt"},
                 {Site::WorkFiles, "work files", "tempd.txt"},
                 {Site::Log, "log", "rolllog.txt"}};
    const struct {
        SpecialFile kind;
        const char* name;
        const char* reason;
    } kinds[] = {{SpecialFile::Pipe, "pipe", "it is a pipe, not a file"},
                 {SpecialFile::EndlessDevice, "/dev/zero", "it is a device, not a file"},
                 {SpecialFile::Folder, "folder", "it is a folder, not a file"},
                 {SpecialFile::Socket, "socket", "it is a socket, not a file"}};
    for (const auto& site : sites) {
        for (const auto& kind : kinds) {
            // A work file's link is replaced rather than refused.
            const bool replaced =
                site.site == Site::WorkFiles && kind.kind == SpecialFile::EndlessDevice;
            QTest::addRow("%s, %s", site.name, kind.name)
                << site.site << QString::fromLatin1(site.file) << kind.kind
                << (replaced ? QString() : QString::fromLatin1(kind.reason));
        }
    }
    QTest::addRow("work files, link to a file")
        << Site::WorkFiles << QStringLiteral("tempd.txt") << SpecialFile::LinkToFile << QString();
    for (const char* file : {"temp.txt", "tempt.txt", "tempd.txt"})
        QTest::addRow("work files, hard link at %s", file)
            << Site::WorkFiles << QString::fromLatin1(file) << SpecialFile::HardLinkToFile
            << QString();
    QTest::addRow("start-up, dangling link")
        << Site::StartUp << QStringLiteral("temp.txt") << SpecialFile::DanglingLink << QString();
}

void TstReadOnlyFiles::specialFilesAreRefused() {
    QFETCH(Site, site);
    QFETCH(QString, file);
    QFETCH(SpecialFile, kind);
    QFETCH(QString, reason);
    QFile::remove(file);
    if (!specialFileMadeHere(kind))
        QSKIP("This kind of file is not made on this system.");
    QVERIFY(makeSpecialFile(file, kind));

    QString message;
    {
        const Watchdog watchdog(patience);
        message = messageAt(site, file);
    }

    if (reason.isEmpty() && kind == SpecialFile::DanglingLink) {
        // The start-up check made nothing where the link leads, and left the link.
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QVERIFY(QFileInfo(file).isSymLink());
        QVERIFY(!QFileInfo::exists(linkTarget(file)));
        return;
    }
    if (reason.isEmpty()) {
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QVERIFY(!QFileInfo(file).isSymLink());
        const QByteArray written = file == QStringLiteral("temp.txt")    ? "record\r\n"
                                   : file == QStringLiteral("tempt.txt") ? "totals\r\n"
                                                                         : "dice\r\n";
        QCOMPARE(fileBytes(file), written);
        if (kind == SpecialFile::LinkToFile || kind == SpecialFile::HardLinkToFile)
            QCOMPARE(fileBytes(linkTarget(file)), linkTargetBytes);
        return;
    }
    QVERIFY2(message.contains(file) && message.contains(reason), qPrintable(message));
    // Nothing was renamed over it or put in its place, and closing passes over it.
    deleteWorkFiles();
    QVERIFY(QFileInfo::exists(file) && !QFileInfo(file).isFile());
}

void TstReadOnlyFiles::fullDisk_data() {
    QTest::addColumn<Site>("site");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("before");
    QTest::addRow("work files") << Site::WorkFiles << QStringLiteral("temp.txt") << QByteArray();
    // The record fills the log's last page and would go on into one more: the system takes
    // only part of it.
    QTest::addRow("log") << Site::Log << QStringLiteral("rolllog.txt")
                         << QByteArray(4090 - 2, 'x') + "\r\n";
}

void TstReadOnlyFiles::fullDisk() {
    QFETCH(Site, site);
    QFETCH(QString, file);
    QFETCH(QByteArray, before);
    const FullDisk disk;
    if (!disk.unavailable().isEmpty())
        QSKIP(qPrintable(disk.unavailable()));
    const auto backHome = qScopeGuard([this] { QDir::setCurrent(dir_->path()); });
    QVERIFY(QDir::setCurrent(disk.path()));
    if (!before.isEmpty())
        QVERIFY(writeBytes(file, before));
    QVERIFY(disk.fill());

    const QString message = messageAt(site, file);
    QVERIFY2(message == file + QStringLiteral(": ") + qt_error_string(ENOSPC), qPrintable(message));
    QVERIFY(fileBytes(file).startsWith(before));
}

QTEST_MAIN(TstReadOnlyFiles)
#include "tst_read_only_files.moc"
