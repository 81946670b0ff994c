// How the chart is driven: the pointer, the keys, and screen readers.
#include "odds_chart.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

// For screen readers the full chart is a chart; the small one acts like a button.
class AccessibleChart : public QAccessibleWidget {
public:
    explicit AccessibleChart(OddsChart* chart)
        : QAccessibleWidget(chart, chart->chartStyle() == OddsChart::Style::Small
                                       ? QAccessible::Button
                                       : QAccessible::Chart) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (chart()->chartStyle() == OddsChart::Style::Small)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && chart()->chartStyle() == OddsChart::Style::Small)
            chart()->activate();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    OddsChart* chart() const { return static_cast<OddsChart*>(widget()); }
};

QAccessibleInterface* accessibleChart(const QString& className, QObject* object) {
    if (className == QLatin1String("OddsChart") && object && object->isWidgetType())
        return new AccessibleChart(static_cast<OddsChart*>(object));
    return nullptr;
}

} // namespace

void OddsChart::installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleChart);
        return true;
    }();
    Q_UNUSED(installed);
}

void OddsChart::mouseMoveEvent(QMouseEvent* event) {
    if (style_ == Style::Full && !bars_.heights.empty())
        setCurrentBar(barAt(plotArea(), event->position().toPoint().x()));
    QWidget::mouseMoveEvent(event);
}

void OddsChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressedInside_ = true;
    if (style_ == Style::Full && !bars_.heights.empty())
        setCurrentBar(barAt(plotArea(), event->position().toPoint().x()));
}

void OddsChart::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressedInside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressedInside_ = false;
    if (click && style_ == Style::Small)
        activate();
}

void OddsChart::keyPressEvent(QKeyEvent* event) {
    if (style_ == Style::Small) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            activate();
            return;
        default:
            return QWidget::keyPressEvent(event);
        }
    }
    const int page = std::max(1, shown_ / 10);
    switch (event->key()) {
    case Qt::Key_Left:
        setCurrentBar(current_ - 1);
        break;
    case Qt::Key_Right:
        setCurrentBar(current_ + 1);
        break;
    case Qt::Key_PageUp:
        setCurrentBar(current_ - page);
        break;
    case Qt::Key_PageDown:
        setCurrentBar(current_ + page);
        break;
    case Qt::Key_Home:
        setCurrentBar(0);
        break;
    case Qt::Key_End:
        setCurrentBar(barCount() - 1);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
}
