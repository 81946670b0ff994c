#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The mini roller's about box: opened modally over the mini window's top-left corner and kept
// above all other windows.
class MiniAbout : public QDialog {
    Q_OBJECT
public:
    explicit MiniAbout(QWidget* parent = nullptr);

    // Places the box over the mini window, top-left corner on top-left corner, top-most.
    void Form_Load(const QWidget& mini);

    QLabel* Label1;
    QLabel* Label2;
    QPushButton* cmdClose;

    void cmdClose_Click();

protected:
    void paintEvent(QPaintEvent* event) override;
};
