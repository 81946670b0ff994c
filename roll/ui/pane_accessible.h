#pragma once

#include <QString>

class ResultPane;

// Accessibility of the result panes: screen readers and tests see a read-only, multi-line
// text with its whole text, its caret and its selection. Nothing here costs anything while no
// accessibility tool listens.

// Registers the panes' accessible interface; safe to call more than once.
void installPaneAccessibility();

// Tells listening tools that the caret or the selection moved.
void notifyPaneSelection(ResultPane* pane);

// Brackets a change of a pane's text: tools that listen hear the old and the new text.
class PaneTextChange {
public:
    explicit PaneTextChange(ResultPane* pane);
    ~PaneTextChange();
    PaneTextChange(const PaneTextChange&) = delete;
    PaneTextChange& operator=(const PaneTextChange&) = delete;

private:
    ResultPane* pane_;
    bool listening_;
    QString oldText_;
};
