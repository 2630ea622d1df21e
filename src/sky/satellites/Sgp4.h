// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The SGP4/SDP4 orbit model of artificial satellites (near-Earth and deep-space, with the
/// deep-space resonance and lunar-solar terms) in the revised form published in 2006 by
/// Vallado, Crawford, Hujsak and Kelso, with the WGS-72 constants the two-line elements are
/// fitted with. Positions and velocities come out in the TEME frame (true equator, mean
/// equinox of the instant), km and km/s.
#include <string>

#include "platform/Export.h"
#include "sky/satellites/DeepSpace.h"
#include "sky/satellites/Wgs72.h"

namespace sky {

/// The mean elements of one two-line element set, angles in degrees, as the lines give them.
struct Elements {
    int number = 0;             ///< catalogue number
    std::string name;           ///< the name line of a three-line set (may be empty)
    std::string designator;     ///< international designator ("98067A")
    double epochJd = 0.0;       ///< UTC Julian Day of the epoch
    double ndot = 0.0;          ///< first derivative of the mean motion / 2, rev/day^2
    double nddot = 0.0;         ///< second derivative / 6, rev/day^3
    double bstar = 0.0;         ///< drag term, 1/earth radii
    double inclination = 0.0;   ///< inclination to the equator
    double node = 0.0;          ///< right ascension of the ascending node
    double eccentricity = 0.0;  ///< 0 to 1
    double perigee = 0.0;       ///< argument of perigee
    double meanAnomaly = 0.0;   ///< mean anomaly at the epoch
    double meanMotion = 0.0;    ///< rev/day
    int revolution = 0;         ///< revolutions at the epoch
    std::string file;           ///< the file the set was read from (empty: not from a file)
};

/// Error codes of the model: the orbit it was given or has reached is not one it can follow.
enum Sgp4Error {
    kSgp4Ok = 0,                     ///< no error
    kSgp4Eccentricity = 1,           ///< mean eccentricity outside [-0.001, 1)
    kSgp4MeanMotion = 2,             ///< mean motion not positive
    kSgp4PerturbedEccentricity = 3,  ///< perturbed eccentricity outside [0, 1]
    kSgp4SemiLatusRectum = 4,        ///< negative semi-latus rectum
    kSgp4Decayed = 6,                ///< below the Earth's surface
    kSgp4BadElements = 7,            ///< elements no orbit can have (not from the model itself)
    kSgp4TooFar = 8,                 ///< more than a century from the epoch: no meaning, and the
                                     // deep-space integrator would run for long
};

/// One satellite's orbit model, set up once from its elements; Propagate is const and may
/// be called from several threads at once.
class ZCMCOM_API Sgp4 {
public:
    /// A model without elements (InitError kSgp4BadElements).
    Sgp4() = default;
    /// Sets the model up from the elements; InitError tells whether they are usable.
    explicit Sgp4(const Elements& elements);
    /// 0 when the elements start a usable orbit, else an Sgp4Error.
    int InitError() const { return m_initError; }
    /// The elements the model was made from.
    const Elements& GetElements() const { return m_elements; }
    /// Position (km) and velocity (km/s), TEME, minutes after the epoch. Returns 0, or an
    /// Sgp4Error and leaves r and v unset (NaN).
    int Propagate(double minutes, double r[3], double v[3]) const;
    /// The same at a UTC Julian Day.
    int PropagateJd(double jdUtc, double r[3], double v[3]) const {
        return Propagate((jdUtc - m_elements.epochJd) * 1440.0, r, v);
    }
    /// Whether SDP4 (the deep-space branch) carries this orbit: a period of 225 minutes or more.
    bool IsDeepSpace() const { return m_deep; }

private:
    void Init();

    Elements m_elements;
    int m_initError = kSgp4BadElements;
    bool m_deep = false;
    bool m_simple = false;  ///< perigee below 220 km: the shorter drag series

    /// Elements in model units (radians, radians a minute, earth radii).
    double m_ecc = 0, m_incl = 0, m_node = 0, m_argp = 0, m_mo = 0, m_no = 0, m_bstar = 0;
    double m_ao = 0;
    /// Secular rates and drag coefficients fixed at the epoch.
    double m_mdot = 0, m_argpdot = 0, m_nodedot = 0, m_nodecf = 0;
    double m_cc1 = 0, m_cc4 = 0, m_cc5 = 0, m_d2 = 0, m_d3 = 0, m_d4 = 0;
    double m_t2cof = 0, m_t3cof = 0, m_t4cof = 0, m_t5cof = 0;
    double m_omgcof = 0, m_xmcof = 0, m_eta = 0, m_delmo = 0, m_sinmao = 0;
    /// Long- and short-period coefficients of the near-Earth orbit.
    double m_aycof = 0, m_xlcof = 0, m_con41 = 0, m_x1mth2 = 0, m_x7thm1 = 0;
    DeepSpace m_ds;
};

/// Greenwich mean sidereal time (IAU 1982) in radians at a UT1 Julian Day.
ZCMCOM_API double Gmst1982(double jdUt1);

}  // namespace sky
