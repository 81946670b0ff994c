#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

// What a chart draws: one bar per total, from the lowest total up, and the totals to mark.
struct ChartBars {
    enum class Unit { Probability, Count };

    double lowest = 0;
    std::vector<double> heights; // one bar per total
    std::vector<double> behind;  // empty, or one value per total drawn behind its bar
    std::vector<double> marked;  // totals to mark, in any order, repeats allowed
    Unit unit = Unit::Probability;
};

// A bar chart of the totals of a roll, drawn with QPainter. A total's bar rises with its
// height; a marked total's bar takes the mark colour and gets a small triangle under it, so
// that even a total too rare to show a bar is seen. Runs of totals too rare to show at either
// end are left out, unless marked. Where there are more totals than pixels, each pixel column
// shows the tallest of its totals.
//
// Full: axes with labels and a cursor over the bars that follows the pointer and the arrow,
// Page, Home and End keys. Small: bars, marks and a caption only; a click, or Enter or Space
// with the focus, activates it. Without bars it shows a message instead.
//
// Its colours come from the theme (a full chart on the theme's base colour, with its text
// colour), the bars' and marks' shades chosen to stand out against that background, unless a
// window of fixed colours sets them all.
class OddsChart : public QWidget {
    Q_OBJECT
public:
    enum class Style { Full, Small };
    struct ChartColours {
        QColor bars;
        QColor marks;
        QColor behind;
        QColor text;
    };

    explicit OddsChart(Style style, QWidget* parent = nullptr);

    Style chartStyle() const { return style_; }
    void setChartColours(const ChartColours& colours);
    // The colours drawn with, the background behind them last.
    ChartColours chartColours() const;
    QColor backgroundColour() const;

    void setBars(ChartBars bars);
    const ChartBars& bars() const { return bars_; }
    // Marks other totals on the same bars.
    void setMarked(std::vector<double> marked);
    // No bars: the message is shown instead.
    void setMessage(const QString& message);
    const QString& message() const { return message_; }
    // A line drawn along the top.
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    // The bar under the cursor, -1 for none. New bars keep the cursor on the total it was moved
    // to; until it has been moved, it goes to the likeliest total.
    int currentBar() const { return current_; }
    void setCurrentBar(int index);

    // As a click would.
    void activate();

signals:
    void currentBarChanged(int index);
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static void installAccessibility();
    void takeMarks();
    QRect plotArea() const;
    int barCount() const { return static_cast<int>(bars_.heights.size()); }
    double barLeft(const QRect& plot, double index) const;
    int barAt(const QRect& plot, int x) const;
    double tallest() const;
    bool isMarked(double fromTotal, double toTotal) const;
    void drawBars(QPainter& painter, const QRect& plot, double top) const;
    void drawMarks(QPainter& painter, const QRect& plot) const;
    void drawAxes(QPainter& painter, const QRect& plot, double top) const;
    void drawCursor(QPainter& painter, const QRect& plot) const;
    QString valueText(double value) const;

    Style style_;
    ChartColours colours_;
    bool fixedColours_ = false;
    ChartBars bars_;
    std::vector<double> marks_; // sorted, without repeats
    // The bars drawn: from first_, shown_ of them.
    int first_ = 0;
    int shown_ = 0;
    QString message_;
    QString caption_;
    int current_ = -1;
    bool cursorMoved_ = false;
    bool pressedInside_ = false;
};

struct RollOdds;

// The bars of a distribution, with the given totals marked.
ChartBars oddsBars(const RollOdds& odds, std::vector<double> marked);
