"""What the tests of the Python module share: ondix-calc (ONDIX_CALC) and the rows it writes, formatted alike."""

import csv
import io
import math
import os
import subprocess

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
