// The compute path of PsychroLib 2.5.0 (C version) for one state from dry bulb and relative humidity in SI units,
// CalcPsychrometricsFromRelHum, transcribed for speed comparisons: the same formulas, tolerances, bounds and
// iteration structure; the unit-system switch is left out (SI only) and a failed check throws instead of exiting.
// Equations and coefficients from the ASHRAE Handbook - Fundamentals (2017), ch. 1.
//
// PsychroLib (https://github.com/psychrometrics/psychrolib), from which this file is derived:
//
// Copyright (c) 2018-2020 The PsychroLib Contributors for the current library implementation.
// Copyright (c) 2017 ASHRAE Handbook — Fundamentals for ASHRAE equations and coefficients.
//
// Permission is hereby granted, free of charge, to any person obtaining a copy of this software and associated
// documentation files (the "Software"), to deal in the Software without restriction, including without limitation
// the rights to use, copy, modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, and
// to permit persons to whom the Software is furnished to do so, subject to the following conditions:
//
// The above copyright notice and this permission notice shall be included in all copies or substantial portions of
// the Software.
//
// THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO
// THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
// AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF
// CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS
// IN THE SOFTWARE.
#pragma once

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace psychrolib_si {

inline constexpr double tolleranza = 0.001; // °C
inline constexpr int max_iterazioni = 100;
inline constexpr double min_hum_ratio = 1e-7;
inline constexpr double punto_triplo = 0.01; // °C
inline constexpr double punto_congelamento = 0.0;

inline void verifica(bool condizione, const char* messaggio) {
    if (!condizione) throw std::domain_error(messaggio);
}

inline double kelvin(double t) {
    return t + 273.15;
}

inline double GetSatVapPres(double TDryBulb) {
    verifica(TDryBulb >= -100. && TDryBulb <= 200., "Dry bulb temperature is outside range [-100, 200]");
    const double T = kelvin(TDryBulb);
    double LnPws;
    if (TDryBulb <= punto_triplo)
        LnPws = -5.6745359E+03 / T + 6.3925247 - 9.677843E-03 * T + 6.2215701E-07 * T * T +
                2.0747825E-09 * std::pow(T, 3) - 9.484024E-13 * std::pow(T, 4) + 4.1635019 * std::log(T);
    else
        LnPws = -5.8002206E+03 / T + 1.3914993 - 4.8640239E-02 * T + 4.1764768E-05 * T * T -
                1.4452093E-08 * std::pow(T, 3) + 6.5459673 * std::log(T);
    return std::exp(LnPws);
}

inline double dLnPws_(double TDryBulb) {
    const double T = kelvin(TDryBulb);
    if (TDryBulb <= punto_triplo)
        return 5.6745359E+03 / std::pow(T, 2) - 9.677843E-03 + 2 * 6.2215701E-07 * T +
               3 * 2.0747825E-09 * std::pow(T, 2) - 4 * 9.484024E-13 * std::pow(T, 3) + 4.1635019 / T;
    return 5.8002206E+03 / std::pow(T, 2) - 4.8640239E-02 + 2 * 4.1764768E-05 * T - 3 * 1.4452093E-08 * std::pow(T, 2) +
           6.5459673 / T;
}

inline double GetTDewPointFromVapPres(double TDryBulb, double VapPres) {
    verifica(VapPres >= GetSatVapPres(-100.) && VapPres <= GetSatVapPres(200.),
             "Partial pressure of water vapor is outside range of validity of equations");
    double TDewPoint = TDryBulb;
    const double lnVP = std::log(VapPres);
    double TDewPoint_iter;
    int index = 1;
    do {
        TDewPoint_iter = TDewPoint;
        const double lnVP_iter = std::log(GetSatVapPres(TDewPoint_iter));
        const double d_lnVP = dLnPws_(TDewPoint_iter);
        TDewPoint = TDewPoint_iter - (lnVP_iter - lnVP) / d_lnVP;
        TDewPoint = std::max(TDewPoint, -100.);
        TDewPoint = std::min(TDewPoint, 200.);
        verifica(index <= max_iterazioni, "Convergence not reached in GetTDewPointFromVapPres");
        index++;
    } while (std::fabs(TDewPoint - TDewPoint_iter) > tolleranza);
    return std::min(TDewPoint, TDryBulb);
}

inline double GetHumRatioFromVapPres(double VapPres, double Pressure) {
    verifica(VapPres >= 0., "Partial pressure of water vapor in moist air is negative");
    return std::max(0.621945 * VapPres / (Pressure - VapPres), min_hum_ratio);
}

inline double GetVapPresFromHumRatio(double HumRatio, double Pressure) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    const double w = std::max(HumRatio, min_hum_ratio);
    return Pressure * w / (0.621945 + w);
}

inline double GetTDewPointFromHumRatio(double TDryBulb, double HumRatio, double Pressure) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    return GetTDewPointFromVapPres(TDryBulb, GetVapPresFromHumRatio(HumRatio, Pressure));
}

inline double GetSatHumRatio(double TDryBulb, double Pressure) {
    const double p = GetSatVapPres(TDryBulb);
    return std::max(0.621945 * p / (Pressure - p), min_hum_ratio);
}

inline double GetHumRatioFromTWetBulb(double TDryBulb, double TWetBulb, double Pressure) {
    verifica(TWetBulb <= TDryBulb, "Wet bulb temperature is above dry bulb temperature");
    const double Wsstar = GetSatHumRatio(TWetBulb, Pressure);
    double HumRatio;
    if (TWetBulb >= punto_congelamento)
        HumRatio = ((2501. - 2.326 * TWetBulb) * Wsstar - 1.006 * (TDryBulb - TWetBulb)) /
                   (2501. + 1.86 * TDryBulb - 4.186 * TWetBulb);
    else
        HumRatio = ((2830. - 0.24 * TWetBulb) * Wsstar - 1.006 * (TDryBulb - TWetBulb)) /
                   (2830. + 1.86 * TDryBulb - 2.1 * TWetBulb);
    return std::max(HumRatio, min_hum_ratio);
}

inline double GetTWetBulbFromHumRatio(double TDryBulb, double HumRatio, double Pressure) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    const double w = std::max(HumRatio, min_hum_ratio);
    const double TDewPoint = GetTDewPointFromHumRatio(TDryBulb, w, Pressure);
    double TWetBulbSup = TDryBulb, TWetBulbInf = TDewPoint;
    double TWetBulb = (TWetBulbInf + TWetBulbSup) / 2.;
    int index = 1;
    while ((TWetBulbSup - TWetBulbInf) > tolleranza) {
        const double Wstar = GetHumRatioFromTWetBulb(TDryBulb, TWetBulb, Pressure);
        if (Wstar > w)
            TWetBulbSup = TWetBulb;
        else
            TWetBulbInf = TWetBulb;
        TWetBulb = (TWetBulbSup + TWetBulbInf) / 2.;
        verifica(index <= max_iterazioni, "Convergence not reached in GetTWetBulbFromHumRatio");
        index++;
    }
    return TWetBulb;
}

inline double GetHumRatioFromRelHum(double TDryBulb, double RelHum, double Pressure) {
    verifica(RelHum >= 0. && RelHum <= 1., "Relative humidity is outside range [0,1]");
    return GetHumRatioFromVapPres(RelHum * GetSatVapPres(TDryBulb), Pressure);
}

inline double GetMoistAirEnthalpy(double TDryBulb, double HumRatio) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    const double w = std::max(HumRatio, min_hum_ratio);
    return (1.006 * TDryBulb + w * (2501. + 1.86 * TDryBulb)) * 1000.;
}

inline double GetMoistAirVolume(double TDryBulb, double HumRatio, double Pressure) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    const double w = std::max(HumRatio, min_hum_ratio);
    return 287.042 * kelvin(TDryBulb) * (1. + 1.607858 * w) / Pressure;
}

inline double GetDegreeOfSaturation(double TDryBulb, double HumRatio, double Pressure) {
    verifica(HumRatio >= 0., "Humidity ratio is negative");
    return std::max(HumRatio, min_hum_ratio) / GetSatHumRatio(TDryBulb, Pressure);
}

struct Stato {
    double HumRatio, TWetBulb, TDewPoint, VapPres, MoistAirEnthalpy, MoistAirVolume, DegreeOfSaturation;
};

inline Stato CalcPsychrometricsFromRelHum(double TDryBulb, double RelHum, double Pressure) {
    verifica(RelHum >= 0 && RelHum <= 1, "Relative humidity is outside range [0,1]");
    Stato s;
    s.HumRatio = GetHumRatioFromRelHum(TDryBulb, RelHum, Pressure);
    s.TWetBulb = GetTWetBulbFromHumRatio(TDryBulb, s.HumRatio, Pressure);
    s.TDewPoint = GetTDewPointFromHumRatio(TDryBulb, s.HumRatio, Pressure);
    s.VapPres = GetVapPresFromHumRatio(s.HumRatio, Pressure);
    s.MoistAirEnthalpy = GetMoistAirEnthalpy(TDryBulb, s.HumRatio);
    s.MoistAirVolume = GetMoistAirVolume(TDryBulb, s.HumRatio, Pressure);
    s.DegreeOfSaturation = GetDegreeOfSaturation(TDryBulb, s.HumRatio, Pressure);
    return s;
}

} // namespace psychrolib_si
