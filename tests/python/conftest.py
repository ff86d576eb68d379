"""What the tests of the Python module share: ondix-calc (ONDIX_CALC) and the rows it writes, formatted alike."""

import csv
import io
import math
import os
import subprocess

import numpy as np

import pytest

# The decimals of the columns of "ondix-calc stati".
DECIMALI = {"t": 2, "ur": 2, "x": 3, "h": 3, "v": 4, "t_bulbo_umido": 2, "t_rugiada": 2}


def come_stati(valore, nome):
    """A value as ondix-calc stati writes it: fixed decimals, no minus sign on a zero, empty for NaN."""
    if math.isnan(valore):
        return ""
    testo = f"{valore:.{DECIMALI[nome]}f}"
    return testo[1:] if testo.startswith("-") and set(testo[1:]) <= set("0.") else testo


@pytest.fixture
def calc():
    """Runs ondix-calc with the arguments (and standard input); returns (exit status, stdout, stderr)."""

    def esegui(*argomenti, ingresso=""):
        r = subprocess.run([os.environ["ONDIX_CALC"], *argomenti], input=ingresso, capture_output=True, text=True)
        return r.returncode, r.stdout, r.stderr

    return esegui


@pytest.fixture
def righe_stati(calc):
    """The output rows of "ondix-calc stati -j 1" on a CSV text with ',' between fields, as dicts by column."""

    def righe(csv_testo, *argomenti):
        _, uscita, _ = calc("stati", "-j", "1", *argomenti, "-", ingresso=csv_testo)
        return list(csv.DictReader(io.StringIO(uscita)))

    return righe


def anno_meteo(percorso, seme=3):
    """Writes a weather file (EPW) of a whole year as a station's looks: a continental site's yearly and daily swing
    of temperature and humidity with hourly noise, months from different years (a typical year), the dew point to a
    tenth of a degree and the relative humidity to a whole per cent as the format gives them, station pressure
    passing with the weather, CR LF line ends, and hours with the format's codes for missing values (a dew point, a
    humidity, both, a dry bulb, a pressure)."""
    casuale = np.random.default_rng(seme)
    righe = ["LOCATION,Chicago Ohare Intl Ap,IL,USA,TMY3,725300,41.98,-87.92,-6.0,201.0", "DESIGN CONDITIONS,0",
             "TYPICAL/EXTREME PERIODS,0", "GROUND TEMPERATURES,0", "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0",
             "COMMENTS 1,Hours generated for the tests", "COMMENTS 2,", "DATA PERIODS,1,1,Data,Sunday, 1/ 1,12/31"]
    giorni = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
    anni = [1990, 1988, 2001, 1995, 1999, 2004, 1987, 1997, 2002, 1993, 1991, 2000]
    i = 0
    for mese, n in enumerate(giorni):
        for giorno in range(1, n + 1):
            for ora in range(1, 25):
                g = i // 24
                t = 10 - 14 * math.cos(2 * math.pi * (g - 20) / 365) - 5 * math.cos(2 * math.pi * (ora - 5) / 24) \
                    + casuale.normal(0, 2.5)
                ur = min(100.0, max(15.0, 70 + 18 * math.cos(2 * math.pi * (ora - 5) / 24) + casuale.normal(0, 8)))
                a = math.log(ur / 100) + 17.625 * t / (243.04 + t)
                tr = min(t, 243.04 * a / (17.625 - a))
                p = 99000 + 900 * math.sin(2 * math.pi * g / 7.3) + casuale.normal(0, 150)
                campi = [f"{t:.1f}", f"{tr:.1f}", f"{ur:.0f}", f"{p:.0f}"]
                if i % 997 == 5:
                    campi[1] = "99.9"
                if i % 1499 == 7:
                    campi[2] = "999"
                if i == 4000:
                    campi[1:3] = ["99.9", "999"]
                if i == 4100:
                    campi[0] = "99.9"
                if i % 2003 == 11:
                    campi[3] = "999999"
                righe.append(f"{anni[mese]},{mese + 1},{giorno},{ora},60,A7A7A7A7*0?9?9?9?9?9?9?9A7A7A7A7A7A7*0E8*0*0,"
                             + ",".join(campi) + ",0,0,300,0,0,0,0,0,0,0,180,2.1,5,5,16.1,77777,9,999999999,0,0.1000,"
                             "0,88,0.000,0.0,0.0")
                i += 1
    with open(percorso, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(righe) + "\r\n")


@pytest.fixture
def scartate(calc):
    """Runs "ondix-calc stati -j 1" on a file with more arguments; returns its rows (dicts by column) and {line:
    reason} of the rows it reported."""

    def esegui(percorso, *argomenti):
        _, uscita, errori = calc("stati", "-j", "1", str(percorso), *argomenti)
        intestazione = uscita.split("\n", 1)[0]
        sep = next((c for c in ";\t" if c in intestazione), ",")
        motivi = {}
        for riga in errori.splitlines():
            if riga.endswith(" (riga scartata)"):
                luogo, motivo = riga[len(str(percorso)) + 1:-len(" (riga scartata)")].split(": ", 1)
                motivi[int(luogo)] = motivo
        return list(csv.DictReader(io.StringIO(uscita), delimiter=sep)), motivi

    return esegui
