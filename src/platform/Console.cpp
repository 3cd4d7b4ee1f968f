#include "platform/Console.h"

#include <QMutex>
#include <QMutexLocker>
#include <cstdio>

namespace vornel {

struct ConsoleCapture::State {
    mutable QMutex mutex;
    QStringList lines;
};

namespace {
QMutex g_mutex;
ConsoleCapture::State* g_capture = nullptr;
} // namespace

void consoleLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    QMutexLocker lock(&g_mutex);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
    if (g_capture) {
        QMutexLocker captureLock(&g_capture->mutex);
        g_capture->lines.append(line);
    }
}

ConsoleCapture::ConsoleCapture() : m_state(new State)
{
    QMutexLocker lock(&g_mutex);
    g_capture = m_state;
}

ConsoleCapture::~ConsoleCapture()
{
    {
        QMutexLocker lock(&g_mutex);
        if (g_capture == m_state)
            g_capture = nullptr;
    }
    delete m_state;
}

QStringList ConsoleCapture::lines() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->lines;
}

void ConsoleCapture::clear()
{
    QMutexLocker lock(&m_state->mutex);
    m_state->lines.clear();
}

} // namespace vornel
