#!/usr/bin/env python3
"""The hourly states of many stations and years on a Dask cluster: one task per CSV file (a station's year, with
the columns ondix-calc stati reads, such as t and ur, and any others), each computed with ondix.stati, written
next to each other as FILE.stati.csv in the output directory.

    python3 dask_stazioni.py dati/*.csv --uscita risultati              # two local workers
    python3 dask_stazioni.py dati/*.csv --scheduler tcp://10.0.0.5:8786  # a cluster's scheduler

On a cluster every worker needs the module ondix (package python3-ondix) and must reach the input files under
the same names (a shared file system); the results come back to this program, which writes them.
"""

import argparse
import os

import pandas as pd
from dask.distributed import Client, LocalCluster

import ondix


def stati_del_file(percorso, **opzioni):
    """The states of one CSV file (its separator found as ondix-calc finds it) as a DataFrame."""
    with open(percorso, encoding="utf-8") as f:
        prima = f.readline()
    sep = ";" if ";" in prima else "," if "," in prima else "\t" if "\t" in prima else ","
    return ondix.stati(pd.read_csv(percorso, sep=sep), **opzioni)


def calcola(client, percorsi, **opzioni):
    """The DataFrames of the files, in their order, computed on the cluster of `client`."""
    return client.gather(client.map(stati_del_file, percorsi, pure=False, **opzioni))


def main():
    a = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    a.add_argument("file", nargs="+", help="CSV files, one per station and year")
    a.add_argument("--uscita", default=".", help="directory of the results (default: the current one)")
    a.add_argument("--scheduler", help="address of a Dask scheduler (default: a local cluster of two workers)")
    a.add_argument("--umidita", type=int, default=0, help="0: columns t and ur; 1: t and x")
    a.add_argument("--pressione", default="101335", help='Pa, or "file" for a column p in every file')
    args = a.parse_args()
    pressione = args.pressione if args.pressione == "file" else float(args.pressione)
    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None))
    with client:
        risultati = calcola(client, args.file, umidita=args.umidita, pressione=pressione)
    os.makedirs(args.uscita, exist_ok=True)
    for percorso, df in zip(args.file, risultati):
        nome = os.path.splitext(os.path.basename(percorso))[0] + ".stati.csv"
        df.to_csv(os.path.join(args.uscita, nome), index=False)


if __name__ == "__main__":
    main()
