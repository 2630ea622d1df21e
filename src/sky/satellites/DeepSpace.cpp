// SPDX-License-Identifier: LGPL-3.0-or-later
// SDP4's deep-space terms: the Sun's and the Moon's pull on the orbit and the resonances
// of geosynchronous and half-day orbits.
//
// Derived from David Vallado's SGP4 code (sgp4unit.cpp, C++, 2006 and later revisions), which
// accompanies the paper of Vallado, Crawford, Hujsak and Kelso 2006, "Revisiting Spacetrack
// Report #3" (AIAA 2006-6753), and is distributed freely by its authors and CelesTrak
// without a licence of its own: the variable names, the order of the steps and the loop
// seeds follow it.
#include "sky/satellites/DeepSpace.h"

#include <cmath>

namespace sky {
namespace {

constexpr double kTwoPi = 2.0 * M_PI;
// Sun and Moon: mean motions (rad/min) and eccentricities of their apparent orbits.
constexpr double kZns = 1.19459e-5, kZes = 0.01675;
constexpr double kZnl = 1.5835218e-4, kZel = 0.05490;
// Earth's rotation rate, rad/min.
constexpr double kRptim = 4.37526908801129966e-3;
constexpr double kIncLimit = 5.2359877e-2;  // 3 degrees: nodal terms dropped below it

// The terms one perturbing body (Sun or Moon) adds, from its direction angles.
struct BodyTerms {
    double s1, s2, s3, s4, s5, s6, s7;
    double z1, z2, z3, z11, z12, z13, z21, z22, z23, z31, z32, z33;
};

// zcosg..zsinh: cosines and sines of the body's argument of perigee, inclination and node
// relative to the satellite's frame; cc the body's strength.
BodyTerms Terms(double zcosg, double zsing, double zcosi, double zsini, double zcosh, double zsinh,
                double cc, double nm, double em, double cosim, double sinim, double cosomm,
                double sinomm) {
    const double emsq = em * em, betasq = 1.0 - emsq, rtemsq = std::sqrt(betasq);
    const double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
    const double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
    const double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
    const double a8 = zsing * zsini;
    const double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
    const double a10 = zcosg * zsini;
    const double a2 = cosim * a7 + sinim * a8;
    const double a4 = cosim * a9 + sinim * a10;
    const double a5 = -sinim * a7 + cosim * a8;
    const double a6 = -sinim * a9 + cosim * a10;
    const double x1 = a1 * cosomm + a2 * sinomm;
    const double x2 = a3 * cosomm + a4 * sinomm;
    const double x3 = -a1 * sinomm + a2 * cosomm;
    const double x4 = -a3 * sinomm + a4 * cosomm;
    const double x5 = a5 * sinomm, x6 = a6 * sinomm, x7 = a5 * cosomm, x8 = a6 * cosomm;
    BodyTerms t{};
    t.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
    t.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
    t.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
    t.z1 = 3.0 * (a1 * a1 + a2 * a2) + t.z31 * emsq;
    t.z2 = 6.0 * (a1 * a3 + a2 * a4) + t.z32 * emsq;
    t.z3 = 3.0 * (a3 * a3 + a4 * a4) + t.z33 * emsq;
    t.z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
    t.z12 = -6.0 * (a1 * a6 + a3 * a5) +
            emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
    t.z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
    t.z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
    t.z22 =
        6.0 * (a4 * a5 + a2 * a6) + emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
    t.z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
    t.z1 = t.z1 + t.z1 + betasq * t.z31;
    t.z2 = t.z2 + t.z2 + betasq * t.z32;
    t.z3 = t.z3 + t.z3 + betasq * t.z33;
    t.s3 = cc / nm;
    t.s2 = -0.5 * t.s3 / rtemsq;
    t.s4 = t.s3 * rtemsq;
    t.s1 = -15.0 * em * t.s4;
    t.s5 = x1 * x3 + x2 * x4;
    t.s6 = x2 * x3 + x1 * x4;
    t.s7 = x2 * x4 - x1 * x3;
    return t;
}

// Half-day resonance: the coefficient polynomials in the eccentricity.
struct HalfDayG {
    double g201, g211, g310, g322, g410, g422, g520, g521, g532, g533;
};

HalfDayG HalfDayCoefficients(double e) {
    const double e2 = e * e, e3 = e2 * e;
    HalfDayG g{};
    g.g201 = -0.306 - (e - 0.64) * 0.440;
    if (e <= 0.65) {
        g.g211 = 3.616 - 13.2470 * e + 16.2900 * e2;
        g.g310 = -19.302 + 117.3900 * e - 228.4190 * e2 + 156.5910 * e3;
        g.g322 = -18.9068 + 109.7927 * e - 214.6334 * e2 + 146.5816 * e3;
        g.g410 = -41.122 + 242.6940 * e - 471.0940 * e2 + 313.9530 * e3;
        g.g422 = -146.407 + 841.8800 * e - 1629.014 * e2 + 1083.4350 * e3;
        g.g520 = -532.114 + 3017.977 * e - 5740.032 * e2 + 3708.2760 * e3;
    } else {
        g.g211 = -72.099 + 331.819 * e - 508.738 * e2 + 266.724 * e3;
        g.g310 = -346.844 + 1582.851 * e - 2415.925 * e2 + 1246.113 * e3;
        g.g322 = -342.585 + 1554.908 * e - 2366.899 * e2 + 1215.972 * e3;
        g.g410 = -1052.797 + 4758.686 * e - 7193.992 * e2 + 3651.957 * e3;
        g.g422 = -3581.690 + 16178.110 * e - 24462.770 * e2 + 12422.520 * e3;
        g.g520 = e > 0.715 ? -5149.66 + 29936.92 * e - 54087.36 * e2 + 31324.56 * e3
                           : 1464.74 - 4664.75 * e + 3763.64 * e2;
    }
    if (e < 0.7) {
        g.g533 = -919.22770 + 4988.6100 * e - 9064.7700 * e2 + 5542.21 * e3;
        g.g521 = -822.71072 + 4568.6173 * e - 8491.4146 * e2 + 5337.524 * e3;
        g.g532 = -853.66600 + 4690.2500 * e - 8624.7700 * e2 + 5341.4 * e3;
    } else {
        g.g533 = -37995.780 + 161616.52 * e - 229838.20 * e2 + 109377.94 * e3;
        g.g521 = -51752.104 + 218913.95 * e - 309468.16 * e2 + 146349.42 * e3;
        g.g532 = -40023.880 + 170470.89 * e - 242699.48 * e2 + 115605.82 * e3;
    }
    return g;
}

// The amplitudes of one body's long-period terms; z is the eccentricity of its apparent orbit.
DeepSpace::Amplitudes AmplitudesOf(const BodyTerms& b, double emsq, double z) {
    DeepSpace::Amplitudes a;
    a.e2 = 2.0 * b.s1 * b.s6;
    a.e3 = 2.0 * b.s1 * b.s7;
    a.i2 = 2.0 * b.s2 * b.z12;
    a.i3 = 2.0 * b.s2 * (b.z13 - b.z11);
    a.l2 = -2.0 * b.s3 * b.z2;
    a.l3 = -2.0 * b.s3 * (b.z3 - b.z1);
    a.l4 = -2.0 * b.s3 * (-21.0 - 9.0 * emsq) * z;
    a.gh2 = 2.0 * b.s4 * b.z32;
    a.gh3 = 2.0 * b.s4 * (b.z33 - b.z31);
    a.gh4 = -18.0 * b.s4 * z;
    a.h2 = -2.0 * b.s2 * b.z22;
    a.h3 = -2.0 * b.s2 * (b.z23 - b.z21);
    return a;
}

}  // namespace

void DeepSpace::Init(const Start& s) {
    gsto = s.gsto;
    no = s.no;
    argpo = s.argp;
    argpdot = s.argpdot;
    const double em = s.ecc, emsq = em * em, nm = s.no;
    const double snodm = std::sin(s.node), cnodm = std::cos(s.node);
    const double sinomm = std::sin(s.argp), cosomm = std::cos(s.argp);
    const double sinim = std::sin(s.incl), cosim = std::cos(s.incl);

    // The Moon's orbit at the epoch: its node and the angles that place it.
    const double day = s.epoch + 18261.5;
    const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * day, kTwoPi);
    const double stem = std::sin(xnodce), ctem = std::cos(xnodce);
    const double zcosil = 0.91375164 - 0.03568096 * ctem;
    const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
    const double zsinhl = 0.089683511 * stem / zsinil;
    const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
    const double gam = 5.8351514 + 0.0019443680 * day;
    double zx = 0.39785416 * stem / zsinil;
    const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
    zx = gam + std::atan2(zx, zy) - xnodce;

    const BodyTerms sun = Terms(0.1945905, -0.98088458, 0.91744867, 0.39785416, cnodm, snodm,
                                2.9864797e-6, nm, em, cosim, sinim, cosomm, sinomm);
    const BodyTerms moon =
        Terms(std::cos(zx), std::sin(zx), zcosil, zsinil, zcoshl * cnodm + zsinhl * snodm,
              snodm * zcoshl - cnodm * zsinhl, 4.7968065e-7, nm, em, cosim, sinim, cosomm, sinomm);
    zmol = std::fmod(4.7199672 + 0.22997150 * day - gam, kTwoPi);
    zmos = std::fmod(6.2565837 + 0.017201977 * day, kTwoPi);

    solar = AmplitudesOf(sun, emsq, kZes);
    lunar = AmplitudesOf(moon, emsq, kZel);

    // Secular rates from both bodies; the nodal ones vanish for near-equatorial orbits.
    const bool equatorial = s.incl < kIncLimit || s.incl > M_PI - kIncLimit;
    const double ses = sun.s1 * kZns * sun.s5;
    const double sis = sun.s2 * kZns * (sun.z11 + sun.z13);
    const double sls = -kZns * sun.s3 * (sun.z1 + sun.z3 - 14.0 - 6.0 * emsq);
    const double sghs = sun.s4 * kZns * (sun.z31 + sun.z33 - 6.0);
    double shs = equatorial ? 0.0 : -kZns * sun.s2 * (sun.z21 + sun.z23);
    if (sinim != 0.0) shs /= sinim;
    const double sgs = sghs - cosim * shs;
    dedt = ses + moon.s1 * kZnl * moon.s5;
    didt = sis + moon.s2 * kZnl * (moon.z11 + moon.z13);
    dmdt = sls - kZnl * moon.s3 * (moon.z1 + moon.z3 - 14.0 - 6.0 * emsq);
    const double sghl = moon.s4 * kZnl * (moon.z31 + moon.z33 - 6.0);
    const double shll = equatorial ? 0.0 : -kZnl * moon.s2 * (moon.z21 + moon.z23);
    domdt = sgs + sghl;
    dnodt = shs;
    if (sinim != 0.0) {
        domdt -= cosim / sinim * shll;
        dnodt += shll / sinim;
    }

    // Resonances with the Earth's gravity field.
    irez = 0;
    if (nm > 0.0034906585 && nm < 0.0052359877) irez = 1;
    if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5) irez = 2;
    if (irez == 0) return;
    const double theta = std::fmod(gsto, kTwoPi);
    const double aonv = std::pow(nm / wgs72::Xke(), 2.0 / 3.0);
    if (irez == 2) {
        const double cosisq = cosim * cosim, sini2 = sinim * sinim;
        const HalfDayG g = HalfDayCoefficients(em);
        const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
        const double f221 = 1.5 * sini2;
        const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
        const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
        const double f441 = 35.0 * sini2 * f220;
        const double f442 = 39.3750 * sini2 * sini2;
        const double f522 = 9.84375 * sinim *
                            (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) +
                             0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
        const double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                                     6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
        const double f542 =
            29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
        const double f543 =
            29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));
        double temp1 = 3.0 * nm * nm * aonv * aonv;
        double temp = temp1 * 1.7891679e-6;
        d2201 = temp * f220 * g.g201;
        d2211 = temp * f221 * g.g211;
        temp1 *= aonv;
        temp = temp1 * 3.7393792e-7;
        d3210 = temp * f321 * g.g310;
        d3222 = temp * f322 * g.g322;
        temp1 *= aonv;
        temp = 2.0 * temp1 * 7.3636953e-9;
        d4410 = temp * f441 * g.g410;
        d4422 = temp * f442 * g.g422;
        temp1 *= aonv;
        temp = temp1 * 1.1428639e-7;
        d5220 = temp * f522 * g.g520;
        d5232 = temp * f523 * g.g532;
        temp = 2.0 * temp1 * 2.1765803e-9;
        d5421 = temp * f542 * g.g521;
        d5433 = temp * f543 * g.g533;
        xlamo = std::fmod(s.mo + s.node + s.node - theta - theta, kTwoPi);
        xfact = s.mdot + dmdt + 2.0 * (s.nodedot + dnodt - kRptim) - no;
    } else {
        const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
        const double g310 = 1.0 + 2.0 * emsq;
        const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
        const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
        const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
        double f330 = 1.0 + cosim;
        f330 = 1.875 * f330 * f330 * f330;
        const double base = 3.0 * nm * nm * aonv * aonv;
        del2 = 2.0 * base * f220 * g200 * 1.7891679e-6;
        del3 = 3.0 * base * f330 * g300 * 2.2123015e-7 * aonv;
        del1 = base * f311 * g310 * 2.1460748e-6 * aonv;
        xlamo = std::fmod(s.mo + s.node + s.argp - theta, kTwoPi);
        xfact = s.mdot + s.argpdot + s.nodedot - kRptim + dmdt + domdt + dnodt - no;
    }
}

void DeepSpace::Secular(double t, double* em, double* argpm, double* inclm, double* mm,
                        double* nodem, double* nm) const {
    *em += dedt * t;
    *inclm += didt * t;
    *argpm += domdt * t;
    *nodem += dnodt * t;
    *mm += dmdt * t;
    if (irez == 0) return;
    // The resonance integrator: half-day steps from the epoch towards t, then a Taylor
    // step for the rest. Always started at the epoch, so every call is independent.
    constexpr double kStep = 720.0, kStep2 = 259200.0;
    const double theta = std::fmod(gsto + t * kRptim, kTwoPi);
    const double delt = t > 0.0 ? kStep : -kStep;
    double atime = 0.0, xli = xlamo, xni = no;
    double xndt = 0.0, xldot = 0.0, xnddt = 0.0, ft = 0.0;
    for (;;) {
        if (irez != 2) {
            xndt = del1 * std::sin(xli - 0.13130908) + del2 * std::sin(2.0 * (xli - 2.8843198)) +
                   del3 * std::sin(3.0 * (xli - 0.37448087));
            xldot = xni + xfact;
            xnddt = del1 * std::cos(xli - 0.13130908) +
                    2.0 * del2 * std::cos(2.0 * (xli - 2.8843198)) +
                    3.0 * del3 * std::cos(3.0 * (xli - 0.37448087));
            xnddt *= xldot;
        } else {
            constexpr double g22 = 5.7686396, g32 = 0.95240898, g44 = 1.8014998, g52 = 1.0508330,
                             g54 = 4.4108898;
            const double xomi = argpo + argpdot * atime;
            const double x2omi = xomi + xomi, x2li = xli + xli;
            xndt = d2201 * std::sin(x2omi + xli - g22) + d2211 * std::sin(xli - g22) +
                   d3210 * std::sin(xomi + xli - g32) + d3222 * std::sin(-xomi + xli - g32) +
                   d4410 * std::sin(x2omi + x2li - g44) + d4422 * std::sin(x2li - g44) +
                   d5220 * std::sin(xomi + xli - g52) + d5232 * std::sin(-xomi + xli - g52) +
                   d5421 * std::sin(xomi + x2li - g54) + d5433 * std::sin(-xomi + x2li - g54);
            xldot = xni + xfact;
            xnddt =
                d2201 * std::cos(x2omi + xli - g22) + d2211 * std::cos(xli - g22) +
                d3210 * std::cos(xomi + xli - g32) + d3222 * std::cos(-xomi + xli - g32) +
                d5220 * std::cos(xomi + xli - g52) + d5232 * std::cos(-xomi + xli - g52) +
                2.0 * (d4410 * std::cos(x2omi + x2li - g44) + d4422 * std::cos(x2li - g44) +
                       d5421 * std::cos(xomi + x2li - g54) + d5433 * std::cos(-xomi + x2li - g54));
            xnddt *= xldot;
        }
        if (std::fabs(t - atime) < kStep) {
            ft = t - atime;
            break;
        }
        xli += xldot * delt + xndt * kStep2;
        xni += xndt * delt + xnddt * kStep2;
        atime += delt;
    }
    const double n = xni + xndt * ft + xnddt * ft * ft * 0.5;
    const double xl = xli + xldot * ft + xndt * ft * ft * 0.5;
    *mm = irez != 1 ? xl - 2.0 * *nodem + 2.0 * theta : xl - *nodem - *argpm + theta;
    *nm = no + (n - no);
}

DeepSpace::Shifts DeepSpace::ShiftsAt(const Amplitudes& a, double meanAnomaly,
                                      double eccentricity) {
    const double zf = meanAnomaly + 2.0 * eccentricity * std::sin(meanAnomaly);
    const double sinzf = std::sin(zf);
    const double f2 = 0.5 * sinzf * sinzf - 0.25;
    const double f3 = -0.5 * sinzf * std::cos(zf);
    Shifts out;
    out.e = a.e2 * f2 + a.e3 * f3;
    out.i = a.i2 * f2 + a.i3 * f3;
    out.l = a.l2 * f2 + a.l3 * f3 + a.l4 * sinzf;
    out.gh = a.gh2 * f2 + a.gh3 * f3 + a.gh4 * sinzf;
    out.h = a.h2 * f2 + a.h3 * f3;
    return out;
}

void DeepSpace::Periodic(double t, double* ep, double* inclp, double* nodep, double* argpp,
                         double* mp) const {
    // Solar terms, then lunar, each from the body's mean anomaly at t.
    const Shifts sun = ShiftsAt(solar, zmos + kZns * t, kZes);
    const Shifts moon = ShiftsAt(lunar, zmol + kZnl * t, kZel);
    const double pe = sun.e + moon.e, pinc = sun.i + moon.i, pl = sun.l + moon.l;
    double pgh = sun.gh + moon.gh, ph = sun.h + moon.h;

    *inclp += pinc;
    *ep += pe;
    const double sinip = std::sin(*inclp), cosip = std::cos(*inclp);
    if (*inclp >= 0.2) {
        ph /= sinip;
        pgh -= cosip * ph;
        *argpp += pgh;
        *nodep += ph;
        *mp += pl;
        return;
    }
    // Low inclination: apply the node terms through the direction of the pole (Lyddane),
    // which stays defined where the node is not.
    const double sinop = std::sin(*nodep), cosop = std::cos(*nodep);
    double alfdp = sinip * sinop, betdp = sinip * cosop;
    alfdp += ph * cosop + pinc * cosip * sinop;
    betdp += -ph * sinop + pinc * cosip * cosop;
    *nodep = std::fmod(*nodep, kTwoPi);
    double xls = *mp + *argpp + cosip * *nodep;
    xls += pl + pgh - pinc * *nodep * sinip;
    const double xnoh = *nodep;
    *nodep = std::atan2(alfdp, betdp);
    if (std::fabs(xnoh - *nodep) > M_PI) *nodep += *nodep < xnoh ? kTwoPi : -kTwoPi;
    *mp += pl;
    *argpp = xls - *mp - cosip * *nodep;
}

}  // namespace sky
