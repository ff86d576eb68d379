"""The Dask example on a local cluster of two worker processes: files of every format ondix-calc stati reads (';' or
tab with decimal commas, ',' with quoted fields, a weather file), each written by its worker with, row by row, the
values of ondix-calc stati, and the rows it could not compute reported as the command reports them."""

import csv

import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import dask_stazioni
from conftest import DECIMALI, anno_meteo, come_stati


def scrivi_stazione(percorso, sep, virgola, casuale):
    """A station's hours with a date, t and ur, a cell that is not a number, a row no air can have, a row with one
    field too many, blank lines and CR LF line ends."""
    ore = 400
    df = pd.DataFrame({"data": pd.date_range("2023-01-01", periods=ore, freq="h").strftime("%Y-%m-%d, %H:%M"),
                       "t": np.round(casuale.uniform(-20, 40, ore), 1).astype(object),
                       "ur": np.round(casuale.uniform(5, 100, ore), 1)})
    df.loc[3, "ur"] = 120.0
    df.loc[7, "t"] = "abc"
    testo = df.to_csv(sep=sep, index=False, decimal="," if virgola else ".", quoting=csv.QUOTE_MINIMAL,
                      lineterminator="\r\n")
    righe = testo.split("\r\n")
    righe[12] += sep + "20"
    righe.insert(30, "")
    with open(percorso, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(righe))


def test_stazioni_su_due_lavoratori(tmp_path, scartate):
    casuale = np.random.default_rng(7)
    percorsi = []
    for nome, sep, virgola in (("torino.csv", ";", True), ("bari.txt", "\t", True), ("bolzano.csv", ",", False)):
        percorsi.append(str(tmp_path / nome))
        scrivi_stazione(percorsi[-1], sep, virgola, casuale)
    percorsi.append(str(tmp_path / "chicago.epw"))
    anno_meteo(percorsi[-1])
    uscita = tmp_path / "risultati"
    uscita.mkdir()

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        esiti = dask_stazioni.calcola(client, percorsi, str(uscita), pressione=95000.0)
        assert len(client.scheduler_info()["workers"]) == 2

    for percorso, esito in zip(percorsi, esiti):
        righe, motivi = scartate(percorso, "--pressione", "95000", "--decimali", "punto")
        meteo = percorso.endswith(".epw")
        assert esito.errore is None and esito.righe == len(righe) + len(motivi)
        # The rows not computed, by the file's line; a CSV's with the command's reasons.
        assert [s.split(": ", 1)[0] for s in esito.scarti] == [f"{percorso}:{n}" for n in motivi]
        if not meteo:
            assert esito.scarti == [f"{percorso}:{n}: {m}" for n, m in motivi.items()] and len(motivi) == 3
        virgola = not meteo and not percorso.endswith("bolzano.csv")
        scritto = pd.read_csv(esito.uscita, sep=";" if virgola else ",", decimal="," if virgola else ".",
                              float_precision="round_trip")
        calcolate = list(DECIMALI)[2:]
        assert len(scritto) == esito.righe and scritto.loc[scritto["x"].isna(), calcolate].isna().all().all()
        buone = scritto.dropna(subset=["x"])
        assert len(buone) == len(righe)
        for riga, (_, r) in zip(righe, buone.iterrows()):
            assert all(come_stati(r[nome], nome) == riga[nome] for nome in calcolate), (percorso, riga)
