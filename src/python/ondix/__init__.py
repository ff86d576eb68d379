"""Psychrometrics of ondix: moist-air states, the processes of air-conditioning plants, and tables of states read
and computed as ``ondix-calc stati`` reads and computes them.

    >>> import numpy as np, pandas as pd, ondix
    >>> round(ondix.stato(t=26, tbu=19)["ur"], 2)
    52.08
    >>> ondix.stato(t=np.array([20.0, 25.0]), ur=50, pressione=90000)["h"].round(2)
    array([40.75, 53.36])
    >>> round(ondix.processo(6, {8: 8500}, risposta="0.2")["risultati"]["potenza_frigorifera_W"])
    34550
    >>> misure = pd.DataFrame({"t": [20.0, "abc", 30.0], "ur": [50, 60, 120]})
    >>> ondix.stati(misure)["x"].round(3).tolist()
    [7.251, nan, nan]
    >>> for scarto in ondix.stati(misure).attrs["scarti"]:
    ...     print(scarto["riga"], scarto["motivo"])
    1 colonna t: "abc" non è un numero
    2 umidità relativa 120.00 % fuori da 0 a 100

Units: C, % (relative humidity), g/kg of dry air, kJ/kg of dry air, m3/kg of dry air, Pa. Errors raise
ondix.Errore (a ValueError) with the texts ondix-calc prints; box texts a process reads only in part warn with
ondix.Avviso (a UserWarning).
"""

import os as _os
import warnings as _warnings

import numpy as _np

from ._ondix import Errore, __version__, colonne_stati as _colonne_stati, nome_colonna, pressione_da_quota, stato
from ._ondix import _leggi, _numeri, _processo, _stati

__all__ = ["Avviso", "Errore", "__version__", "leggi", "leggi_csv", "leggi_epw", "nome_colonna", "pressione_da_quota",
           "processo", "stato", "stati"]

# The columns stati adds, as "ondix-calc stati" names them, and their units.
_UNITA = {"t": "C", "ur": "%", "x": "g/kg", "h": "kJ/kg", "v": "m3/kg", "t_bulbo_umido": "C", "t_rugiada": "C"}
_GRANDEZZE = ("t", "ur", "x", "h", "tbu", "tr")
# The names of the columns of a table that hold a quantity or the pressure: read as numbers.
_QUANTITA = _GRANDEZZE + ("p", "pressione")
# The pairs of a weather file's hours, as "ondix-calc stati FILE.epw" takes them: the dew point, else the relative
# humidity.
_COPPIE_METEO = (("t", "tr"), ("t", "ur"))
_DATA_METEO = ("anno", "mese", "giorno", "ora", "minuto")


class Avviso(UserWarning):
    """A box text a process reads only in part ("20,5" is 20): the calculation ran with the value read."""


def processo(tipo, caselle=None, *, umidita=0, portata=0, risposta=None, pressione=101335.0, modello=None):
    """Runs the process KIND `tipo` as "ondix-calc KIND --json" does and returns that JSON object as a dict (the same
    keys: the report, the chart points with their states, "risultati" with the numbers of the result lines...).
    `caselle` maps box numbers (1 to 10) to their texts or numbers, as --e1 ... --e10; umidita, portata and risposta
    are --umidita, --portata and --risposta.

    A box text read only in part warns with ondix.Avviso, in the words of ondix-calc. A floating-point error, inputs
    that admit no possible plant, or a mistake in the call (a box that does not exist, an unknown kind, umidita=2)
    raise ondix.Errore with the message ondix-calc prints.
    """
    risultato, avvisi = _processo(tipo, caselle, umidita, portata, risposta, pressione, modello)
    for avviso in avvisi:
        _warnings.warn(avviso, Avviso, stacklevel=2)
    return risultato


def _posizione(nomi, grandezza):
    """The position of the first column whose name stands for `grandezza` (as a header names it), or None."""
    for i, n in enumerate(nomi):
        if nome_colonna(n) == grandezza:
            return i
    return None


def _colonna_richiesta(nomi, grandezza):
    i = _posizione(nomi, grandezza)
    if i is None:
        raise Errore("l'intestazione non nomina una colonna " + grandezza)
    return i


def _coppie(df, nomi, da, umidita):
    """The pairs in order of preference and the position of each quantity's column."""
    if da is None and df.attrs.get("formato") == "epw":
        da = _COPPIE_METEO
    if da is None:
        # t with the humidity umidita names when the frame has both, else with the other one it has.
        u = 0 if umidita is None else umidita
        if _posizione(nomi, "t") is not None and _posizione(nomi, ("ur", "x")[u]) is None \
                and _posizione(nomi, ("ur", "x")[1 - u]) is not None:
            u = 1 - u
        prima, i_prima, seconda, i_seconda, _ = _colonne_stati(nomi, u, False)
        return [(prima, seconda)], {prima: i_prima, seconda: i_seconda}
    if isinstance(da, dict):
        coppie = [tuple(da)]
        etichette = list(df.columns)
        posizioni = {}
        for g, etichetta in da.items():
            if etichetta not in etichette:
                raise Errore("il DataFrame non ha la colonna " + repr(etichetta))
            posizioni[g] = etichette.index(etichetta)
    else:
        coppie = [tuple(da)] if len(da) == 2 and all(isinstance(g, str) for g in da) else [tuple(c) for c in da]
        posizioni = {}
    for coppia in coppie:
        if len(coppia) != 2 or not all(isinstance(g, str) for g in coppia):
            raise Errore("da: " + repr(da) + " (dare una coppia come (\"t\", \"tr\"), più coppie in ordine di "
                         "preferenza o {grandezza: colonna})")
        for g in coppia:
            if g not in _GRANDEZZE:
                raise Errore("grandezza sconosciuta: " + repr(g) + " (usare t, ur, x, h, tbu, tr)")
            if g not in posizioni:
                posizioni[g] = _colonna_richiesta(nomi, g)
    return coppie, posizioni


def _sicuro(valore):
    """A cell's value as a report keeps it: pandas' missing values as None, NumPy scalars as Python's."""
    if valore is None or type(valore).__name__ in ("NAType", "NaTType"):
        return None
    return valore.item() if isinstance(valore, _np.generic) else valore


def _scarti(df, coppie, posizioni, guasti, errori, solleva):
    """The rows of `df` not computed (`errori`: their positions and the library's reasons) as the report lists them;
    with `solleva`, Errore for the first instead. `guasti` holds, by position, the cells that are not numbers."""
    rifiutate = df.attrs.get("rifiutate", {})
    scarti = []
    for riga, testo in errori:
        etichetta = df.index[riga]
        record = {"riga": _sicuro(etichetta), "colonna": None, "valore": None, "motivo": testo}
        if etichetta in rifiutate:
            record["motivo"] = rifiutate[etichetta]
        else:
            # A cell that is not a number is the reason; with several pairs a missing value only when no pair has
            # both of its values is not (the text says which are missing).
            for i, motivo in guasti.get(riga, []):
                cella = df.iat[riga, i]
                if len(coppie) == 1 or _sicuro(cella) is not None and not (isinstance(cella, float) and cella != cella):
                    record.update(colonna=_sicuro(df.columns[i]), valore=_sicuro(cella), motivo=motivo)
                    break
        if solleva:
            dove = "riga " + str(etichetta)
            if record["colonna"] is not None:
                dove += ", colonna " + str(record["colonna"]) + ", valore " + repr(record["valore"])
            elif etichetta not in rifiutate:
                # The values of the first pair, whose columns together give no state.
                for g in coppie[0]:
                    dove += ", " + str(df.columns[posizioni[g]]) + " = " + repr(_sicuro(df.iat[riga, posizioni[g]]))
            e = Errore(dove + ": " + record["motivo"])
            e.riga, e.colonna, e.valore, e.motivo = etichetta, record["colonna"], record["valore"], record["motivo"]
            raise e
        scarti.append(record)
    return scarti


def stati(df, *, da=None, umidita=None, pressione=101335.0, modello=None, threads=1, errors="nan"):
    """A copy of the DataFrame `df` with the columns t, ur, x, h, v, t_bulbo_umido and t_rugiada of each row's state,
    computed as "ondix-calc stati" computes the rows of a file with the same columns.

    The pair: `da=("t", "tr")` names it (the columns are found by the header's rule: letter case and a unit after
    the name, "T [C]", do not matter), `da={"t": "Temp", "tr": "Dew"}` names its columns, and a list of pairs gives
    them in order of preference: each row takes the first whose two values it has (NaN, None or pd.NA is a value it
    has not) and that gives a state. By default a weather file's table (ondix.leggi_epw) takes the dry bulb with the
    dew point, else with the relative humidity, as "ondix-calc stati FILE.epw" does; any other DataFrame takes t with
    ur, or t with x when it has x and no ur (umidita=1 prefers x where it has both), else the only two of t, ur, x,
    h, tbu, tr it has. t with ur or x alone is computed as the point-properties report computes it (a CSV row), the
    other pairs and the weather file's as "ondix-calc stato" solves them.

    `pressione` is a number (Pa), a sequence of one per row, or "file" for the column p (or pressione). The computed
    columns replace those of the same names, except the columns every pair is read from.

    A row that cannot be computed keeps NaN in the computed columns: a cell that is empty, missing or not a number
    (text, an infinite value), a row the file's reader refused (ondix.leggi_csv and leggi_epw), or values no air can
    have. The result's attrs["scarti"] lists them in order, each a dict: "riga" (the row's index label), "colonna"
    (the label of the column at fault, None when the pair as a whole is), "valore" (that cell's value) and
    "motivo" (the text of ondix-calc); pd.DataFrame(result.attrs["scarti"]) makes it a table. With errors="raise"
    the first such row raises ondix.Errore naming its row, column and value, with the attributes riga, colonna,
    valore and motivo. Mistakes in the call itself (columns that give no pair, an unknown quantity or model, a
    pressure out of range, umidita=2, errors="x") raise ondix.Errore whatever `errors` says.
    """
    if errors not in ("raise", "nan"):
        raise Errore("errors: " + repr(errors) + " (usare \"raise\" o \"nan\")")
    if umidita is not None and (isinstance(umidita, bool) or umidita not in (0, 1)):
        raise Errore("umidita: " + repr(umidita) + " non è 0 o 1")
    if isinstance(pressione, str) and pressione != "file":
        raise Errore("pressione: " + repr(pressione) + " (dare un numero in Pa, uno per riga o \"file\")")
    nomi = [str(c) for c in df.columns]
    coppie, posizioni = _coppie(df, nomi, da, umidita)
    n = len(df)
    colonne, guasti = {}, {}
    for g, i in posizioni.items():
        colonne[g], difetti = _numeri(df.iloc[:, i].to_numpy(), g)
        for riga, motivo in difetti:
            guasti.setdefault(riga, []).append((i, motivo))
    if isinstance(pressione, str):
        i = _posizione(nomi, "p")
        i = _posizione(nomi, "pressione") if i is None else i
        if i is None:
            raise Errore("l'intestazione non nomina una colonna p (la pressione in Pa di ogni riga)")
        pressione, difetti = _numeri(df.iloc[:, i].to_numpy(), "p")
        for riga, motivo in difetti:
            guasti.setdefault(riga, []).append((i, motivo))
    elif not _np.isscalar(pressione) or isinstance(pressione, _np.ndarray):
        pressione = _np.ascontiguousarray(pressione, dtype="float64").reshape(-1)
        if len(pressione) != n:
            raise Errore("pressione: " + str(len(pressione)) + " valori per " + str(n) + " righe")
    risultato, errori = _stati(coppie, colonne, pressione, modello, threads, len(coppie) == 1)

    scarti = _scarti(df, coppie, posizioni, guasti, errori, errors == "raise")

    uscita = df.copy()
    # The columns every pair is read from keep their values (a state's given values are kept as given anyway).
    fisse = set.intersection(*({df.columns[posizioni[g]] for g in c} for c in coppie))
    for nome in _UNITA:
        if nome not in fisse:
            uscita[nome] = risultato[nome]
    uscita.attrs["unita"] = {**df.attrs.get("unita", {}), **_UNITA}
    uscita.attrs["scarti"] = scarti
    return uscita


def _tabella(t, percorso):
    """The DataFrame of a table read by the library: its index the rows' lines in the file ("riga")."""
    colonne = []
    for nome, unita, numeri, testi in t["colonne"]:
        if numeri is None:
            valori = _np.array([s if s else _np.nan for s in testi], dtype=object)
        elif testi is None:
            valori = numeri
            # A CSV's other columns of whole numbers only (a year, an hour, a code) as integers.
            if t["formato"] == "csv" and nome_colonna(nome) not in _QUANTITA and len(valori) \
                    and _np.isfinite(valori).all() and (valori == _np.round(valori)).all() \
                    and _np.abs(valori).max() < 2.0 ** 53:
                valori = valori.astype("int64")
        else:
            valori = numeri.astype(object)
            for i, s in enumerate(testi):
                if s:
                    valori[i] = s
        colonne.append((nome, unita, valori))
    import pandas as pd

    df = pd.DataFrame({i: v for i, (_, _, v) in enumerate(colonne)}, index=pd.Index(t["linee"], name="riga"))
    df.columns = [nome for nome, _, _ in colonne]
    df.attrs["file"] = _os.fspath(percorso)
    df.attrs["formato"] = t["formato"]
    df.attrs["unita"] = {nome: unita for nome, unita, _ in colonne if unita}
    df.attrs["rifiutate"] = {int(t["linee"][riga]): motivo for riga, motivo in t["rifiutate"]}
    if t["formato"] == "csv":
        df.attrs["separatore"] = t["separatore"]
        df.attrs["decimali"] = "virgola" if t["decimali_virgola"] else "punto"
        return df
    # A weather file: its hours' ends as timestamps (local standard time), the date's parts as integers.
    for nome in _DATA_METEO:
        if not df[nome].isna().any():
            df[nome] = df[nome].astype("int64")
    data = pd.to_datetime(pd.DataFrame({"year": df["anno"], "month": df["mese"], "day": df["giorno"]}),
                          errors="coerce") + pd.to_timedelta(df["ora"], unit="h")
    df.insert(0, "data", data)
    localita = t["localita"] or {}
    df.attrs["localita"] = localita
    quota = localita.get("quota")
    df.attrs["pressione"] = pressione_da_quota(quota) if quota is not None and -250 <= quota <= 3000 else None
    return df


def leggi_csv(percorso, *, umidita=0):
    """The CSV file `percorso` as a DataFrame, read as "ondix-calc stati" reads it: its separator (';', ',' or a tab),
    quoted fields, numbers with a decimal point or, where the separator is not ',', a decimal comma ("20,5"); a first
    line of numbers only is data, its columns named t, ur (x with umidita=1), colonna_3, ... A column is float64 when
    all its cells are numbers or empty (int64 when they are all whole numbers, unless it holds a quantity); a column
    named as a quantity (t, ur, x, h, tbu, tr, p, pressione, "T [C]"
    too) keeps its numbers as floats and the cells that are not numbers as their text, for ondix.stati to report;
    any other column keeps its texts. Empty cells are NaN.

    The index ("riga") is each row's line in the file, as the command's messages name it. attrs: "file", "formato"
    ("csv"), "separatore", "decimali" ("virgola" when the first row has a decimal comma, else "punto"), "unita" (none
    known) and "rifiutate" ({line: reason} of the rows the command refuses as they stand: more fields than the
    header, lines over 65536 characters; their cells are empty). A file that cannot be read, or has no header,
    raises ondix.Errore with the command's text.
    """
    return _tabella(_leggi(percorso, "csv", umidita), percorso)


def leggi_epw(percorso):
    """The EnergyPlus weather file (EPW) `percorso` as a DataFrame, one row an hour, read as "ondix-calc stati" reads
    it: data (the hour's end, local standard time), anno, mese, giorno, ora, minuto, t (dry bulb, C), tr (dew point,
    C), ur (relative humidity, %) and p (station pressure, Pa), NaN where the file marks a value as missing (99.9 C,
    999 %, 999999 Pa). ondix.stati computes it by default as the command does: the dry bulb with the dew point, else
    with the relative humidity.

    The index ("riga") is each hour's line in the file. attrs: "file", "formato" ("epw"), "localita" (citta, regione,
    paese, fonte, wmo, latitudine, longitudine, fuso_orario, quota), "pressione" (Pa at the site's altitude from the
    program's table, what --quota gives, or None; not used unless passed), "unita" ({"t": "C", "tr": "C", "ur": "%",
    "p": "Pa"}) and "rifiutate" ({line: reason} of the hours the command refuses for their text, such as a date or a
    value that is not a number; their values are NaN).
    """
    return _tabella(_leggi(percorso, "epw", 0), percorso)


def leggi(percorso, *, umidita=0):
    """The file `percorso` read by ondix.leggi_epw or ondix.leggi_csv, as "ondix-calc stati" tells them apart: a
    weather file by its name (.epw) or its first line ("LOCATION,..."), else a CSV."""
    return _tabella(_leggi(percorso, "automatico", umidita), percorso)
