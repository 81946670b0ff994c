#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QWidget>

// A clearly visible focus mark for controls on a window of the program's own colours, where the
// style's faint outline would be lost: a frame of 2 pixels in a colour of the window's own,
// drawn around whichever of the given controls has the keyboard focus. It lies above the
// controls and lets every mouse click through.
class FocusMark : public QWidget {
    Q_OBJECT
public:
    FocusMark(const QList<QWidget*>& controls, const QColor& colour, QWidget* window);

    static constexpr int width = 2;
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);

    QList<QPointer<QWidget>> controls_;
    QColor colour_;
};
