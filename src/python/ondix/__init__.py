"""Psychrometrics of ondix: moist-air states and the processes of air-conditioning plants.

    >>> import ondix
    >>> ondix.stato(t=26, tbu=19)["ur"]
    >>> ondix.stato(t=numpy.array([20.0, 25.0]), ur=50, pressione=90000)["h"]
    >>> ondix.processo(6, {8: 8500}, risposta="0.2")["rapporto"]
    >>> ondix.stati(pandas.read_csv("meteo.csv"))

Units: C, % (relative humidity), g/kg of dry air, kJ/kg of dry air, m3/kg of dry air, Pa. Errors raise
ondix.Errore (a ValueError) with the texts ondix-calc prints.
"""

import re as _re

from ._ondix import Errore, __version__, pressione_da_quota, processo, stato

__all__ = ["Errore", "__version__", "pressione_da_quota", "processo", "stato", "stati"]

_GRANDEZZE = ("t", "ur", "x", "h", "tbu", "tr")
# The columns stati adds, as "ondix-calc stati" names them.
_USCITE = ("t", "ur", "x", "h", "v", "t_bulbo_umido", "t_rugiada")


def _nome_colonna(nome):
    """A column name as ondix-calc reads a header: lower case, cut at the first character that is not a letter,
    a digit or '_' ("T [C]" is t)."""
    m = _re.match(r"[A-Za-z0-9_]*", str(nome))
    return m.group(0).lower()


def _colonna(df, nome):
    for c in df.columns:
        if _nome_colonna(c) == nome:
            return c
    return None


def stati(df, *, umidita=0, pressione=101335.0, modello=None, threads=1):
    """A copy of the DataFrame `df` with the columns t, ur, x, h, v, t_bulbo_umido and t_rugiada of each row's
    state (replacing columns of those names, except the two it is computed from), computed as "ondix-calc stati" computes a CSV with the same header.

    The state's pair is found as ondix-calc finds it: the columns t and ur (t and x with umidita=1), else the only
    two of t, ur, x, h, tbu, tr (letter case and a unit after the name, "T [C]", do not matter). `pressione` is a
    number (Pa), a sequence of one per row, or "file" for the DataFrame's column p (or pressione). A row whose
    state cannot be computed keeps NaN in the added columns; the other columns are kept as they are.
    """
    colonna_u = "x" if umidita == 1 else "ur"
    ct, cu = _colonna(df, "t"), _colonna(df, colonna_u)
    if ct is not None and cu is not None:
        coppia = [("t", ct), (colonna_u, cu)]
    else:
        coppia = [(g, _colonna(df, g)) for g in _GRANDEZZE if _colonna(df, g) is not None]
        if len(coppia) != 2:
            raise Errore("il DataFrame non ha le colonne t e " + colonna_u + " né altre due fra t, ur, x, h, tbu, tr "
                         "(trovate: " + (", ".join(g for g, _ in coppia) or "nessuna") + ")")
    if isinstance(pressione, str):
        if pressione != "file":
            raise Errore("pressione: \"" + pressione + "\" (dare un numero in Pa o \"file\")")
        cp = _colonna(df, "p")
        if cp is None:
            cp = _colonna(df, "pressione")
        if cp is None:
            raise Errore("il DataFrame non ha una colonna p (la pressione in Pa di ogni riga)")
        pressione = df[cp].to_numpy(dtype="float64")
    argomenti = {g: df[c].to_numpy(dtype="float64") for g, c in coppia}
    risultato = stato(**argomenti, pressione=pressione, modello=modello, threads=threads, errors="nan")
    uscita = df.copy()
    usate = {c for _, c in coppia}
    for nome in _USCITE:
        # A column the state is read from keeps its values (a state's given values are kept as given anyway).
        if nome not in usate:
            uscita[nome] = risultato[nome]
    return uscita
