#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""quillmark-decode --csv opened by LibreOffice Calc: every cell where the file puts it.

Calc reads the CSV (commas, quotes, UTF-8, every column as text so that no word is taken for a
number) and writes it back tab-separated; each row must hold the same cells as the file."""
import csv
import os
import subprocess
import sys
import tempfile

decode = sys.argv[1]
with tempfile.TemporaryDirectory() as work:
    log = os.path.join(work, "journal é.log")
    with open(log, "w", encoding="utf-8", newline="") as f:
        f.write("12:00:01 OK\r\nBUG0042 0008F5B4 00000102 00001A48 000A0421\r\n"
                " 000B0422 0000000C 00090010 00090020 00000000 00000000 00000000 000003E5\r\n"
                " 0000B1A3\r\n>\r\nBUG7 a,\"b 0000\xe9102\r\n")
    table = os.path.join(work, "dumps.csv")
    with open(table, "wb") as f:
        subprocess.run([decode, "--log", "--csv", log], stdout=f, check=True)
    with open(table, encoding="utf-8", newline="") as f:
        expected = list(csv.reader(f))
    columns = "/".join(f"{k}/2" for k in range(1, len(expected[0]) + 1))
    out = os.path.join(work, "out")
    subprocess.run(["soffice", "--headless", "--norestore", f"--infilter=CSV:44,34,76,1,{columns}",
                    "--convert-to", "csv:Text - txt - csv (StarCalc):9,34,76,1", "--outdir", out,
                    table], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env=dict(os.environ, HOME=work))
    with open(os.path.join(out, "dumps.csv"), encoding="utf-8", newline="") as f:
        read = [row for row in csv.reader(f, delimiter="\t")]
    # Calc drops the empty cells at the end of a row; they are empty in the file too.
    read = [row + [""] * (len(expected[0]) - len(row)) for row in read]
    if read != expected or len(expected) != 3 or expected[2][3] != 'a,"b':
        print("expected:", expected, "\nCalc read:", read, sep="\n")
        sys.exit(1)
print(f"{len(expected) - 1} rows of {len(expected[0])} columns read back cell for cell")
