#pragma once

// The system metrics the windows lay themselves out with.
enum SystemMetric {
    SM_CXEDGE,
    SM_CYEDGE,
    SM_CXFRAME,
    SM_CYFRAME,
    SM_CYCAPTION,
    SM_CYSMCAPTION,
    SM_CYHSCROLL,
    SM_CXHTHUMB,
};

// Fixed classic values, the same on every desktop.
constexpr int GetSystemMetrics(SystemMetric index)
{
    switch (index) {
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CYCAPTION:
        return 19;
    case SM_CYSMCAPTION:
        return 16;
    case SM_CYHSCROLL:
    case SM_CXHTHUMB:
        return 16;
    }
    return 0;
}
