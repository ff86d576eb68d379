"""The Python module against ondix-calc: the same states, the same JSON keys and values, the same error texts."""

import csv
import json
import math
import os
import re
import shutil
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import ondix
from conftest import DECIMALI, anno_meteo, come_stati

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
    # Each chart point's whole state: the enthalpy by the program's correlation, the rest as the state tool gives it.
    for p in ris["punti"]:
        assert list(p) == ["n", "t", "x", "etichetta", "ur", "h", "v"]
        assert math.isclose(p["h"], 1.004 * p["t"] + (1.926 * p["t"] + 2490.0) * p["x"] / 1000.0, rel_tol=1e-12)
        _, uscita, _ = calc("stato", "--t", repr(p["t"]), "--x", repr(p["x"]), "--quota", "1200", "--json")
        stato = json.loads(uscita)
        assert math.isclose(p["ur"], stato["ur"], rel_tol=1e-9) and math.isclose(p["v"], stato["v"], rel_tol=1e-9)


def test_processo_avvisa_come_ondix_calc(calc):
    _, _, errore = calc("4", "--e1", "20,5", "--e2", "abc", "--json")
    attesi = [r[len("ondix-calc: avviso: "):] for r in errore.splitlines() if r.startswith("ondix-calc: avviso: ")]
    with pytest.warns(ondix.Avviso) as avvisi:
        ondix.processo(4, {1: "20,5", 2: "abc"})
    assert len(attesi) == 2 and [str(a.message) for a in avvisi] == attesi


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


@pytest.mark.parametrize("argomenti, coppia, della_chiamata", [
    (["--t", "26", "--tbu", "28"], {"t": 26, "tbu": 28}, False),
    (["--x", "8", "--tr", "10"], {"x": 8, "tr": 10}, True),
    (["--t", "20", "--ur", "50", "--modello", "nessuno"], {"t": 20, "ur": 50, "modello": "nessuno"}, True),
])
def test_errori_con_i_testi_di_ondix_calc(calc, argomenti, coppia, della_chiamata):
    codice, _, errore = calc("stato", *argomenti)
    assert codice == 2
    with pytest.raises(ondix.Errore) as e:
        ondix.stato(**coppia)
    testo = str(e.value)
    assert isinstance(e.value, ValueError) and testo and errore.endswith(testo + "\n")
    # In an array the element at fault is named, by its index; a fault of the call itself is the call's.
    valori = {k: np.array([[20.0, v], [20.0, v]]) if k != "modello" else v for k, v in coppia.items()}
    if "t" in valori:
        valori["t"] = np.array([[20.0, 26.0], [20.0, 26.0]])
    atteso = testo if della_chiamata else "elemento (0, 1): " + testo
    with pytest.raises(ondix.Errore, match="^" + re.escape(atteso) + "$") as e:
        ondix.stato(**valori)
    assert della_chiamata or e.value.indice == (0, 1)
    if della_chiamata:
        with pytest.raises(ondix.Errore, match="^" + re.escape(testo) + "$"):
            ondix.stato(**coppia, errors="nan")


@pytest.mark.parametrize("chiamata", [
    lambda: ondix.stato(t=20, ur=50, pressione=29999, errors="nan"),
    lambda: ondix.stato(t=[20, 30], ur=50, modello="nessuno", errors="nan"),
    lambda: ondix.stato(t=10**400, ur=50),
    lambda: ondix.stato(t=20, ur=50, threads=0),
    lambda: ondix.stato(t=[20, 30], ur=[50, 60, 70]),
    lambda: ondix.stato(t=20, ur=50, errors="ignore"),
    lambda: ondix.stati(pd.DataFrame({"t": [20.0], "ur": [50.0]}), umidita=2),
    lambda: ondix.stati(pd.DataFrame({"t": [20.0], "ur": [50.0]}), pressione=130000, errors="nan"),
    lambda: ondix.stati(pd.DataFrame({"t": [20.0], "ur": [50.0]}), da=("t", "tr")),
    lambda: ondix.stati(pd.DataFrame({"t": [20.0], "ur": [50.0]}), da=("t", "umidita")),
    lambda: ondix.processo(4, {"a": 1}),
    lambda: ondix.processo(4, {1.5: 1}),
    lambda: ondix.processo(4, {11: 1}),
    lambda: ondix.processo(4, umidita=2),
    lambda: ondix.processo(99),
    lambda: ondix.processo(4, pressione=10**400),
    lambda: ondix.pressione_da_quota(5000),
])
def test_errori_della_chiamata(chiamata):
    with pytest.raises(ondix.Errore):
        chiamata()


def test_scalari_e_array():
    for t in (26, 26.0, np.int64(26), np.float32(26.0), np.array(26.0)):
        ris = ondix.stato(t=t, ur=np.int64(50))
        assert all(type(v) is float for v in ris.values()) and ris["x"] == ondix.stato(t=26.0, ur=50.0)["x"]
    assert ondix.stato(t=[26.0], ur=50)["x"].shape == (1,)
    assert ondix.stato(t=np.array([[26.0]]), ur=np.array(50.0))["x"].shape == (1, 1)


@pytest.mark.parametrize("colonne, umidita", [
    (["x", "tr"], 0),               # a pair that is not independent
    (["T [C]", "h", "tbu"], 0),     # more than two
    (["data", "vento"], 0),         # no pair at all
])
def test_colonne_come_ondix_calc(calc, colonne, umidita):
    codice, _, errore = calc("stati", "--umidita", str(umidita), "-", ingresso=",".join(colonne) + "\n1,2,3\n")
    assert codice == 2
    with pytest.raises(ondix.Errore) as e:
        ondix.stati(pd.DataFrame({c: [1.0] for c in colonne}), umidita=umidita)
    assert errore.endswith(": " + str(e.value) + "\n"), (errore, str(e.value))


# Bad cells, each in a DataFrame's column and written as the same field of a ';' file: None, pandas' NA and NaN are
# an empty field.
CELLE_GUASTE = ["abc", None, pd.NA, float("nan"), float("inf"), -float("inf"), "", "1.234,5", "20,5", 120]


def test_celle_guaste_come_ondix_calc(tmp_path, scartate):
    t = [20.0 + i for i in range(len(CELLE_GUASTE))] + CELLE_GUASTE
    ur = CELLE_GUASTE + [50.0] * len(CELLE_GUASTE)
    df = pd.DataFrame({"stazione": ["A"] * len(t), "t": np.array(t, dtype=object), "ur": np.array(ur, dtype=object)},
                      index=pd.RangeIndex(2, 2 + len(t)))

    def campo(v):
        return "" if v is None or v is pd.NA or (isinstance(v, float) and v != v) else str(v)

    percorso = tmp_path / "misure.csv"
    percorso.write_text("stazione;t;ur\n" + "".join(f"A;{campo(a)};{campo(b)}\n" for a, b in zip(t, ur)))
    righe, motivi = scartate(percorso)
    # The index here is the file's line: the command's reasons by line are the module's by row.
    ris = ondix.stati(df)
    assert {s["riga"]: s["motivo"] for s in ris.attrs["scarti"]} == motivi
    assert all(s["colonna"] in ("t", "ur", None) for s in ris.attrs["scarti"]) and len(motivi) == len(t) - 2
    buone = ris.drop(index=list(motivi))
    assert len(righe) == len(buone) == 2 and ris.loc[list(motivi), list(DECIMALI)[2:]].isna().all().all()
    # The columns given keep their cells as they are ("20,5"), the others are the command's.
    for riga, (_, r) in zip(righe, buone.iterrows()):
        assert all(come_stati(r[nome], nome) == riga[nome] for nome in list(DECIMALI)[2:])
    with pytest.raises(ondix.Errore) as e:
        ondix.stati(df, errors="raise")
    primo = ris.attrs["scarti"][0]
    assert (e.value.riga, e.value.colonna, e.value.valore, e.value.motivo) == (2, "ur", "abc", primo["motivo"])
    assert str(e.value) == "riga 2, colonna ur, valore 'abc': " + primo["motivo"]


def test_meteo_come_ondix_calc(tmp_path, scartate):
    percorso = tmp_path / "chicago.epw"
    anno_meteo(percorso)
    df = ondix.leggi_epw(percorso)
    assert len(df) == 8760 and df.index.name == "riga" and df.index[0] == 9
    assert str(df["data"].dtype) == "datetime64[ns]" and df["data"].iloc[23] == pd.Timestamp("1990-01-02 00:00")
    assert all(df[c].dtype == np.float64 for c in ("t", "tr", "ur", "p")) and df["ora"].dtype == np.int64
    assert df.attrs["localita"]["citta"] == "Chicago Ohare Intl Ap" and df.attrs["localita"]["quota"] == 201.0
    assert df.attrs["unita"] == {"t": "C", "tr": "C", "ur": "%", "p": "Pa"}
    assert df.attrs["pressione"] == ondix.pressione_da_quota(201.0)
    for argomenti, opzioni in (([], {}), (["--pressione", "file"], {"pressione": "file"})):
        righe, motivi = scartate(percorso, *argomenti)
        ris = ondix.stati(df, **opzioni)
        assert {s["riga"] for s in ris.attrs["scarti"]} == set(motivi) and len(motivi) >= 2
        buone = ris.drop(index=list(motivi))
        assert len(righe) == len(buone) == 8760 - len(motivi)
        for riga, (_, r) in zip(righe, buone.iterrows()):
            assert int(riga["ora"]) == r["ora"] and int(riga["giorno"]) == r["giorno"]
            assert all(come_stati(r[nome], nome) == riga[nome] for nome in DECIMALI), (riga, r)
    # The pair named: the dry bulb with the relative humidity, which differs from the dew point's.
    ur = ondix.stati(df, da=("t", "ur"))
    assert ur.attrs["scarti"] and (ur["x"] - ondix.stati(df)["x"]).abs().max() > 0.05


def test_documentazione():
    import doctest
    esito = doctest.testmod(ondix)
    assert esito.attempted >= 6 and esito.failed == 0


def mypy(cartella, codice):
    """mypy's report on `codice` against the package's stubs (pandas has none: its types are Any)."""
    percorso = cartella / "esempio.py"
    percorso.write_text(codice)
    stub = os.path.dirname(os.path.dirname(ondix.__file__))
    r = subprocess.run([sys.executable, "-m", "mypy", "--strict", "--ignore-missing-imports", "--no-error-summary",
                        "--cache-dir", str(cartella / "cache"), str(percorso)],
                       env={**os.environ, "MYPYPATH": stub}, capture_output=True, text=True)
    return r.returncode, r.stdout


def test_tipi_del_readme(tmp_path):
    with open(os.path.join(os.path.dirname(__file__), "..", "..", "README.md"), encoding="utf-8") as f:
        blocchi = re.findall(r"```python\n(.*?)```", f.read(), re.S)
    assert blocchi and mypy(tmp_path, "\n".join(blocchi)) == (0, "")
    # Scalars give floats, arrays arrays; a text is no value.
    codice, uscita = mypy(tmp_path, "import numpy as np, ondix\n"
                                    "reveal_type(ondix.stato(t=np.float64(26), ur=50))\n"
                                    "reveal_type(ondix.stato(t=[20.0, 30.0], ur=50))\n"
                                    "ondix.stato(t=\"abc\", ur=50)\n")
    righe = uscita.splitlines()
    assert codice == 1 and len(righe) == 3 and "dict[builtins.str, builtins.float]" in righe[0]
    assert "dict[builtins.str, numpy.ndarray" in righe[1] and ":4: error:" in righe[2] and '"t"' in righe[2]


def test_stub_come_il_modulo(tmp_path):
    configurazione = tmp_path / "mypy.ini"
    configurazione.write_text("[mypy]\nignore_missing_imports = True\n")
    stub = os.path.dirname(os.path.dirname(ondix.__file__))
    r = subprocess.run([sys.executable, "-m", "mypy.stubtest", "ondix", "--mypy-config-file", str(configurazione)],
                       env={**os.environ, "MYPYPATH": stub, "PYTHONPATH": stub}, capture_output=True, text=True,
                       cwd=tmp_path)
    assert r.returncode == 0, r.stdout


def test_xlsx_letto_da_openpyxl(tmp_path, calc):
    openpyxl = pytest.importorskip("openpyxl")
    percorso = tmp_path / "misure.csv"
    percorso.write_text("data;stazione;t;ur;vento\n2023-01-01 00:00;TO;20,5;50;3,5\n2023-01-01 01:00;TO;abc;50;calma\n"
                        "2023-01-01 02:00;0012;-3;85,5;\n")
    foglio = tmp_path / "misure.xlsx"
    argomenti = ["stati", str(percorso), "--copia-colonne", "--tieni-scarti"]
    codice, uscita, _ = calc(*argomenti, "--xlsx", str(foglio))
    assert codice == 1 and uscita == ""
    _, atteso, _ = calc(*argomenti, "--decimali", "punto")
    righe = [r.split(";") for r in atteso.splitlines()]
    letto = list(openpyxl.load_workbook(foglio).active.iter_rows(values_only=True))
    unita = {"t": " [C]", "ur": " [%]", "x": " [g/kg]", "h": " [kJ/kg]", "v": " [m3/kg]", "t_bulbo_umido": " [C]",
             "t_rugiada": " [C]"}
    assert list(letto[0]) == [n + unita.get(n, "") if i in range(2, 9) else n for i, n in enumerate(righe[0])]
    assert len(letto) == len(righe) == 4
    for celle, campi in zip(letto[1:], righe[1:]):
        for cella, campo in zip(celle, campi):
            # A number is a number cell (whatever the locale of the program that opens it), a text a text.
            if campo == "":
                assert cella is None
            elif re.fullmatch(r"-?[0-9]+([.,][0-9]+)?", campo):
                assert isinstance(cella, (int, float)) and cella == float(campo.replace(",", "."))
            else:
                assert cella == campo
    assert openpyxl.load_workbook(foglio).active["E2"].number_format == "0.000"
    # A spreadsheet program opens it with numbers as numbers in an Italian and an English locale: its CSV of the
    # sheet writes each number with the locale's decimal separator.
    if shutil.which("soffice"):
        for locale, decimale in (("it_IT.UTF-8", ","), ("C.UTF-8", ".")):
            cartella = tmp_path / locale
            profilo = (tmp_path / ("profilo_" + locale)).as_uri()
            subprocess.run(["soffice", "-env:UserInstallation=" + profilo, "--headless", "--convert-to", "csv",
                            "--outdir", str(cartella), str(foglio)], env={**os.environ, "LC_ALL": locale},
                           capture_output=True, timeout=180, check=True)
            with open(cartella / "misure.csv", encoding="utf-8") as f:
                convertite = list(csv.reader(f))
            for celle, campi in zip(convertite[1:], righe[1:]):
                for cella, campo in zip(celle, campi):
                    if re.fullmatch(r"-?[0-9]+([.,][0-9]+)?", campo):
                        valore = float(campo.replace(",", "."))
                        atteso = repr(valore).removesuffix(".0").replace(".", decimale)
                        assert cella == atteso, (locale, cella, campo)
