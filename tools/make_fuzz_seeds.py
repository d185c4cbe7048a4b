#!/usr/bin/env python3
"""Writes the fuzz targets' seeds under tests/fuzz/corpus/<target>/ from the project's own test
data: the recorded stroke capture, the installed default files. Run it again
after changing an input layout of a target or the test data, and commit what it writes.

    python3 tools/make_fuzz_seeds.py
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parents[1]
DATA = ROOT / "tests" / "data"
DEFAULTS = ROOT / "packaging" / "default"
CORPUS = ROOT / "tests" / "fuzz" / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("latin-1"))


def capture_batches(path, limit):
    """The first `limit` batches of a capture, empty ones included."""
    batches = []
    for line in path.read_text().splitlines():
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        batches.append(b"" if words == ["-"] else bytes(int(w, 16) for w in words))
        if len(batches) == limit:
            break
    return batches


# decode_fuzz: option byte, Pen, PenRight, then batches with a 16-bit header each (length,
# bit 15 repeats the batch beyond a receive buffer).
def decode_input(options, batches, pen=0, pen_right=0, repeat=()):
    out = bytearray([options, pen & 0xFF, pen_right & 0xFF])
    for i, batch in enumerate(batches):
        out += struct.pack("<H", len(batch) | (0x8000 if i in repeat else 0)) + batch
    return bytes(out)


def frame(report):
    return b"\xfd" + report + b"\xfe"


def decode_seeds():
    batches = capture_batches(DATA / "captures" / "stroke.capture", 60)
    reports = [b for b in batches if len(b) == 45]
    write("decode_fuzz", "plain-stroke", decode_input(0, batches))
    write("decode_fuzz", "framed-stroke", decode_input(1, [frame(r) for r in reports]))
    # At 115200 bit/s and a 2 ms poll a read holds about 23 bytes, cut anywhere in a frame.
    stream = b"".join(frame(r) for r in reports[:30])
    write("decode_fuzz", "framed-23-byte-reads",
          decode_input(1, [stream[i:i + 23] for i in range(0, len(stream), 23)][:64]))
    write("decode_fuzz", "plain-calibrating", decode_input(2 | 4, batches[:30]))
    write("decode_fuzz", "plain-key-calibrating", decode_input(8, batches[:30], pen=20, pen_right=40))
    write("decode_fuzz", "overfull-queue", decode_input(1, [frame(reports[0])] * 3, repeat=(1,)))


# data_files_fuzz: presence bits and display, flag lengths, the flag files, server.txt.
def data_files_input(present, display, flags, calibration):
    lengths = 0
    for i, flag in enumerate(flags):
        lengths |= (len(flag) // 2) << (2 * i)
    return bytes([present | display << 4, lengths]) + b"".join(flags) + calibration


def data_files_seeds():
    calibration = (DEFAULTS / "server.txt").read_bytes()
    flags = [(DEFAULTS / name).read_bytes() for name in ("server11.txt", "server111.txt",
                                                         "server1111.txt")]
    write("data_files_fuzz", "installed-defaults", data_files_input(0xF, 0, flags, calibration))
    write("data_files_fuzz", "framed-model-2-full-hd", data_files_input(
        0xF, 1, [struct.pack("<i", 0), struct.pack("<i", 1), struct.pack("<i", 2)], calibration))
    write("data_files_fuzz", "short-calibration", data_files_input(0xF, 2, flags, calibration[:104]))
    write("data_files_fuzz", "short-flags", data_files_input(0xF, 3, [b"\x01\x00"] * 3, b""))
    write("data_files_fuzz", "nothing-installed", data_files_input(0, 0, [b"", b"", b""], b""))


def settings_seeds():
    write("settings_fuzz", "installed-defaults", (DEFAULTS / "VaziZod.ini").read_bytes())
    write("settings_fuzz", "vendor-comments-and-case",
          "; installed by the vendor\r\n[PARAMETERS]\r\nAPPClassName=Board\r\nVKEY=1\r\n\r\n"
          "[language]\r\nOK=Yes\r\nselect=1\r\n")
    write("settings_fuzz", "numbers",
          "[PARAMETERS]\nPen=0x1\nPenRight=1x\nvkey=0X00000001\n[VKeyCali]\n"
          "VKeyPoint_L_TopX=-2147483648\nVKeyPoint_L_TopY=2147483647\n"
          "VKeyPoint_L_BottomX= \"-3\" \nVKeyPoint_R_middleX=0xFFFFFFFF\n")
    write("settings_fuzz", "keys-on",
          "[PARAMETERS]\nvkey=1\nPen=24\nPenRight=40\n[VKeyCali]\nVKeyPoint_L_TopX=760\n"
          "VKeyPoint_L_TopY=1580\nVKeyPoint_L_BottomX=770\nVKeyPoint_L_BottomY=2280\n"
          "VKeyPoint_R_middleX=2810\nVKeyPoint_R_middleY=1930\n")
    write("settings_fuzz", "long-caption", "[PARAMETERS]\nAPPCaption=" + "x" * 3000 + "\n")


def capture_seeds():
    lines = (DATA / "captures" / "stroke.capture").read_text().splitlines(keepends=True)
    write("capture_fuzz", "stroke-head", "".join(lines[:40]))
    write("capture_fuzz", "comments-and-empty-polls", "# a comment\n\n-\n  fd 02 8e\t51 fe  \n-\n")


# Session operations (opcode, two arguments); see session_fuzz.cpp.
WAIT_2S = (3, 255, 7)
STROKE, RIGHT_STROKE, NO_PEN, WAIT, CABLE, READ_ERRORS, COMMAND, TRAY, CLIENT, DISPLAY, TOUCH = (
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10)


def session_input(options, operations):
    return bytes([options]) + b"".join(bytes(op) for op in operations)


def session_seeds():
    seeds = {
        "stroke-after-plug": (0, [WAIT_2S, (STROKE, 60, 100), (STROKE, 90, 100), (NO_PEN, 0, 0),
                                  WAIT_2S]),
        "cable-out-mid-stroke": (0, [WAIT_2S, (STROKE, 60, 100), (CABLE, 0, 0),
                                     (STROKE, 90, 100), WAIT_2S, (CABLE, 1, 0), WAIT_2S,
                                     (STROKE, 60, 120), (NO_PEN, 0, 0)]),
        "read-errors-mid-stroke-framed": (1, [WAIT_2S, (STROKE, 40, 40), (READ_ERRORS, 1, 10),
                                              (STROKE, 60, 40), (READ_ERRORS, 0, 0),
                                              (RIGHT_STROKE, 80, 80), (NO_PEN, 1, 0)]),
        "margin-keys-and-hold": (2, [WAIT_2S, (CLIENT, 0, 9), (TOUCH, 2, 60), (WAIT, 60, 0),
                                     (NO_PEN, 0, 0), (WAIT, 60, 0), (TOUCH, 250, 100),
                                     (WAIT, 60, 0), (NO_PEN, 0, 0), (WAIT, 60, 0),
                                     (TOUCH, 2, 200), WAIT_2S, WAIT_2S, (NO_PEN, 0, 0)]),
        "calibration-tour-and-esc": (0, [WAIT_2S, (COMMAND, 0, 0), (STROKE, 20, 20),
                                         (NO_PEN, 0, 0), (WAIT, 200, 1), (STROKE, 120, 20),
                                         (COMMAND, 9, 0x1B), (STROKE, 60, 60)]),
        "menus-tray-clients-display": (4, [WAIT_2S, (TRAY, 3, 0), (TRAY, 5, 0), (CLIENT, 0, 9),
                                           (CLIENT, 1, 0), (COMMAND, 4, 0), (COMMAND, 10, 0),
                                           (COMMAND, 11, 0), (DISPLAY, 1, 0), (STROKE, 10, 10),
                                           (COMMAND, 5, 0), (COMMAND, 2, 0), (COMMAND, 13, 0)]),
    }
    for name, (options, operations) in seeds.items():
        write("session_fuzz", name, session_input(options, operations))


if __name__ == "__main__":
    decode_seeds()
    data_files_seeds()
    settings_seeds()
    capture_seeds()
    session_seeds()
