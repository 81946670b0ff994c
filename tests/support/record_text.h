#pragma once

#include <QByteArray>

#include <initializer_list>

// A record or pane text as the work files hold it: every line ended by CR LF.
inline QByteArray recordLines(std::initializer_list<const char*> lines) {
    QByteArray text;
    for (const char* line : lines)
        text.append(line).append("\r\n");
    return text;
}

inline constexpr const char* doubleRuleLine = "==========================";
inline constexpr const char* singleRuleLine = "--------------------------";
