// SPDX-License-Identifier: LGPL-3.0-or-later
// SGP4: the secular effects of the Earth's oblateness and of drag, the long-period terms
// and the short-period terms of the near-Earth model; SDP4 adds the deep-space terms.
//
// Derived from David Vallado's SGP4 code (sgp4unit.cpp, C++, 2006 and later revisions), which
// accompanies the paper of Vallado, Crawford, Hujsak and Kelso 2006, "Revisiting Spacetrack
// Report #3" (AIAA 2006-6753), and is distributed freely by its authors and CelesTrak
// without a licence of its own: the variable names, the order of the steps and the loop
// seeds follow it.
#include "sky/satellites/Sgp4.h"

#include <cmath>
#include <limits>

namespace sky {
namespace {

constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kDeg = M_PI / 180.0;
constexpr double kRe = wgs72::kRadius;
constexpr double kJ3oJ2 = wgs72::kJ3 / wgs72::kJ2;
const double kXke = wgs72::Xke();
constexpr double kX2o3 = 2.0 / 3.0;

// The long-period coefficient of the mean longitude, kept finite near 180 degrees.
double LongPeriodXlcof(double sinio, double cosio) {
    const double den = std::fabs(cosio + 1.0) > 1.5e-12 ? 1.0 + cosio : 1.5e-12;
    return -0.25 * kJ3oJ2 * sinio * (3.0 + 5.0 * cosio) / den;
}

void SetNaN(double r[3], double v[3]) {
    for (int i = 0; i < 3; ++i) r[i] = v[i] = std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

double Gmst1982(double jdUt1) {
    const double t = (jdUt1 - 2451545.0) / 36525.0;
    double s = -6.2e-6 * t * t * t + 0.093104 * t * t + (876600.0 * 3600.0 + 8640184.812866) * t +
               67310.54841;
    s = std::fmod(s * kDeg / 240.0, kTwoPi);
    return s < 0.0 ? s + kTwoPi : s;
}

Sgp4::Sgp4(const Elements& elements) : m_elements(elements) { Init(); }

void Sgp4::Init() {
    const Elements& el = m_elements;
    m_initError = kSgp4BadElements;
    if (!std::isfinite(el.meanMotion) || !(el.meanMotion > 0.0) ||
        !std::isfinite(el.eccentricity) || !(el.eccentricity >= 0.0 && el.eccentricity < 1.0) ||
        !std::isfinite(el.inclination) || !std::isfinite(el.node) || !std::isfinite(el.perigee) ||
        !std::isfinite(el.meanAnomaly) || !std::isfinite(el.bstar) || !std::isfinite(el.epochJd))
        return;
    m_ecc = el.eccentricity;
    m_incl = el.inclination * kDeg;
    m_node = el.node * kDeg;
    m_argp = el.perigee * kDeg;
    m_mo = el.meanAnomaly * kDeg;
    m_bstar = el.bstar;
    const double noKozai = el.meanMotion * kTwoPi / 1440.0;

    // Brouwer's mean motion and semi-major axis from the Kozai mean motion of the elements.
    const double eccsq = m_ecc * m_ecc, omeosq = 1.0 - eccsq, rteosq = std::sqrt(omeosq);
    const double cosio = std::cos(m_incl), cosio2 = cosio * cosio, sinio = std::sin(m_incl);
    const double ak = std::pow(kXke / noKozai, kX2o3);
    const double d1 = 0.75 * wgs72::kJ2 * (3.0 * cosio2 - 1.0) / (rteosq * omeosq);
    double del = d1 / (ak * ak);
    const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
    del = d1 / (adel * adel);
    m_no = noKozai / (1.0 + del);
    m_ao = std::pow(kXke / m_no, kX2o3);
    const double po = m_ao * omeosq, posq = po * po, rp = m_ao * (1.0 - m_ecc);
    const double con42 = 1.0 - 5.0 * cosio2;
    m_con41 = -con42 - cosio2 - cosio2;
    m_x1mth2 = 1.0 - cosio2;
    m_x7thm1 = 7.0 * cosio2 - 1.0;
    m_simple = rp < 220.0 / kRe + 1.0;

    // The atmosphere's density function: its reference height moves down for low perigees.
    double sfour = 78.0 / kRe + 1.0;
    double qzms24 = std::pow((120.0 - 78.0) / kRe, 4);
    const double perigeeKm = (rp - 1.0) * kRe;
    if (perigeeKm < 156.0) {
        sfour = perigeeKm < 98.0 ? 20.0 : perigeeKm - 78.0;
        qzms24 = std::pow((120.0 - sfour) / kRe, 4);
        sfour = sfour / kRe + 1.0;
    }
    const double pinvsq = 1.0 / posq;
    const double tsi = 1.0 / (m_ao - sfour);
    m_eta = m_ao * m_ecc * tsi;
    const double etasq = m_eta * m_eta, eeta = m_ecc * m_eta;
    const double psisq = std::fabs(1.0 - etasq);
    const double coef = qzms24 * std::pow(tsi, 4), coef1 = coef / std::pow(psisq, 3.5);
    const double cc2 =
        coef1 * m_no *
        (m_ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
         0.375 * wgs72::kJ2 * tsi / psisq * m_con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    m_cc1 = m_bstar * cc2;
    const double cc3 = m_ecc > 1.0e-4 ? -2.0 * coef * tsi * kJ3oJ2 * m_no * sinio / m_ecc : 0.0;
    m_cc4 = 2.0 * m_no * coef1 * m_ao * omeosq *
            (m_eta * (2.0 + 0.5 * etasq) + m_ecc * (0.5 + 2.0 * etasq) -
             wgs72::kJ2 * tsi / (m_ao * psisq) *
                 (-3.0 * m_con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                  0.75 * m_x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * m_argp)));
    m_cc5 = 2.0 * coef1 * m_ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);

    // Secular rates of the mean anomaly, the perigee and the node (J2, J2^2, J4).
    const double cosio4 = cosio2 * cosio2;
    const double temp1 = 1.5 * wgs72::kJ2 * pinvsq * m_no;
    const double temp2 = 0.5 * temp1 * wgs72::kJ2 * pinvsq;
    const double temp3 = -0.46875 * wgs72::kJ4 * pinvsq * pinvsq * m_no;
    m_mdot = m_no + 0.5 * temp1 * rteosq * m_con41 +
             0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
    m_argpdot = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
                temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
    const double xhdot1 = -temp1 * cosio;
    m_nodedot =
        xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
    m_omgcof = m_bstar * cc3 * std::cos(m_argp);
    m_xmcof = m_ecc > 1.0e-4 ? -kX2o3 * coef * m_bstar / eeta : 0.0;
    m_nodecf = 3.5 * omeosq * xhdot1 * m_cc1;
    m_t2cof = 1.5 * m_cc1;
    m_xlcof = LongPeriodXlcof(sinio, cosio);
    m_aycof = -0.5 * kJ3oJ2 * sinio;
    m_delmo = std::pow(1.0 + m_eta * std::cos(m_mo), 3);
    m_sinmao = std::sin(m_mo);

    m_deep = kTwoPi / m_no >= 225.0;
    if (m_deep) {
        m_simple = true;
        m_ds.Init({el.epochJd - 2433281.5, m_ecc, m_incl, m_node, m_argp, m_mo, m_no, m_mdot,
                   m_nodedot, m_argpdot, Gmst1982(el.epochJd)});
    }
    if (!m_simple) {
        const double cc1sq = m_cc1 * m_cc1;
        m_d2 = 4.0 * m_ao * tsi * cc1sq;
        const double temp = m_d2 * tsi * m_cc1 / 3.0;
        m_d3 = (17.0 * m_ao + sfour) * temp;
        m_d4 = 0.5 * temp * m_ao * tsi * (221.0 * m_ao + 31.0 * sfour) * m_cc1;
        m_t3cof = m_d2 + 2.0 * cc1sq;
        m_t4cof = 0.25 * (3.0 * m_d3 + m_cc1 * (12.0 * m_d2 + 10.0 * cc1sq));
        m_t5cof = 0.2 * (3.0 * m_d4 + 12.0 * m_cc1 * m_d3 + 6.0 * m_d2 * m_d2 +
                         15.0 * cc1sq * (2.0 * m_d2 + cc1sq));
    }
    m_initError = kSgp4Ok;
    double r[3], v[3];
    m_initError = Propagate(0.0, r, v);
}

int Sgp4::Propagate(double t, double r[3], double v[3]) const {
    SetNaN(r, v);
    if (m_initError == kSgp4BadElements || !std::isfinite(t)) return kSgp4BadElements;
    if (std::fabs(t) > 36525.0 * 1440.0) return kSgp4TooFar;
    // Secular gravity and drag.
    const double xmdf = m_mo + m_mdot * t;
    const double argpdf = m_argp + m_argpdot * t;
    const double nodedf = m_node + m_nodedot * t;
    double argpm = argpdf, mm = xmdf;
    const double t2 = t * t;
    double nodem = nodedf + m_nodecf * t2;
    double tempa = 1.0 - m_cc1 * t;
    double tempe = m_bstar * m_cc4 * t;
    double templ = m_t2cof * t2;
    if (!m_simple) {
        const double delomg = m_omgcof * t;
        const double delm = m_xmcof * (std::pow(1.0 + m_eta * std::cos(xmdf), 3) - m_delmo);
        const double temp = delomg + delm;
        mm = xmdf + temp;
        argpm = argpdf - temp;
        const double t3 = t2 * t, t4 = t3 * t;
        tempa = tempa - m_d2 * t2 - m_d3 * t3 - m_d4 * t4;
        tempe = tempe + m_bstar * m_cc5 * (std::sin(mm) - m_sinmao);
        templ = templ + m_t3cof * t3 + t4 * (m_t4cof + t * m_t5cof);
    }
    double nm = m_no, em = m_ecc, inclm = m_incl;
    if (m_deep) m_ds.Secular(t, &em, &argpm, &inclm, &mm, &nodem, &nm);
    if (!(nm > 0.0)) return kSgp4MeanMotion;
    const double am = std::pow(kXke / nm, kX2o3) * tempa * tempa;
    nm = kXke / std::pow(am, 1.5);
    em -= tempe;
    if (!(em < 1.0 && em >= -0.001)) return kSgp4Eccentricity;
    if (em < 1.0e-6) em = 1.0e-6;
    mm += m_no * templ;
    double xlm = mm + argpm + nodem;
    nodem = std::fmod(nodem, kTwoPi);
    argpm = std::fmod(argpm, kTwoPi);
    xlm = std::fmod(xlm, kTwoPi);
    mm = std::fmod(xlm - argpm - nodem, kTwoPi);

    // Lunar-solar periodics (deep space).
    double ep = em, xincp = inclm, argpp = argpm, nodep = nodem, mp = mm;
    double sinip = std::sin(inclm), cosip = std::cos(inclm);
    double aycof = m_aycof, xlcof = m_xlcof, con41 = m_con41, x1mth2 = m_x1mth2, x7thm1 = m_x7thm1;
    if (m_deep) {
        m_ds.Periodic(t, &ep, &xincp, &nodep, &argpp, &mp);
        if (xincp < 0.0) {
            xincp = -xincp;
            nodep += M_PI;
            argpp -= M_PI;
        }
        if (ep < 0.0 || ep > 1.0) return kSgp4PerturbedEccentricity;
        sinip = std::sin(xincp);
        cosip = std::cos(xincp);
        aycof = -0.5 * kJ3oJ2 * sinip;
        xlcof = LongPeriodXlcof(sinip, cosip);
        const double cosisq = cosip * cosip;
        con41 = 3.0 * cosisq - 1.0;
        x1mth2 = 1.0 - cosisq;
        x7thm1 = 7.0 * cosisq - 1.0;
    }

    // Long-period periodics.
    const double axnl = ep * std::cos(argpp);
    double temp = 1.0 / (am * (1.0 - ep * ep));
    const double aynl = ep * std::sin(argpp) + temp * aycof;
    const double xl = mp + argpp + nodep + temp * xlcof * axnl;

    // Kepler's equation in the equinoctial form, with a bounded Newton step.
    const double u = std::fmod(xl - nodep, kTwoPi);
    double eo1 = u, tem5 = 9999.9, sineo1 = 0.0, coseo1 = 0.0;
    for (int k = 0; std::fabs(tem5) >= 1.0e-12 && k < 10; ++k) {
        sineo1 = std::sin(eo1);
        coseo1 = std::cos(eo1);
        tem5 = (u - aynl * coseo1 + axnl * sineo1 - eo1) / (1.0 - coseo1 * axnl - sineo1 * aynl);
        if (std::fabs(tem5) >= 0.95) tem5 = tem5 > 0.0 ? 0.95 : -0.95;
        eo1 += tem5;
    }

    // Short-period periodics.
    const double ecose = axnl * coseo1 + aynl * sineo1;
    const double esine = axnl * sineo1 - aynl * coseo1;
    const double el2 = axnl * axnl + aynl * aynl;
    const double pl = am * (1.0 - el2);
    if (pl < 0.0) return kSgp4SemiLatusRectum;
    const double rl = am * (1.0 - ecose);
    const double rdotl = std::sqrt(am) * esine / rl;
    const double rvdotl = std::sqrt(pl) / rl;
    const double betal = std::sqrt(1.0 - el2);
    temp = esine / (1.0 + betal);
    const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
    const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
    double su = std::atan2(sinu, cosu);
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    temp = 1.0 / pl;
    const double temp1 = 0.5 * wgs72::kJ2 * temp;
    const double temp2 = temp1 * temp;
    const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
    su -= 0.25 * temp2 * x7thm1 * sin2u;
    const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
    const double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
    const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / kXke;
    const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / kXke;

    // Orientation vectors and the state.
    const double sinsu = std::sin(su), cossu = std::cos(su);
    const double snod = std::sin(xnode), cnod = std::cos(xnode);
    const double sini = std::sin(xinc), cosi = std::cos(xinc);
    const double xmx = -snod * cosi, xmy = cnod * cosi;
    const double ux = xmx * sinsu + cnod * cossu, uy = xmy * sinsu + snod * cossu,
                 uz = sini * sinsu;
    const double vx = xmx * cossu - cnod * sinsu, vy = xmy * cossu - snod * sinsu,
                 vz = sini * cossu;
    if (mrt < 1.0) return kSgp4Decayed;
    const double vkmpersec = kRe * kXke / 60.0;
    r[0] = mrt * ux * kRe;
    r[1] = mrt * uy * kRe;
    r[2] = mrt * uz * kRe;
    v[0] = (mvt * ux + rvdot * vx) * vkmpersec;
    v[1] = (mvt * uy + rvdot * vy) * vkmpersec;
    v[2] = (mvt * uz + rvdot * vz) * vkmpersec;
    return kSgp4Ok;
}

}  // namespace sky
