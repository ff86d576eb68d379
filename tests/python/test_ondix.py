"""The Python module against ondix-calc: the same states, the same JSON keys and values, the same error texts."""

import json
import math
import re

import numpy as np
import pandas as pd
import pytest

import ondix
from conftest import DECIMALI, come_stati

# A grid over the range of the batch command, with one row that cannot be computed (ur over 100).
T = np.array([[-50.0, -12.5, 0.0], [21.3, 37.75, 100.0]])
UR = np.array([[0.0, 35.0, 100.0], [50.5, 99.9, 100.1]])


def test_stati_vettoriali_come_ondix_calc(righe_stati):
    ris = ondix.stato(t=T, ur=UR, errors="nan", threads=2)
    assert set(ris) == set(DECIMALI)
    assert all(a.shape == T.shape and a.dtype == np.float64 for a in ris.values())
    assert np.isnan(ris["h"][1, 2])
    # A scalar broadcast against an array, and the pressure as an array of its own shape.
    assert ondix.stato(t=T, ur=50.0)["x"].shape == T.shape
    assert ondix.stato(t=20.0, ur=50.0, pressione=np.full((4, 1), 90000.0))["x"].shape == (4, 1)

    # Enough states for two threads to share: the same values as one thread.
    uno, due = (ondix.stato(t=np.tile(T, 2000), ur=np.tile(UR, 2000), errors="nan", threads=n) for n in (1, 2))
    assert all(np.array_equal(uno[k], due[k], equal_nan=True) for k in DECIMALI)

    csv = "t,ur\n" + "".join(f"{t!r},{u!r}\n" for t, u in zip(T.ravel(), UR.ravel()))
    righe = righe_stati(csv)
    buone = [i for i in range(T.size) if i != 5]
    assert len(righe) == len(buone)
    for riga, i in zip(righe, buone):
        scalare = ondix.stato(t=float(T.ravel()[i]), ur=float(UR.ravel()[i]))
        for nome in DECIMALI:
            valore = ris[nome].ravel()[i]
            assert math.isclose(scalare[nome], valore) or (math.isnan(valore) and math.isnan(scalare[nome]))
            assert come_stati(valore, nome) == riga[nome], (i, nome)


def test_processo_come_json(calc):
    _, uscita, _ = calc("6", "--e8", "8500", "--e1", "33.5", "--risposta", "0.2", "--quota", "1200", "--json")
    atteso = json.loads(uscita)
    ris = ondix.processo(6, {8: 8500, 1: "33.5"}, risposta="0.2", pressione=ondix.pressione_da_quota(1200))
    assert list(ris) == list(atteso)
    assert ris == atteso


def test_dataframe(righe_stati):
    df = pd.DataFrame({"stazione": ["A", "A", "B"], "T [C]": [20.0, 105.0, -5.5], "x": [7.0, 5.0, 2.0],
                       "p": [101325.0, 95000.0, 80000.0]})
    uscita = ondix.stati(df, umidita=1, pressione="file")
    assert list(uscita.columns) == list(df.columns) + [n for n in DECIMALI if n != "x"]
    assert uscita["stazione"].tolist() == ["A", "A", "B"] and "t" not in df
    # The row that cannot be computed keeps its own values, NaN in the others.
    assert uscita.loc[1, "x"] == 5.0 and uscita.loc[1, ["t", "h", "t_rugiada"]].isna().all()
    righe = righe_stati(df.drop(columns="stazione").to_csv(index=False), "--umidita", "1", "--pressione", "file")
    assert len(righe) == 2
    for riga, (_, r) in zip(righe, uscita.drop(index=1).iterrows()):
        assert all(come_stati(r[nome], nome) == riga[nome] for nome in DECIMALI)


@pytest.mark.parametrize("argomenti, coppia", [
    (["--t", "26", "--tbu", "28"], {"t": 26, "tbu": 28}),
    (["--x", "8", "--tr", "10"], {"x": 8, "tr": 10}),
    (["--t", "20", "--ur", "50", "--modello", "nessuno"], {"t": 20, "ur": 50, "modello": "nessuno"}),
])
def test_errori_con_i_testi_di_ondix_calc(calc, argomenti, coppia):
    codice, _, errore = calc("stato", *argomenti)
    assert codice == 2
    with pytest.raises(ondix.Errore) as e:
        ondix.stato(**coppia)
    testo = str(e.value)
    assert isinstance(e.value, ValueError) and testo and errore.endswith(testo + "\n")
    with pytest.raises(ondix.Errore, match="^" + re.escape(testo) + "$"):
        ondix.stato(**{k: np.array([v, v]) if k != "modello" else v for k, v in coppia.items()})


@pytest.mark.parametrize("colonne, umidita", [
    (["t", "x"], 0),               # the other humidity column than the one asked for
    (["x", "tr"], 0),              # a pair that is not independent
    (["T [C]", "ur", "h"], 1),     # more than two
    (["data", "vento"], 0),        # no pair at all
])
def test_colonne_come_ondix_calc(calc, colonne, umidita):
    codice, _, errore = calc("stati", "--umidita", str(umidita), "-", ingresso=",".join(colonne) + "\n1,2,3\n")
    assert codice == 2
    with pytest.raises(ondix.Errore) as e:
        ondix.stati(pd.DataFrame({c: [1.0] for c in colonne}), umidita=umidita)
    assert errore.endswith(": " + str(e.value) + "\n"), (errore, str(e.value))
