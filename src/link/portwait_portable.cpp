#include "link/portwait.h"

#include <QSerialPort>

namespace {
// Without a wake-up, the longest a request may wait for the worker to look.
constexpr int WaitSliceMs = 10;
} // namespace

PortWait::PortWait() = default;

PortWait::~PortWait() = default;

void PortWait::wake() {}

PortWait::Outcome PortWait::wait(QSerialPort& port, int maxMs)
{
    port.waitForReadyRead(qMin(maxMs, WaitSliceMs));
    return Outcome::Input;
}
