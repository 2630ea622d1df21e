// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Small pieces shared by the click-data line builders (internal to the library).
#include "platform/String.h"

namespace clickdata {

/// A non-negative number of hours as whole hours, minutes and seconds rounded to the
/// nearest second, with the carries (0h59m59.6s is 01h00m00s).
void SplitClock(double hours, int* hh, int* mm, int* ss);

/// The answer as one finite number (blanks around it allowed). False for an empty answer,
/// "*", text that is not a number, or a number followed by anything else.
bool AnswerNumber(const CString& answer, double* out);

/// A span of days as "%d時間%02d分" (minutes rounded); under an hour "%d分".
CString HoursMinutes(double days);

/// The angle of view, degrees, of a sensor side behind a focal length (both in mm).
double AngleOfView(double side, double focalLength);

/// The text with each negative zero of a decimal number ("-0.0", "-0.00") written as zero:
/// the minus becomes a blank after a blank (a padded number keeps its width: "光度  0.0等"),
/// else goes. A minus after a digit or letter ("2026-0.5", "Z-0.0") is no sign and stays;
/// so does one before whole digits ("-00ﾟ30'" is below zero).
CString WithoutNegativeZeros(const CString& text);

}  // namespace clickdata
