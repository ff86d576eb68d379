"""Psychrometrics of ondix: moist-air states and the processes of air-conditioning plants.

    >>> import ondix
    >>> ondix.stato(t=26, tbu=19)["ur"]
    >>> ondix.stato(t=numpy.array([20.0, 25.0]), ur=50, pressione=90000)["h"]
    >>> ondix.processo(6, {8: 8500}, risposta="0.2")["rapporto"]
    >>> ondix.stati(pandas.read_csv("meteo.csv"))

Units: C, % (relative humidity), g/kg of dry air, kJ/kg of dry air, m3/kg of dry air, Pa. Errors raise
ondix.Errore (a ValueError) with the texts ondix-calc prints.
"""

from ._ondix import Errore, __version__, colonne_stati as _colonne_stati, pressione_da_quota, processo, stato

__all__ = ["Errore", "__version__", "pressione_da_quota", "processo", "stato", "stati"]

# The columns stati adds, as "ondix-calc stati" names them.
_USCITE = ("t", "ur", "x", "h", "v", "t_bulbo_umido", "t_rugiada")


def stati(df, *, umidita=0, pressione=101335.0, modello=None, threads=1):
    """A copy of the DataFrame `df` with the columns t, ur, x, h, v, t_bulbo_umido and t_rugiada of each row's
    state (replacing columns of those names, except the two it is computed from), computed as "ondix-calc stati" computes a CSV with the same header.

    The state's pair is found by the library's rule for the header of ondix-calc stati: the columns t and ur (t and
    x with umidita=1), else the only two of t, ur, x, h, tbu, tr (letter case and a unit after the name, "T [C]",
    do not matter). `pressione` is a number (Pa), a sequence of one per row, or "file" for the DataFrame's column p
    (or pressione). A row whose state cannot be computed keeps NaN in the added columns; the other columns are
    kept as they are. Columns that give no pair, or give one wrongly, raise Errore with the text of ondix-calc.
    """
    per_riga = isinstance(pressione, str)
    if per_riga and pressione != "file":
        raise Errore("pressione: \"" + pressione + "\" (dare un numero in Pa o \"file\")")
    colonne = list(df.columns)
    prima, i_prima, seconda, i_seconda, i_pressione = _colonne_stati([str(c) for c in colonne], umidita, per_riga)
    coppia = [(prima, colonne[i_prima]), (seconda, colonne[i_seconda])]
    if per_riga:
        pressione = df[colonne[i_pressione]].to_numpy(dtype="float64")
    argomenti = {g: df[c].to_numpy(dtype="float64") for g, c in coppia}
    risultato = stato(**argomenti, pressione=pressione, modello=modello, threads=threads, errors="nan")
    uscita = df.copy()
    usate = {c for _, c in coppia}
    for nome in _USCITE:
        # A column the state is read from keeps its values (a state's given values are kept as given anyway).
        if nome not in usate:
            uscita[nome] = risultato[nome]
    return uscita
