"""The Dask example on a local cluster of two worker processes gives, file by file, the rows of ondix-calc stati."""

import numpy as np
import pandas as pd
from dask.distributed import Client, LocalCluster

import dask_stazioni
from conftest import DECIMALI, come_stati


def test_stazioni_su_due_lavoratori(tmp_path, righe_stati):
    casuale = np.random.default_rng(7)
    percorsi = []
    for stazione in ("torino", "bari", "bolzano"):
        ore = 500
        df = pd.DataFrame({"data": pd.date_range("2023-01-01", periods=ore, freq="h").strftime("%Y-%m-%d %H:%M"),
                           "t": np.round(casuale.uniform(-20, 40, ore), 1),
                           "ur": np.round(casuale.uniform(5, 100, ore), 1)})
        df.loc[3, "ur"] = 120.0  # a row no air can have
        percorsi.append(str(tmp_path / f"{stazione}.csv"))
        df.to_csv(percorsi[-1], sep=";", index=False)

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        risultati = dask_stazioni.calcola(client, percorsi, pressione=95000.0)
        assert len(client.scheduler_info()["workers"]) == 2

    for percorso, df in zip(percorsi, risultati):
        with open(percorso, encoding="utf-8") as f:
            righe = righe_stati(f.read().replace(";", ","), "--pressione", "95000")
        buone = df.drop(index=3)
        assert len(righe) == len(buone) and df.loc[3, list(DECIMALI)[2:]].isna().all()
        for riga, (_, r) in zip(righe, buone.iterrows()):
            assert all(come_stati(r[nome], nome) == riga[nome] for nome in DECIMALI)
