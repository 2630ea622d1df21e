#pragma once
// zvacl: the astronomical calculation library. Plain functions; angles in degrees,
// Julian Days as double.
#include "platform/WinTypes.h"

// A date and time in its own time zone. Negative years are astronomical years before the
// era (0 = 1 BC).
struct tagADATE {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    double second;
    double timezone;  // hours east of Greenwich
};

// A time span.
struct tagSPAN {
    int years;
    int months;
    int days;
    int hours;
    int minutes;
    double seconds;
};

// A principal phase of the Moon: 0 new, 1 first quarter, 2 full, 3 last quarter.
struct tagMOONPHASE {
    int phase;
    double jd;
};

static_assert(sizeof(tagADATE) == 40, "tagADATE layout");
static_assert(sizeof(tagSPAN) == 32, "tagSPAN layout");
static_assert(sizeof(tagMOONPHASE) == 16, "tagMOONPHASE layout");
