#pragma once

#include <QDialog>

class MouseLabel;
class QPlainTextEdit;
class QPushButton;

// The help text, in the working directory.
extern const QString helpFileName;

// The help window: shows the help text (helpFileName) from the working directory, read each time
// the window is created (its first mebibyte at most). It is not modal and may outlive the main
// window; it deletes itself when closed.
class frmHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    QPushButton* cmdClose;
    QPlainTextEdit* txtHelp;
    MouseLabel* Label2;

public slots:
    void cmdClose_Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
};
