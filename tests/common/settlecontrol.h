#pragma once

#include "box/tavrelrequest.h"
#include "control/tavrelcontrol.h"

#include <QCoreApplication>
#include <QTest>

// Waits until the controller's engine handled every reply and nothing is scheduled, then lets
// what the answers queued run too.
[[nodiscard]] inline bool settleControl(const TavrelControl& control, int timeoutMs = 10000)
{
    const bool settled = QTest::qWaitFor(
        [&control] {
            const TavrelRequest* engine = control.currentEngine();
            return !engine || engine->isSettled();
        },
        timeoutMs);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return settled;
}
