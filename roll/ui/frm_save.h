#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

// The log-file window: the user confirms or changes the roll log's path. Okay accepts with
// the typed path; Close (or closing the window) rejects, and the caller unchecks
// "Save Results".
//
// Okay refuses a path that names one of programFiles, the program's own files, by whatever
// spelling: a log there would be wiped by every roll, or would corrupt the presets. The window
// says so and stays open.
class frmSave : public QDialog {
    Q_OBJECT
public:
    frmSave(const QString& logPath, QWidget* mainWindow, const QStringList& programFiles = {});

    QString chosenPath() const;

    QLabel* Label1;
    QLineEdit* txtSaveFile;
    QPushButton* cmdOkay;
    QPushButton* cmdClose;

private:
    QStringList programFiles_;

    void Form_Load(const QString& logPath, QWidget* mainWindow);
    void cmdOkay_Click();
    void cmdClose_Click();
};
