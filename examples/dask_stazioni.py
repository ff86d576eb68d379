#!/usr/bin/env python3
"""The hourly states of many stations and years on a Dask cluster: one task per file (a station's year: a CSV with
the columns ondix-calc stati reads, such as t and ur, and any others, separated by ';', ',' or a tab, with a decimal
point or comma; or an EnergyPlus weather file), each read and computed by ondix as ondix-calc stati reads and
computes it, and written by the worker as FILE.stati.csv into the output directory.

    python3 dask_stazioni.py dati/*.csv dati/*.epw --uscita risultati              # two local workers
    python3 dask_stazioni.py dati/* --scheduler tcp://10.0.0.5:8786 --uscita /condivisa/risultati

On a cluster every worker needs the module ondix (package python3-ondix) and must reach the input files and the
output directory under the same names (a shared file system). Only a short summary of each file comes back to this
program: its rows and the rows that could not be computed, which it reports as ondix-calc does ("FILE:LINE: reason
(riga scartata)"); a file that cannot be read is reported with the reason and the others go on. Exit status: 0
every row computed, 1 some rows not, 2 some file not read.
"""

import argparse
import os
import sys
from typing import Any, NamedTuple, Optional

import ondix


class Esito(NamedTuple):
    """What became of one file: where its results were written, its rows, its rows not computed ("FILE:LINE: reason"),
    or why it could not be read."""
    file: str
    uscita: Optional[str]
    righe: int
    scarti: list[str]
    errore: Optional[str]


def stati_del_file(percorso: str, **opzioni: Any) -> Any:
    """The states of one file as a DataFrame (its index the rows' lines): a weather file or a CSV, told apart and read
    as ondix-calc stati does."""
    return ondix.stati(ondix.leggi(percorso, umidita=opzioni.get("umidita") or 0), **opzioni)


def scrivi_stati(percorso: str, cartella: str, **opzioni: Any) -> tuple[Any, ...]:
    """Reads and computes one file and writes its rows, on the worker that runs it, into `cartella` as
    NAME.stati.csv: the file's columns and the computed ones, with the decimal comma and ';' of a file that has them
    (as ondix-calc stati writes them), empty where a row could not be computed. Returns the fields of its Esito (a
    plain tuple travels back from a worker however this module was loaded there)."""
    try:
        df = stati_del_file(percorso, **opzioni)
    except ondix.Errore as e:
        return percorso, None, 0, [], str(e)
    virgola = df.attrs.get("decimali") == "virgola"
    uscita = os.path.join(cartella, os.path.splitext(os.path.basename(percorso))[0] + ".stati.csv")
    df.to_csv(uscita, index=False, sep=";" if virgola else ",", decimal="," if virgola else ".",
              date_format="%Y-%m-%d %H:%M")
    scarti = [f"{percorso}:{s['riga']}: {s['motivo']}" for s in df.attrs["scarti"]]
    return percorso, uscita, len(df), scarti, None


def calcola(client: Any, percorsi: list[str], cartella: str, **opzioni: Any) -> list[Esito]:
    """Computes the files on the cluster of `client`, each written by its worker into `cartella` (which must exist
    where the workers see it); returns what became of each, in the files' order."""
    return [Esito(*e) for e in client.gather(client.map(scrivi_stati, percorsi, cartella=cartella, pure=False,
                                                         **opzioni))]


def main() -> int:
    from dask.distributed import Client, LocalCluster

    a = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    a.add_argument("file", nargs="+", help="CSV or EPW files, one per station and year")
    a.add_argument("--uscita", default=".", help="directory of the results (default: the current one)")
    a.add_argument("--scheduler", help="address of a Dask scheduler (default: a local cluster of two workers)")
    a.add_argument("--umidita", type=int, choices=(0, 1), help="with t, prefer the column ur (0) or x (1)")
    a.add_argument("--pressione", default="101335", help='Pa, or "file" for each row\'s (a column p, an EPW\'s station)')
    args = a.parse_args()
    pressione = args.pressione if args.pressione == "file" else float(args.pressione)
    os.makedirs(args.uscita, exist_ok=True)
    cartella = os.path.abspath(args.uscita)
    if args.scheduler:
        client = Client(args.scheduler)
    else:
        client = Client(LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None))
    with client:
        esiti = calcola(client, [os.path.abspath(f) for f in args.file], cartella, umidita=args.umidita,
                        pressione=pressione)
    codice = 0
    for e in esiti:
        if e.errore:
            print("dask_stazioni: " + e.errore, file=sys.stderr)
            codice = 2
            continue
        for s in e.scarti:
            print(s + " (riga scartata)", file=sys.stderr)
        codice = max(codice, 1 if e.scarti else 0)
    return codice


if __name__ == "__main__":
    sys.exit(main())
