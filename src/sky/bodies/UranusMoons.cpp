// SPDX-License-Identifier: LGPL-3.0-or-later AND MIT
// Uranus' five major moons by the theory GUST86 (Laskar and Jacobson 1987, A&A 188, 212):
// each moon's mean motion, mean longitude, eccentricity vector k + ih and inclination vector
// q + ip as sums of periodic terms in the five mean longitudes and the ten proper modes,
// referred to Uranus' equator; then an ellipse about Uranus, turned to the equator B1950
// and J2000.
//
// Derived from Johannes Gajdosik's evaluation of GUST86 (gust86.c, Copyright (c) 2005
// Johannes Gajdosik, MIT licence) as Debian's stellarium 0.22 source carries it: the moons'
// GM values (Theory::mu) are his. The MIT notice is in debian/copyright and data/README.md.
#include <cmath>
#include <complex>

#include "sky/bodies/Moons.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

constexpr double kEpoch = 2444239.5;  // 1980 Jan 1.0
constexpr double kDegPerYear = M_PI / (180.0 * 365.25);

// The five mean longitudes (rad, rad a day) and the proper modes of the eccentricities and
// the inclinations (rad, degrees a year).
const double kLongitudeRate[5] = {4.44519055, 2.492952519, 1.516148111, 0.721718509, 0.46669212};
const double kLongitudeAt0[5] = {-0.238051, 3.098046, 2.285402, 0.856359, -0.915592};
const double kEccModeRate[5] = {20.082, 6.217, 2.865, 2.078, 0.386};
const double kEccModeAt0[5] = {0.611392, 2.408974, 2.067774, 0.735131, 0.426767};
const double kInclModeRate[5] = {-20.309, -6.288, -2.836, -1.843, -0.259};
const double kInclModeAt0[5] = {5.702313, 0.395757, 0.589326, 1.746237, 4.206896};

// One periodic term: its amplitude and argument, a sum of multiples of the mean longitudes
// and at most one eccentricity mode (mode -1: none).
struct Term {
    double amplitude;
    signed char k[5];
    signed char mode;
};

struct Series {
    const Term* terms;
    int count;
};

template <int N>
constexpr Series Of(const Term (&t)[N]) {
    return Series{t, N};
}

// A moon's theory. Its eccentricity vector sums amplitude times exp(i argument) over the five
// proper modes and the terms; its inclination vector over the five inclination modes.
struct Theory {
    double meanMotion, longitudeAt0, longitudeRate;
    Series motion;     // cosines, rad a day
    Series longitude;  // sines, rad
    double eccModes[5];
    Series eccentricity;
    double inclModes[5];
    double mu;  // GM of Uranus and the moon, au^3/day^2
};

// Miranda
const Term kMotion0[] = {{-3.492e-5, {1, -3, 2, 0, 0}, -1},
                         {8.47e-6, {2, -6, 4, 0, 0}, -1},
                         {1.31e-6, {3, -9, 6, 0, 0}, -1},
                         {-5.228e-5, {1, -1, 0, 0, 0}, -1},
                         {-1.3665e-4, {2, -2, 0, 0, 0}, -1}};
const Term kLongitude0[] = {{0.02547217, {1, -3, 2, 0, 0}, -1}, {-0.00308831, {2, -6, 4, 0, 0}, -1},
                            {-3.181e-4, {3, -9, 6, 0, 0}, -1},  {-3.749e-5, {4, -12, 8, 0, 0}, -1},
                            {-5.785e-5, {1, -1, 0, 0, 0}, -1},  {-6.232e-5, {2, -2, 0, 0, 0}, -1},
                            {-2.795e-5, {3, -3, 0, 0, 0}, -1}};
const Term kEcc0[] = {{1.941e-4, {1, 0, 0, 0, 0}, -1},
                      {-1.2331e-4, {-1, 2, 0, 0, 0}, -1},
                      {3.952e-5, {-2, 3, 0, 0, 0}, -1}};
// Ariel
const Term kMotion1[] = {{2.55e-6, {1, -3, 2, 0, 0}, -1},
                         {-4.216e-5, {0, 1, -1, 0, 0}, -1},
                         {-1.0256e-4, {0, 2, -2, 0, 0}, -1}};
const Term kLongitude1[] = {{-0.0018605, {1, -3, 2, 0, 0}, -1}, {2.1999e-4, {2, -6, 4, 0, 0}, -1},
                            {2.31e-5, {3, -9, 6, 0, 0}, -1},    {4.3e-6, {4, -12, 8, 0, 0}, -1},
                            {-9.011e-5, {0, 1, -1, 0, 0}, -1},  {-9.107e-5, {0, 2, -2, 0, 0}, -1},
                            {-4.275e-5, {0, 3, -3, 0, 0}, -1},  {-1.649e-5, {0, 2, 0, -2, 0}, -1}};
const Term kEcc1[] = {{-8.46e-5, {0, -1, 2, 0, 0}, -1},
                      {9.181e-5, {0, -2, 3, 0, 0}, -1},
                      {2.003e-5, {0, -1, 0, 2, 0}, -1},
                      {8.977e-5, {0, 1, 0, 0, 0}, -1}};
// Umbriel
const Term kMotion2[] = {{9.74e-6, {0, 0, 1, -2, 0}, 2},   {-1.06e-4, {0, 1, -1, 0, 0}, -1},
                         {5.416e-5, {0, 2, -2, 0, 0}, -1}, {-2.359e-5, {0, 0, 1, -1, 0}, -1},
                         {-7.07e-5, {0, 0, 2, -2, 0}, -1}, {-3.628e-5, {0, 0, 3, -3, 0}, -1}};
const Term kLongitude2[] = {{6.6057e-4, {1, -3, 2, 0, 0}, -1}, {-7.651e-5, {2, -6, 4, 0, 0}, -1},
                            {-8.96e-6, {3, -9, 6, 0, 0}, -1},  {-2.53e-6, {4, -12, 8, 0, 0}, -1},
                            {-5.291e-5, {0, 0, 1, -4, 3}, -1}, {-7.34e-6, {0, 0, 1, -2, 0}, 4},
                            {-1.83e-6, {0, 0, 1, -2, 0}, 3},   {1.4791e-4, {0, 0, 1, -2, 0}, 2},
                            {-7.77e-6, {0, 0, 1, -2, 0}, 1},   {9.776e-5, {0, 1, -1, 0, 0}, -1},
                            {7.313e-5, {0, 2, -2, 0, 0}, -1},  {3.471e-5, {0, 3, -3, 0, 0}, -1},
                            {1.889e-5, {0, 4, -4, 0, 0}, -1},  {-6.789e-5, {0, 0, 1, -1, 0}, -1},
                            {-8.286e-5, {0, 0, 2, -2, 0}, -1}, {-3.381e-5, {0, 0, 3, -3, 0}, -1},
                            {-1.579e-5, {0, 0, 4, -4, 0}, -1}, {-1.021e-5, {0, 0, 1, 0, -1}, -1},
                            {-1.708e-5, {0, 0, 2, 0, -2}, -1}};
const Term kEcc2[] = {{2.934e-5, {0, 1, 0, 0, 0}, -1},   {2.62e-5, {0, 0, 1, 0, 0}, -1},
                      {5.119e-5, {0, -1, 2, 0, 0}, -1},  {-1.0386e-4, {0, -2, 3, 0, 0}, -1},
                      {-2.716e-5, {0, -3, 4, 0, 0}, -1}, {-1.622e-5, {0, 0, 0, 1, 0}, -1},
                      {5.4923e-4, {0, 0, -1, 2, 0}, -1}, {3.47e-5, {0, 0, -2, 3, 0}, -1},
                      {1.281e-5, {0, 0, -3, 4, 0}, -1},  {2.181e-5, {0, 0, -1, 0, 2}, -1},
                      {4.625e-5, {0, 0, 1, 0, 0}, -1}};
// Titania
const Term kMotion3[] = {{-2.64e-6, {0, 0, 1, -2, 0}, 2},   {-2.16e-6, {0, 0, 0, 2, -3}, 4},
                         {6.45e-6, {0, 0, 0, 2, -3}, 3},    {-1.11e-6, {0, 0, 0, 2, -3}, 2},
                         {-6.223e-5, {0, 1, 0, -1, 0}, -1}, {-5.613e-5, {0, 0, 1, -1, 0}, -1},
                         {-3.994e-5, {0, 0, 0, 1, -1}, -1}, {-9.185e-5, {0, 0, 0, 2, -2}, -1},
                         {-5.831e-5, {0, 0, 0, 3, -3}, -1}, {-3.86e-5, {0, 0, 0, 4, -4}, -1},
                         {-2.618e-5, {0, 0, 0, 5, -5}, -1}, {-1.806e-5, {0, 0, 0, 6, -6}, -1}};
const Term kLongitude3[] = {{2.061e-5, {0, 0, 1, -4, 3}, -1},   {-2.07e-6, {0, 0, 1, -2, 0}, 4},
                            {-2.88e-6, {0, 0, 1, -2, 0}, 3},    {-4.079e-5, {0, 0, 1, -2, 0}, 2},
                            {2.11e-6, {0, 0, 1, -2, 0}, 1},     {-5.183e-5, {0, 0, 0, 2, -3}, 4},
                            {1.5987e-4, {0, 0, 0, 2, -3}, 3},   {-3.505e-5, {0, 0, 0, 2, -3}, 2},
                            {-1.56e-6, {0, 0, 0, 3, -4}, 4},    {4.054e-5, {0, 1, 0, -1, 0}, -1},
                            {4.617e-5, {0, 0, 1, -1, 0}, -1},   {-3.1776e-4, {0, 0, 0, 1, -1}, -1},
                            {-3.0559e-4, {0, 0, 0, 2, -2}, -1}, {-1.4836e-4, {0, 0, 0, 3, -3}, -1},
                            {-8.292e-5, {0, 0, 0, 4, -4}, -1},  {-4.998e-5, {0, 0, 0, 5, -5}, -1},
                            {-3.156e-5, {0, 0, 0, 6, -6}, -1},  {-2.056e-5, {0, 0, 0, 7, -7}, -1},
                            {-1.369e-5, {0, 0, 0, 8, -8}, -1}};
const Term kEcc3[] = {{3.386e-5, {0, 1, 0, 0, 0}, -1},   {1.746e-5, {0, 0, 0, 1, 0}, -1},
                      {1.658e-5, {0, -1, 0, 2, 0}, -1},  {2.889e-5, {0, 0, 1, 0, 0}, -1},
                      {-3.586e-5, {0, 0, -1, 2, 0}, -1}, {-1.786e-5, {0, 0, 0, 1, 0}, -1},
                      {-3.21e-5, {0, 0, 0, 0, 1}, -1},   {-1.7783e-4, {0, 0, 0, -1, 2}, -1},
                      {7.9343e-4, {0, 0, 0, -2, 3}, -1}, {9.948e-5, {0, 0, 0, -3, 4}, -1},
                      {4.483e-5, {0, 0, 0, -4, 5}, -1},  {2.513e-5, {0, 0, 0, -5, 6}, -1},
                      {1.543e-5, {0, 0, 0, -6, 7}, -1}};
// Oberon
const Term kMotion4[] = {{2.08e-6, {0, 0, 0, 2, -3}, 4},    {-6.22e-6, {0, 0, 0, 2, -3}, 3},
                         {1.07e-6, {0, 0, 0, 2, -3}, 2},    {-4.31e-5, {0, 1, 0, 0, -1}, -1},
                         {-3.894e-5, {0, 0, 1, 0, -1}, -1}, {-8.011e-5, {0, 0, 0, 1, -1}, -1},
                         {5.906e-5, {0, 0, 0, 2, -2}, -1},  {3.749e-5, {0, 0, 0, 3, -3}, -1},
                         {2.482e-5, {0, 0, 0, 4, -4}, -1},  {1.684e-5, {0, 0, 0, 5, -5}, -1}};
const Term kLongitude4[] = {{-7.82e-6, {0, 0, 1, -4, 3}, -1},  {5.129e-5, {0, 0, 0, 2, -3}, 4},
                            {-1.5824e-4, {0, 0, 0, 2, -3}, 3}, {3.451e-5, {0, 0, 0, 2, -3}, 2},
                            {4.751e-5, {0, 1, 0, 0, -1}, -1},  {3.896e-5, {0, 0, 1, 0, -1}, -1},
                            {3.5973e-4, {0, 0, 0, 1, -1}, -1}, {2.8278e-4, {0, 0, 0, 2, -2}, -1},
                            {1.386e-4, {0, 0, 0, 3, -3}, -1},  {7.803e-5, {0, 0, 0, 4, -4}, -1},
                            {4.729e-5, {0, 0, 0, 5, -5}, -1},  {3e-5, {0, 0, 0, 6, -6}, -1},
                            {1.962e-5, {0, 0, 0, 7, -7}, -1},  {1.311e-5, {0, 0, 0, 8, -8}, -1}};
const Term kEcc4[] = {{3.9e-5, {0, 1, 0, 0, 0}, -1},      {1.766e-5, {0, -1, 0, 0, 2}, -1},
                      {3.242e-5, {0, 0, 1, 0, 0}, -1},    {7.975e-5, {0, 0, 0, 1, 0}, -1},
                      {7.566e-5, {0, 0, 0, 0, 1}, -1},    {1.3404e-4, {0, 0, 0, -1, 2}, -1},
                      {-9.8726e-4, {0, 0, 0, -2, 3}, -1}, {-1.2609e-4, {0, 0, 0, -3, 4}, -1},
                      {-5.742e-5, {0, 0, 0, -4, 5}, -1},  {-3.241e-5, {0, 0, 0, -5, 6}, -1},
                      {-1.999e-5, {0, 0, 0, -6, 7}, -1},  {-1.294e-5, {0, 0, 0, -7, 8}, -1}};

const Theory kTheories[5] = {
    {4.44352267,
     -0.23805158,
     4.44519055,
     Of(kMotion0),
     Of(kLongitude0),
     {0.00131238, 7.181e-5, 6.977e-5, 6.75e-6, 6.27e-6},
     Of(kEcc0),
     {0.03787171, 2.701e-5, 3.076e-5, 1.218e-5, 5.37e-6},
     1.291892353675174e-08},
    {2.49254257,
     3.09804641,
     2.49295252,
     Of(kMotion1),
     Of(kLongitude1),
     {-3.35e-6, 0.00118763, 8.6159e-4, 7.15e-5, 5.559e-5},
     Of(kEcc1),
     {-1.2175e-4, 3.5825e-4, 2.9008e-4, 9.778e-5, 3.397e-5},
     1.291910570526396e-08},
    {1.5159549,
     2.28540169,
     1.51614811,
     Of(kMotion2),
     Of(kLongitude2),
     {-2.1e-7, -2.2795e-4, 0.00390469, 3.0917e-4, 2.2192e-4},
     Of(kEcc2),
     {-1.086e-5, -8.151e-5, 0.00111336, 3.5014e-4, 1.065e-4},
     1.291910102284198e-08},
    {0.72166316,
     0.85635879,
     0.72171851,
     Of(kMotion3),
     Of(kLongitude3),
     {-2e-8, -1.29e-6, -3.2451e-4, 9.3281e-4, 0.00112089},
     Of(kEcc3),
     {-1.43e-6, -1.06e-6, -1.4013e-4, 6.8572e-4, 3.7832e-4},
     1.291942656265575e-08},
    {0.46658054,
     -0.9155918,
     0.46669212,
     Of(kMotion4),
     Of(kLongitude4),
     {0.0, -3.5e-7, 7.453e-5, -7.5868e-4, 0.00139734},
     Of(kEcc4),
     {-4.4e-7, -3.1e-7, 3.689e-5, -5.9633e-4, 4.5169e-4},
     1.291935967091320e-08},
};

// Uranus' pole, B1950: the theory's x axis lies on the equator B1950 at right ascension
// alpha - 90 degrees, its z axis on the pole.
constexpr double kPoleRa = 76.6067 * kRad;
constexpr double kPoleDec = 15.0320 * kRad;

struct Angles {
    double longitude[5], eccMode[5], inclMode[5];
};

double Argument(const Term& term, const Angles& a) {
    double arg = term.mode >= 0 ? a.eccMode[term.mode] : 0.0;
    for (int j = 0; j < 5; ++j) arg += term.k[j] * a.longitude[j];
    return arg;
}

}  // namespace

Vec UranusMoon(int index, double jdTt) {
    const Theory& th = kTheories[index < 0 || index > 4 ? 0 : index];
    const double t = jdTt - kEpoch;
    Angles a{};
    for (int j = 0; j < 5; ++j) {
        a.longitude[j] = std::fmod(kLongitudeAt0[j] + kLongitudeRate[j] * t, 2 * M_PI);
        a.eccMode[j] = std::fmod(kEccModeAt0[j] + kEccModeRate[j] * kDegPerYear * t, 2 * M_PI);
        a.inclMode[j] = std::fmod(kInclModeAt0[j] + kInclModeRate[j] * kDegPerYear * t, 2 * M_PI);
    }
    double n = th.meanMotion;
    for (int i = 0; i < th.motion.count; ++i)
        n += th.motion.terms[i].amplitude * std::cos(Argument(th.motion.terms[i], a));
    double lambda = th.longitudeAt0 + th.longitudeRate * t;
    for (int i = 0; i < th.longitude.count; ++i)
        lambda += th.longitude.terms[i].amplitude * std::sin(Argument(th.longitude.terms[i], a));
    std::complex<double> z, zeta;
    for (int j = 0; j < 5; ++j) {
        z += std::polar(th.eccModes[j], a.eccMode[j]);
        zeta += std::polar(th.inclModes[j], a.inclMode[j]);
    }
    for (int i = 0; i < th.eccentricity.count; ++i)
        z += std::polar(th.eccentricity.terms[i].amplitude, Argument(th.eccentricity.terms[i], a));

    const Vec equator = OnEllipse(th.mu, n, lambda, z, zeta);

    // Uranus' equator to the equator B1950 (x axis at alpha - 90 degrees, the equator's
    // descending node; z on the pole), then to J2000.
    const Vec b1950 =
        R3(-(kPoleRa + M_PI / 2)) * (R1(-(M_PI / 2 - kPoleDec)) * (R3(M_PI) * equator));
    constexpr double kB1950 = 2433282.4235;
    return Transpose(Precession(kB1950)) * b1950;
}

}  // namespace sky
