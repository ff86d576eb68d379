"""The memory ondix-calc stati promises, measured as a user sees it: the peak resident memory of the whole process on
a CSV of 100 000 rows and on one of 1 000 000. The summary (with the comfort counts) takes a memory that does not
grow with the rows; the chart of dots keeps 16 bytes a row, and its drawing at most 8 MB more (its ordering buffer),
whatever the rows.

    memoria.py ONDIX_CALC
"""
import os
import subprocess
import sys
import tempfile

MB = 1024  # ru_maxrss is in kB


def picco(programma, argomenti):
    """Peak resident memory of one run, kB, and its exit status."""
    p = subprocess.Popen([programma] + argomenti, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, stato, uso = os.wait4(p.pid, 0)
    p.returncode = os.waitstatus_to_exitcode(stato)
    return uso.ru_maxrss, p.returncode


def scrivi_csv(percorso, righe):
    """States spread over -10 ... 40 C and 5 ... 100 %, from a fixed sequence."""
    with open(percorso, "w") as f:
        f.write("t;ur\n")
        s = 1
        for _ in range(righe):
            s = (s * 1103515245 + 12345) % 2**31
            f.write(f"{-10 + s % 5000 / 100:.2f};{5 + s % 9500 / 100:.2f}\n")


def main():
    programma = sys.argv[1]
    errori = []
    with tempfile.TemporaryDirectory() as cartella:
        pochi, molti = 100_000, 1_000_000
        file_pochi, file_molti = os.path.join(cartella, "pochi.csv"), os.path.join(cartella, "molti.csv")
        scrivi_csv(file_pochi, pochi)
        scrivi_csv(file_molti, molti)
        prove = [
            ("--riepilogo --comfort", ["--riepilogo", "--comfort", "met=1.2,clo=0.5,v=0.1"], 2 * MB),
            ("--grafico", ["--grafico", os.path.join(cartella, "nuvola.png")], 16 * (molti - pochi) // 1024 + 10 * MB),
        ]
        for nome, opzioni, concessi in prove:
            a, ca = picco(programma, ["stati", file_pochi, "-j", "2"] + opzioni)
            b, cb = picco(programma, ["stati", file_molti, "-j", "2"] + opzioni)
            print(f"stati {nome}: {a} kB at {pochi} rows, {b} kB at {molti} rows, {b - a} kB more (allowed {concessi})")
            if ca != 0 or cb != 0:
                errori.append(f"{nome}: exit status {ca}, {cb}")
            if b - a > concessi:
                errori.append(f"{nome}: {b - a} kB more for {molti - pochi} more rows, allowed {concessi}")
    for e in errori:
        print("FAILED:", e)
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main())
