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

// Julian Day of the instant the record denotes (its time zone applied).
ZCMCOM_API double GetJd(const tagADATE* date);
ZCMCOM_API double CalcJd(double year, double month, double day);
ZCMCOM_API void ChangeTimezone(tagADATE* date, double zoneHours);
ZCMCOM_API void ChangeDate(tagADATE* date, const tagSPAN* span, int mode);
ZCMCOM_API void JdToDate(double jd, int* year, int* month, double* day);
ZCMCOM_API void JdToDate2(double jd, tagADATE* out);
ZCMCOM_API double UtToDt(double jdUt);
// body -3: the Earth
ZCMCOM_API void CalcPlanetLbr(int body, double jdTt, double* lb, double* r);
ZCMCOM_API double GetLst(double jdUt, double longitudeDeg);
ZCMCOM_API double degmal(double a);
ZCMCOM_API double degmal2(double a);
ZCMCOM_API void AdToPaDist(const double* from, const double* to, double* pa, double* dist);
ZCMCOM_API int GetMoonPhases(const tagADATE* date, tagMOONPHASE* phases, int capacity);
ZCMCOM_API void AtmosphericRefraction(const double* in, double* out);
