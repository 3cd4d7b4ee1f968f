#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vornel {

// The app's diagnostic console lines ("Error during prediction: ...", ...).
// Each call writes exactly one line to standard output and flushes it, so the
// lines keep their order even when they come from different threads.
void consoleLine(const QString& line);

// Test seam: while a ConsoleCapture lives, every console line is also recorded.
class ConsoleCapture {
public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

    QStringList lines() const;
    void clear();

    struct State;

private:
    State* m_state;
};

} // namespace vornel
