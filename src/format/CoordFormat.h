// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CCommonCoordFormat: fixed-width texts of right ascension, declination, latitude and
/// longitude, placeholders of the same shape for missing values, angle normalisation and
/// the parser of a typed right ascension and declination.
///
/// Every formatter returns a pointer to a static buffer of its own that its next call
/// overwrites (CoordFormatLatitude shares CoordFormatDecl's, CoordFormatLatitudeDeg shares
/// CoordFormatDeclDeg's). Copy the text before calling the same formatter again; the
/// formatters are for one thread at a time.
///
/// precision: 1 (coarsest) to 4 (finest); its negation gives the placeholder of the same
/// layout; 0 or anything outside -4..4 returns the buffer as it is. A value that is not a
/// finite number gives the placeholder.
#include "platform/Afx.h"

/// The precisions of the formatters, coarsest to finest.
enum tagCOORD_FORMAT_PREC {
    COORD_FORMAT_PREC_1 = 1,
    COORD_FORMAT_PREC_2 = 2,
    COORD_FORMAT_PREC_3 = 3,
    COORD_FORMAT_PREC_4 = 4,
};

/// Formats and parses coordinates; static functions only.
class ZCMCOM_API CCommonCoordFormat {
public:
    CCommonCoordFormat() = default;
    ~CCommonCoordFormat() = default;

    /// Right ascension in hours as "12h34m56.7s".
    static const wchar_t* CoordFormatRA(double hours, int precision);
    /// Declination in degrees as "+12ﾟ34'56.7"" (clamped to -90..90).
    static const wchar_t* CoordFormatDecl(double degrees, int precision);
    /// Latitude in degrees, in the declination's layout.
    static const wchar_t* CoordFormatLatitude(double degrees, int precision);
    /// Longitude in degrees as "123ﾟ45'06"" (0 to 359).
    static const wchar_t* CoordFormatLongitude(double degrees, int precision);
    /// Right ascension in hours as decimal degrees.
    static const wchar_t* CoordFormatRADeg(double hours, int precision);
    /// Declination in decimal degrees.
    static const wchar_t* CoordFormatDeclDeg(double degrees, int precision);
    /// Latitude in decimal degrees.
    static const wchar_t* CoordFormatLatitudeDeg(double degrees, int precision);
    /// Longitude in decimal degrees.
    static const wchar_t* CoordFormatLongitudeDeg(double degrees, int precision);

    /// The angle in [0, 360).
    static double degmal(double a);
    /// The angle reduced to (-180, 180], then clamped to [-90, 90].
    static double degmal2(double a);
    /// 1 when the two angles (degrees) differ by less than 1e-5 degree.
    static int IsEqualDeg(double a, double b);
    /// 1 when the two altitudes (degrees) differ by less than 1 degree.
    static int IsEqualAlt(double a, double b);

    /// Reads a right ascension and a declination typed in any of the usual notations.
    /// Returns 0 (fields zeroed, decPlus untouched) for an empty text, else 1.
    static int Str2RADec(const CString& text, int& raH, int& raM, double& raS, int& decPlus,
                         int& decD, int& decM, double& decS);
};
