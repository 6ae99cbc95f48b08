#!/usr/bin/python3
"""Speed and memory of `fenwa-cli contar` on a large capture, as ratios in one run.

Makes a plain pcap of 10^7 packets (snapshot length 68, about 840 MB: Ethernet, IPv4, TCP
or UDP headers, wire lengths of 64 to 1518 bytes, 100000 packets a second) in a temporary
folder, its .gz and .zst copies, and times from the page cache, best of three runs each:

  cat FILE                       the physical floor of reading the file
  fenwa-cli contar FILE          10 ms bins (target: at most 0.5 s and 3x cat)
  ... --filtro tcp               (target: at most 1 s)
  zcat FILE.gz / contar FILE.gz  (target: contar within 1.3x of zcat)
  zstd -dc FILE.zst / contar FILE.zst
  peak memory of each (/usr/bin/time, GNU time)   (contar: at most 64 MB)
  tshark -z io,stat,0.01 and a Python dpkt loop, where installed (--instalar installs
  them with apt-get), side by side; the dpkt counts are checked against contar's.

The folder is removed at the end. The machine may be shared: ratios of the same run are the
figures to read, not the absolute times.

    /usr/bin/python3 bench/bench_capturas.py [--cli build/bin/fenwa-cli] [--paquetes N]
                                             [--carpeta DIR] [--instalar]
"""
import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def generar(ruta, n):
    """n packets from 2024-01-01 00:00:00 UTC, 10 us apart on average, microsecond stamps."""
    rnd = random.Random(1)
    eth = b"\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb\x08\x00"
    def trama(proto):
        ip = b"\x45\x00\x05\xdc\x00\x01\x00\x00\x40" + bytes([proto]) + b"\x00\x00\x0a\x00\x00\x01\x0a\x00\x00\x02"
        cola = (b"\x04\x00\x00\x50\x00\x00\x00\x01\x00\x00\x00\x00\x50\x10\xff\xff\x00\x00\x00\x00" if proto == 6
                else b"\x04\x00\x00\x35\x05\xc8\x00\x00")
        return (eth + ip + cola).ljust(68, b"\x00")
    tcp, udp = trama(6), trama(17)
    base = 1704067200
    t = 0  # microseconds
    with open(ruta, "wb") as f:
        f.write(struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 68, 1))
        bloque = []
        cabecera = struct.Struct("<IIII").pack
        aleatorio = rnd.getrandbits
        for i in range(n):
            r = aleatorio(32)
            t += r % 20
            longitud = 64 + (r >> 8) % 1455
            bloque.append(cabecera(base + t // 1000000, t % 1000000, 68, longitud))
            bloque.append(tcp if (r >> 24) % 5 < 3 else udp)
            if len(bloque) >= 200000:
                f.write(b"".join(bloque))
                bloque.clear()
        f.write(b"".join(bloque))


def medir(orden, veces=3):
    """Best wall time of `veces` runs and the peak resident memory (MB, by GNU time)."""
    mejor, rss = float("inf"), 0.0
    for _ in range(veces):
        inicio = time.perf_counter()
        p = subprocess.run(["/usr/bin/time", "-f", "%M"] + orden, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True)
        duracion = time.perf_counter() - inicio
        if p.returncode != 0:
            sys.exit(f"falló: {' '.join(orden)}\n{p.stderr}")
        mejor = min(mejor, duracion)
        rss = max(rss, int(p.stderr.strip().splitlines()[-1]) / 1024)
    return mejor, rss


def contar_dpkt(ruta, w_us=10000):
    import dpkt
    cuentas = {}
    with open(ruta, "rb") as f:
        for ts, _ in dpkt.pcap.Reader(f):
            # dpkt gives float seconds; the bins of a microsecond capture from its digits.
            k = int(round(ts * 1e6)) // w_us
            cuentas[k] = cuentas.get(k, 0) + 1
    primero, ultimo = min(cuentas), max(cuentas)
    return [cuentas.get(k, 0) for k in range(primero, ultimo)]


def main():
    a = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    a.add_argument("--cli", default=os.path.join(RAIZ, "build", "bin", "fenwa-cli"))
    a.add_argument("--paquetes", type=int, default=10_000_000)
    a.add_argument("--carpeta", default=None, help="temporary folder (default: under /tmp)")
    a.add_argument("--instalar", action="store_true", help="apt-get install tshark python3-dpkt first")
    o = a.parse_args()
    if o.instalar:
        subprocess.run(["apt-get", "install", "-y", "--no-install-recommends", "tshark", "python3-dpkt"],
                       env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"), check=False)
    carpeta = tempfile.mkdtemp(prefix="fenwa_bench_capturas_", dir=o.carpeta)
    try:
        pcap = os.path.join(carpeta, "c.pcap")
        t = time.perf_counter()
        generar(pcap, o.paquetes)
        print(f"captura: {o.paquetes} paquetes, {os.path.getsize(pcap) / 1e6:.0f} MB "
              f"({time.perf_counter() - t:.0f} s en hacerla)")
        subprocess.run(f"gzip -c '{pcap}' > '{pcap}.gz'", shell=True, check=True)
        subprocess.run(["zstd", "-q", "-f", pcap, "-o", pcap + ".zst"], check=True)
        print(f".gz {os.path.getsize(pcap + '.gz') / 1e6:.0f} MB, .zst {os.path.getsize(pcap + '.zst') / 1e6:.0f} MB")
        subprocess.run(["cat", pcap, pcap + ".gz", pcap + ".zst"], stdout=subprocess.DEVNULL, check=True)

        contar = [o.cli, "contar", "--intervalo", "10ms", "-o", "-"]
        filas = []
        def fila(nombre, orden, referencia=None):
            s, rss = medir(orden)
            filas.append((nombre, s, rss, referencia))
            return s
        cat = fila("cat", ["cat", pcap])
        plano = fila("contar", contar + [pcap], cat)
        filtro = fila("contar --filtro tcp", contar + ["--filtro", "tcp", pcap], cat)
        zcat = fila("zcat", ["zcat", pcap + ".gz"])
        fila("contar .gz", contar + [pcap + ".gz"], zcat)
        zstd = fila("zstd -dc", ["zstd", "-dc", pcap + ".zst"])
        fila("contar .zst", contar + [pcap + ".zst"], zstd)
        if shutil.which("tshark"):
            fila("tshark -z io,stat,0.01", ["tshark", "-r", pcap, "-q", "-z", "io,stat,0.01"], plano)
        try:
            import dpkt  # noqa: F401
            t = time.perf_counter()
            cuentas = contar_dpkt(pcap)
            filas.append(("Python dpkt", time.perf_counter() - t, float("nan"), plano))
            nuestras = subprocess.run(contar + [pcap], capture_output=True, text=True, check=True).stdout.split()
            iguales = [int(x) for x in nuestras] == cuentas
            print(f"dpkt y contar dan {'las mismas' if iguales else 'DISTINTAS'} cuentas ({len(cuentas)} intervalos)")
        except ImportError:
            pass

        print(f"\n{'orden':28} {'s':>8} {'MB máx.':>8}  razón")
        for nombre, s, rss, ref in filas:
            razon = f"{s / ref:5.2f}x {'cat' if ref is cat else 'zcat' if ref is zcat else 'zstd' if ref is zstd else 'contar'}" if ref else ""
            print(f"{nombre:28} {s:8.3f} {rss:8.1f}  {razon}")
        print(f"\ncontar: {o.paquetes / plano / 1e6:.1f} millones de paquetes/s sin filtro, "
              f"{o.paquetes / filtro / 1e6:.1f} con --filtro tcp")
    finally:
        shutil.rmtree(carpeta, ignore_errors=True)


if __name__ == "__main__":
    main()
