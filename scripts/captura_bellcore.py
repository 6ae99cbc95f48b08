#!/usr/bin/python3
"""Writes examples/bellcore_pAug89.pcap from the Bellcore trace pAug89 (BC-pAug89-small.TL).

The trace keeps, for each packet, its time in seconds since the start of the measurement
(six decimals) and its size in bytes, nothing of its contents. The capture gets one pcap
record per packet, with microsecond stamps (the trace's own resolution) on the clock of
the measurement: it began at 11:25 (US Eastern daylight time) on 29 August 1989, that is
1989-08-29 15:25:00 UTC. Each record holds no captured bytes (captured length 0) and the
packet's size as its original length, so counting its packets or bytes per interval gives
the series of the trace. Times go from their digits to integers, never through floating
point.

    /usr/bin/python3 scripts/captura_bellcore.py [TRAZA.TL [SALIDA.pcap]]

by default from ../shared/data/BC-pAug89-small.TL to examples/bellcore_pAug89.pcap.
"""
import os
import struct
import sys

INICIO = 620407500  # 1989-08-29 15:25:00 UTC in seconds since 1970

raiz = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
traza = sys.argv[1] if len(sys.argv) > 1 else os.path.join(raiz, "..", "shared", "data", "BC-pAug89-small.TL")
salida = sys.argv[2] if len(sys.argv) > 2 else os.path.join(raiz, "examples", "bellcore_pAug89.pcap")

# Little-endian pcap 2.4, microsecond stamps, snapshot length 65535, Ethernet.
partes = [struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, 1)]
with open(traza) as f:
    for numero, linea in enumerate(f, 1):
        campos = linea.split()
        if not campos:
            continue
        tiempo, tamano = campos
        segundos, _, decimales = tiempo.partition(".")
        if len(decimales) > 6:
            sys.exit(f"{traza}:{numero}: más de seis decimales en '{tiempo}'")
        partes.append(struct.pack("<IIII", INICIO + int(segundos), int(decimales.ljust(6, "0")), 0, int(tamano)))
with open(salida, "wb") as f:
    f.write(b"".join(partes))
print(f"{salida}: {len(partes) - 1} paquetes")
