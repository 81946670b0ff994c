#pragma once

#include <QPoint>
#include <QWidget>

#include <functional>

class MouseLabel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class RandomSource;
struct MiniRoll;

// The mini roller's window. Each function key rolls one fixed kind of die (mini_rolls.h) and
// the window shows the kind and the result; the popup menu behind the die picture switches
// the placement, shows the about box and ends the program. The placement flag and the
// activation hook live in MiniMod.
class Mini : public QWidget {
    Q_OBJECT
public:
    explicit Mini(QWidget* parent = nullptr);
    ~Mini() override;

    // Start-up after the single-instance test: seed, hook, "Set to Top". Run before the
    // window is first shown.
    void Form_Load();

    // Tests hand in a scripted source; by default the process generator rolls.
    void setRandomSource(RandomSource* random);
    // Shows the popup menu at a screen position; tests replace it to see what would be shown.
    void setPopupShower(std::function<void(QMenu*, QPoint)> shower);

    void setTitleColours(const QColor& background, const QColor& text);

    QTimer* Timer1;
    QLineEdit* txtNum;
    QLineEdit* txtDie;
    QLabel* Label2;
    MouseLabel* Image1;
    MouseLabel* lblT;
    QMenu* mnufile;
    QAction* mnusub1;
    QAction* mnusub2;
    QAction* mnusub4;
    QAction* mnusub3;
    MouseLabel* Picture1;

    void Form_KeyDown(int keyCode, int shift);
    void Image1_mousedown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void lblT_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void Picture1_Click();
    void mnusub1_click();
    void mnusub2_click();
    void mnusub3_click();
    void mnusub4_click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void createMenu();
    void connectControls();
    void showRoll(const MiniRoll& roll);
    void Timer1_Timer();
    void Form_Unload();

    RandomSource* random_;
    std::function<void(QMenu*, QPoint)> popupShower_;
};
