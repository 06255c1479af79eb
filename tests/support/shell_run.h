#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a program run from a shell left behind.
struct ShellRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

// Runs program with arguments as from a shell on a machine without any
// display (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM), writing input to
// its standard input, and waits for its end.
ShellRun runWithoutDisplay(const QString& program, const QStringList& arguments,
                           const QByteArray& input = {});
