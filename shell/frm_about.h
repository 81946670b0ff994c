#pragma once

#include <QDialog>

class MouseLabel;
class QLabel;
class QPushButton;

// The about box: version, licence notice and the web link. It opens modally over the main
// window's top-left corner and stays above all other windows.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* mainWindow);

    MouseLabel* Label1;
    QLabel* Label7;
    QLabel* Label3;
    QLabel* Label5;
    QLabel* Label6;
    MouseLabel* Label4;
    QLabel* Label2;
    QPushButton* cmdClose;

public slots:
    void cmdClose_Click();
    void Label4_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
};
