// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The deep-space part of SDP4: the lunar and solar perturbations (secular and long
/// periodic) and the resonances of half-day and one-day orbits with the Earth's gravity
/// field, integrated in half-day steps from the epoch. Internal to Sgp4.
#include "sky/satellites/Wgs72.h"

namespace sky {

/// The deep-space terms of one orbit, set up once by Init and then evaluated at any time.
struct DeepSpace {
    /// What the near-Earth set-up has worked out and the deep-space terms start from
    /// (angles in radians, mean motion in radians a minute, epoch in days from 1950 Jan 0).
    struct Start {
        /// Epoch, eccentricity, inclination, node, argument of perigee, mean anomaly and mean
        /// motion at the epoch.
        /// @{
        double epoch, ecc, incl, node, argp, mo, no;
        /// @}
        /// Secular rates of the mean anomaly, the node and the argument of perigee.
        /// @{
        double mdot, nodedot, argpdot;
        /// @}
        double gsto;  ///< sidereal angle at the epoch
    };
    /// Works out the lunar-solar coefficients and the resonance terms for the orbit.
    void Init(const Start& s);
    /// Secular and resonance terms at t minutes: updates the mean elements.
    void Secular(double t, double* em, double* argpm, double* inclm, double* mm, double* nodem,
                 double* nm) const;
    /// Long-period lunar-solar terms at t minutes: updates the osculating-to-be elements.
    void Periodic(double t, double* ep, double* inclp, double* nodep, double* argpp,
                  double* mp) const;

    /// Amplitudes of one body's long-period terms in eccentricity, inclination, mean
    /// longitude, argument of perigee and node.
    struct Amplitudes {
        double e2 = 0;   ///< eccentricity: the f2 term
        double e3 = 0;   ///< eccentricity: the f3 term
        double i2 = 0;   ///< inclination: the f2 term
        double i3 = 0;   ///< inclination: the f3 term
        double l2 = 0;   ///< mean longitude: the f2 term
        double l3 = 0;   ///< mean longitude: the f3 term
        double l4 = 0;   ///< mean longitude: the sin(f) term
        double gh2 = 0;  ///< argument of perigee: the f2 term
        double gh3 = 0;  ///< argument of perigee: the f3 term
        double gh4 = 0;  ///< argument of perigee: the sin(f) term
        double h2 = 0;   ///< node: the f2 term
        double h3 = 0;   ///< node: the f3 term
    };
    /// The terms' shifts at t minutes: eccentricity, inclination, mean longitude, argument of
    /// perigee, node.
    struct Shifts {
        double e = 0;   ///< eccentricity
        double i = 0;   ///< inclination, radians
        double l = 0;   ///< mean longitude, radians
        double gh = 0;  ///< argument of perigee, radians
        double h = 0;   ///< node, radians
    };

private:
    /// The shifts from a body's amplitudes at its mean anomaly (radians) on an orbit of that
    /// eccentricity.
    static Shifts ShiftsAt(const Amplitudes& a, double meanAnomaly, double eccentricity);
    Amplitudes solar;  ///< the Sun's terms
    Amplitudes lunar;  ///< the Moon's terms
    double zmol = 0, zmos = 0;
    /// Secular rates.
    double dedt = 0, didt = 0, dmdt = 0, dnodt = 0, domdt = 0;
    /// Resonance: 0 none, 1 one-day (synchronous), 2 half-day.
    int irez = 0;
    double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0, d5232 = 0,
           d5421 = 0, d5433 = 0;
    double del1 = 0, del2 = 0, del3 = 0, xfact = 0, xlamo = 0;
    double gsto = 0, no = 0, argpo = 0, argpdot = 0;
};

}  // namespace sky
