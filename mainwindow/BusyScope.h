#pragma once

#include "mainwindow/CommandHost.h"

namespace zlm {

/** The hourglass and disabled commands for the time a command works, on its window. */
class BusyScope {
public:
    explicit BusyScope(CommandHost& host) : host_(host) { host_.EnterBusy(Qt::WaitCursor); }
    ~BusyScope() { host_.LeaveBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    CommandHost& host_;
};

} // namespace zlm
