#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora (fuzz/corpus/<target>/) and the checker's small picture bank
(fuzz/bank/): a selection of the sample bank and of the test pictures, and small hand-made files
that reach the corners of each format cheaply. The output is committed; run this again only to
change the selection. Inputs the fuzzers found and a merge kept (fuzz/run.sh -m) are left alone. JPEG seeds of our own are made by Qt in make-jpeg-seeds.cpp beforehand (see
README.md), since a JPEG cannot be written by hand.

    fuzz/make-seeds.py
"""

import json
import shutil
import struct
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FUZZ = ROOT / "fuzz"
CORPUS = FUZZ / "corpus"
PICTURES = ROOT / "tests" / "data" / "pictures"
BAZA = ROOT / "baza"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def copy(target, source, name=None):
    write(target, name or source.name, source.read_bytes())


# --- Question files -----------------------------------------------------------------------------

def cp1250(text):
    return text.encode("cp1250")


def question_lines(*lines, end=b"\r\n"):
    return b"".join(line + end for line in lines)


def question_seeds():
    bom = b"\xef\xbb\xbf"
    made = {
        "empty.txt": b"",
        "bom-only.txt": bom,
        "bom-partial.txt": b"\xef\xbb",
        "eof-first.txt": b"\x1a" + question_lines(b"X1", b"Q", b"A"),
        "eof-inside-line.txt": b"X10\r\nPytanie\x1a reszta\r\nA\r\nB\r\n",
        "eof-after-line.txt": b"X10\r\nPytanie\r\nA\r\n\x1aB\r\n",
        "cr-alone.txt": b"X10\rPytanie\r\nA\r\r\nB",
        "lf-only.txt": b"X01\nPytanie\nA\nB\n",
        "no-final-newline.txt": b"X01\r\nPytanie\r\nA\r\nB",
        "stop-in-line.txt": question_lines(b"X10", b"Pytanie [stop] dalej", b"A[stop]", b"B"),
        "choice-12.txt": question_lines(b"X" + b"1" * 12, b"Q", *[b"odp %d" % i for i in range(12)]),
        "choice-13.txt": question_lines(b"X" + b"0" * 13, b"Q", *[b"odp %d" % i for i in range(13)]),
        "lines-19.txt": question_lines(*[b"linia %d" % i for i in range(19)]),
        "lines-20.txt": question_lines(*[b"linia %d" % i for i in range(20)]),
        "choice-no-answers.txt": question_lines(b"X", b"Pytanie"),
        "header-only.txt": question_lines(b"X1"),
        "short-header.txt": question_lines(b"X1", b"Q", b"A", b"B", b"C"),
        "lowercase-x.txt": question_lines(b"x10", b"Q", b"A", b"B"),
        "sentence-4.txt": question_lines(
            b"Z41234", cp1250("{wybór 1} {wybór 2} {wybór 3} {wybór 4}"),
            b"a;;b;;", b"a;;b;;c;;", b"a;;b;;c;;d;;", b"a;;b;;c;;d;;e;;reszta"),
        "sentence-9.txt": question_lines(b"Z9111111111", cp1250("{wybór 1}"), b"a;;", b"b;;"),
        "sentence-bad-count.txt": question_lines(b"ZA1", cp1250("{wybór 1}"), b"a;;"),
        "sentence-negative.txt": question_lines(b"Z-1", b"Zdanie", b"a;;"),
        "sentence-empty-header.txt": question_lines(b"", cp1250("{wybór 1}"), b"a;;"),
        "sentence-no-lists.txt": question_lines(b"Z2", cp1250("Zdanie {wybór 1} {wybór 2}")),
        "sentence-key-past.txt": question_lines(b"Z19", cp1250("{wybór 1}"), b"a;;b;;"),
        "sentence-separators.txt": question_lines(b"Z11", cp1250("{wybór 1}"), b";;;;;;;;;"),
        "utf8-bom.txt": bom + question_lines(b"Z11", "{wybór 1} żółć".encode(), "gęś;;jaźń;;".encode()),
        "utf8-plain.txt": question_lines(b"X10", "Zażółć gęślą jaźń?".encode(), "tak".encode(), b"nie"),
        "utf8-invalid.txt": question_lines(b"X10", b"\xc3\x28 \xe2\x82 \xf0\x90\x80", b"\xed\xa0\x80", b"B"),
        "utf8-header.txt": question_lines("Xą1".encode(), "Zażółć".encode(), b"A", b"B"),
        "utf16le-bom.txt": "\ufeffX01\r\nCzy żółw?\r\n[img]żółw.png[/img]\r\nnie\r\n".encode("utf-16-le"),
        "utf16be-bom.txt": "\ufeffZ11\r\n{wybór 1} żółć\r\ngęś;;jaźń;;\r\n".encode("utf-16-be"),
        "utf16le-plain.txt": "Z21\r\nŻółw {wybór 1}\r\nśpi;;je;;\r\n".encode("utf-16-le"),
        "utf16-broken.txt": b"\xff\xfeX\x00\x3d\xd8" + b"1\x00\x22\xdc\r\x00\n\x00\x1a\x00Q",
        "cp1250-undefined.txt": question_lines(b"X10", b"\x81\x83\x88\x90\x98", b"A", b"B"),
        "nul-bytes.txt": question_lines(b"X1\x000", b"Q\x00", b"\x00", b"B"),
        "ampersands.txt": question_lines(b"X10", b"A && B &", b"&&&&", b"&"),
        "picture-tags.txt": question_lines(
            b"X1010", b"[img]obraz.png[/img]", b"[img]OBRAZ.BMP[/img]", b"[IMG]obraz.ico[/IMG]",
            b"[img]obraz.jpg", b"tekst [img][/img] tekst"),
        "picture-names.txt": question_lines(
            b"X10101", cp1250("[img]rysunki\\mały.png[/img]"), b"[img]Rysunki/MA\xa3Y.png[/img]",
            b"[img]uszkodzony.png[/img]", b"[img]brak.png[/img]", b"[img]obraz.gif[/img]",
            b"[img]..\\bank\\obraz.PNG[/img]"),
        "picture-utf8.txt": question_lines(
            b"X10", "[img]rysunki\\mały.png[/img]".encode(), "[img]RYSUNKI\\MAŁY.PNG[/img]".encode(),
            b"[img].png[/img]"),
        "picture-sentence.txt": question_lines(
            b"Z11", cp1250("[img]obraz.png[/img] {wybór 1}"), b"[img]a.png[/img];;b;;"),
        "picture-close-first.txt": question_lines(b"X1", b"[/img]x[img]obraz.png", b"A"),
    }
    for name, data in made.items():
        for target in ("fuzz_reader", "fuzz_check"):
            write(target, "made-" + name, data)
    for question in sorted(BAZA.glob("*.txt")):
        for target in ("fuzz_reader", "fuzz_check"):
            copy(target, question, "baza-" + question.name)


# --- Progress files -----------------------------------------------------------------------------

def progress_record(questions, finished=False, answers=12, good=9, seconds=4521,
                    saved="2026-03-12T14:05:07Z", bank="/home/ola/egzamin/baza"):
    return {"format": "zdawnik-progress", "version": 1, "bank": bank, "saved": saved,
            "finished": finished, "studySeconds": seconds, "answers": answers, "goodAnswers": good,
            "questions": questions}


def progress_seeds():
    def write_json(name, record, **layout):
        write("fuzz_progress", name, (json.dumps(record, ensure_ascii=False, **layout) + "\n").encode())

    run = progress_record([["a.txt", 3, False], ["b.txt", 0, True], ["c.txt", 7, False], ["d.txt", 2, False]])
    write_json("made-run.json", run, indent=2)
    write_json("made-finished.json", progress_record([["a.txt", 0, True], ["b.txt", 0, True]], finished=True,
                                                     answers=5, good=2), indent=2)
    # Names that are no UTF-8, and names with a per cent sign, are %-escaped.
    write_json("made-escapes.json", progress_record(
        [["%C5%BC%C3%B3%C5%82w.txt", 3, False], ["%FF%25.txt", 1, False], ["pytanie 1.txt", 3, False]],
        answers=0, good=0, seconds=0), indent=2)
    write_json("made-compact.json", progress_record([["x.txt", 3, False]], answers=1, good=0),
               separators=(",", ":"))
    write_json("made-other-bank.json", progress_record([["x.txt", 3, False]], bank="/tmp/inna"))
    write("fuzz_progress", "made-cut.json", json.dumps(run).encode()[:90])


# --- PNG ----------------------------------------------------------------------------------------

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour_type, depth, rows, interlace=0, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra +
            png_chunk(b"IDAT", zlib.compress(raw)) + png_chunk(b"IEND", b""))


def png_seeds():
    write("fuzz_png", "made-gray1.png", png(3, 2, 0, 1, [b"\xa0", b"\x40"]))
    write("fuzz_png", "made-rgb8.png", png(2, 2, 2, 8, [b"\xff\x00\x00\x00\xff\x00"] * 2))
    write("fuzz_png", "made-rgba16.png", png(1, 1, 6, 16, [b"\x12\x34" * 4]))
    write("fuzz_png", "made-palette.png",
          png(2, 1, 3, 8, [b"\x00\x01"],
              extra=png_chunk(b"PLTE", b"\xff\x00\x00\x00\x00\xff") + png_chunk(b"tRNS", b"\x80")))
    write("fuzz_png", "made-interlaced.png", png(9, 9, 0, 8, [bytes(range(9))] * 9, interlace=1))
    text = png_chunk(b"tEXt", b"Comment\x00zdawnik") + png_chunk(b"gAMA", struct.pack(">I", 45455))
    write("fuzz_png", "made-chunks.png", png(1, 1, 4, 8, [b"\x80\xff"], extra=text))
    # Cut short inside the image data, and a chunk that claims more than the file holds.
    whole = png(4, 4, 2, 8, [b"\x10" * 12] * 4)
    write("fuzz_png", "made-cut.png", whole[: len(whole) - 20])
    write("fuzz_png", "made-long-chunk.png", whole[:33] + struct.pack(">I", 0x7FFFFFF0) + b"IDAT")
    write("fuzz_png", "made-huge-size.png", png(16384, 16384, 0, 1, [b""]))
    suite = PICTURES / "pngsuite"
    chosen = [p for p in sorted(suite.glob("*.png"))
              if p.name[:4] in {"basn", "basi", "bgai", "bgan", "tbbn", "tp0n", "s01i", "s07n",
                                "z00n", "z09n", "f00n", "f04n", "g03n", "cs3n", "cs8n", "ccwn",
                                "cdfn", "ch1n", "ct1n", "ctzn", "exif", "oi1n", "oi4n", "pp0n",
                                "ps1n"} or p.name.startswith("x")]
    for picture in chosen:
        if picture.stat().st_size <= 4096:
            copy("fuzz_png", picture)
    for picture in sorted(BAZA.glob("*.png")):
        copy("fuzz_png", picture, "baza-" + picture.name)


# --- BMP ----------------------------------------------------------------------------------------

def bmp(width, height, depth, pixels, compression=0, palette=b"", masks=b"", header_size=40):
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, depth, compression,
                       len(pixels), 2835, 2835, len(palette) // 4, 0)
    info += bytes(header_size - len(info)) if header_size > 40 else b""
    offset = 14 + header_size + len(masks) + len(palette)
    body = info + masks + palette + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def bmp_seeds():
    grey = b"".join(bytes([i, i, i, 0]) for i in range(0, 256, 17))
    write("fuzz_bmp", "made-1bit.bmp", bmp(3, 2, 1, b"\xa0\x00\x00\x00\x40\x00\x00\x00",
                                           palette=b"\x00\x00\x00\x00\xff\xff\xff\x00"))
    write("fuzz_bmp", "made-4bit.bmp", bmp(2, 2, 4, b"\x12\x00\x00\x00\x34\x00\x00\x00", palette=grey))
    write("fuzz_bmp", "made-8bit-topdown.bmp", bmp(2, -2, 8, b"\x01\x02\x00\x00\x03\x04\x00\x00",
                                                   palette=grey))
    write("fuzz_bmp", "made-24bit.bmp", bmp(1, 1, 24, b"\x00\x00\xff\x00"))
    write("fuzz_bmp", "made-32bit-fields.bmp",
          bmp(1, 1, 32, b"\x11\x22\x33\x44", compression=3,
              masks=struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)))
    write("fuzz_bmp", "made-16bit.bmp", bmp(2, 1, 16, b"\x1f\x00\xe0\x7f"))
    write("fuzz_bmp", "made-rle8.bmp", bmp(4, 2, 8, b"\x04\x01\x00\x00\x02\x02\x00\x02\x01\x00\x00\x01",
                                           compression=1, palette=grey))
    write("fuzz_bmp", "made-rle4.bmp", bmp(4, 1, 4, b"\x04\x12\x00\x01", compression=2, palette=grey))
    write("fuzz_bmp", "made-v5.bmp", bmp(1, 1, 24, b"\xff\x00\x00\x00", header_size=124))
    os2 = struct.pack("<IHHHH", 12, 1, 1, 1, 24) + b"\x00\xff\x00\x00"
    write("fuzz_bmp", "made-os2.bmp", b"BM" + struct.pack("<IHHI", 14 + len(os2), 0, 0, 26) + os2)
    write("fuzz_bmp", "made-cut.bmp", bmp(8, 8, 24, bytes(8 * 24))[:80])
    write("fuzz_bmp", "made-huge.bmp", bmp(16384, 16384, 1, b""))
    for folder in ("g", "b", "q"):
        for picture in sorted((PICTURES / "bmpsuite" / folder).glob("*.bmp")):
            if picture.stat().st_size <= 4300:
                copy("fuzz_bmp", picture, folder + "-" + picture.name)
    for picture in sorted(BAZA.glob("*.bmp")):
        copy("fuzz_bmp", picture, "baza-" + picture.name)


# --- ICO ----------------------------------------------------------------------------------------

def dib_entry(size, depth):
    """The bitmap of one icon image: a BITMAPINFOHEADER of double height, colours, and the mask."""
    colours = 1 << depth if depth <= 8 else 0
    row = (size * depth + 31) // 32 * 4
    mask_row = (size + 31) // 32 * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0, 0, 0)
    palette = b"".join(bytes([i * 255 // max(colours - 1, 1)] * 3 + [0]) for i in range(colours))
    pixels = bytes((x * 37 + y) & 0xFF for y in range(size) for x in range(row))
    mask = bytes((0x55 if y % 2 else 0xAA) for y in range(size) for _ in range(mask_row))
    return header + palette + pixels + mask


def ico(images, kind=1):
    """images: (width byte, height byte, data)."""
    offset = 6 + 16 * len(images)
    directory = b""
    blobs = b""
    for width, height, data in images:
        directory += struct.pack("<BBBBHHII", width, height, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    return struct.pack("<HHH", 0, kind, len(images)) + directory + blobs


def ico_seeds():
    write("fuzz_ico", "made-1bit.ico", ico([(8, 8, dib_entry(8, 1))]))
    write("fuzz_ico", "made-4bit.ico", ico([(4, 4, dib_entry(4, 4))]))
    write("fuzz_ico", "made-8bit.ico", ico([(2, 2, dib_entry(2, 8))]))
    write("fuzz_ico", "made-sizes.ico", ico([(4, 4, dib_entry(4, 32)), (16, 16, dib_entry(16, 24)),
                                             (8, 8, dib_entry(8, 8))]))
    write("fuzz_ico", "made-png.ico", ico([(2, 2, png(2, 2, 6, 8, [b"\xff\x00\x00\x80" * 2] * 2))]))
    write("fuzz_ico", "made-png-256.ico", ico([(0, 0, png(1, 1, 0, 8, [b"\x7f"]))]))
    # Qt decodes a PNG image at its own size, whatever the directory says.
    write("fuzz_ico", "made-png-wide.ico", ico([(0, 0, png(16385, 1, 0, 1, [bytes(2049)]))]))
    write("fuzz_ico", "made-png-and-bitmap.ico", ico([(16, 16, dib_entry(16, 4)),
                                                      (0, 0, png(300, 2, 0, 8, [bytes(300)] * 2))]))
    write("fuzz_ico", "made-cursor.ico", ico([(4, 4, dib_entry(4, 1))], kind=2))
    write("fuzz_ico", "made-cut.ico", ico([(8, 8, dib_entry(8, 24))])[:60])
    write("fuzz_ico", "made-overlap.ico", ico([(4, 4, dib_entry(4, 8))]).replace(
        struct.pack("<I", 22), struct.pack("<I", 6), 1))
    for picture in sorted(BAZA.glob("*.ico")):
        copy("fuzz_ico", picture, "baza-" + picture.name)
    copy("fuzz_ico", ROOT / "assets" / "zdawnik.ico")


# --- JPEG ---------------------------------------------------------------------------------------

def with_orientation(jpeg, orientation):
    """The JPEG with an Exif segment holding one orientation tag, after its start marker."""
    tiff = b"MM\x00\x2a" + struct.pack(">I", 8) + struct.pack(">H", 1)
    tiff += struct.pack(">HHII", 0x0112, 3, 1, orientation << 16) + struct.pack(">I", 0)
    segment = b"Exif\x00\x00" + tiff
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(segment) + 2) + segment + jpeg[2:]


def jpeg_seeds():
    for picture in sorted((PICTURES / "jpeg").glob("*.jpg")):
        copy("fuzz_jpg", picture)
    for picture in sorted(BAZA.glob("*.jpg")):
        copy("fuzz_jpg", picture, "baza-" + picture.name)
    made = sorted((CORPUS / "fuzz_jpg").glob("made-*.jpg"))
    small = next((p for p in made if "baseline" in p.name), None)
    if small:
        write("fuzz_jpg", "made-exif-rotated.jpg", with_orientation(small.read_bytes(), 6))
        data = small.read_bytes()
        write("fuzz_jpg", "made-cut.jpg", data[: len(data) * 2 // 3])
        write("fuzz_jpg", "made-no-eoi.jpg", data[:-2])


# --- Metafiles ----------------------------------------------------------------------------------

def metafile_seeds():
    folder = PICTURES / "metafiles"
    for picture in sorted((folder / "emf-libemf2svg").glob("*.emf")):
        if picture.stat().st_size <= 4096:
            copy("fuzz_emf", picture)
    for picture in sorted((folder / "emf-corrupted").glob("*.emf")):
        if picture.stat().st_size <= 3000:
            copy("fuzz_emf", picture)
    copy("fuzz_emf", folder / "made-here" / "libreoffice-polish_question.emf")
    for picture in sorted((folder / "wmf-libwmf").glob("*.wmf")):
        if picture.stat().st_size <= 8192:
            copy("fuzz_wmf", picture)
    copy("fuzz_wmf", folder / "wmf-libreoffice" / "pri-marine_f_2000004B0000227F0000227886F3FC0F.wmf",
         "libreoffice-marine.wmf")
    copy("fuzz_wmf", folder / "made-here" / "inkscape-polish_question.wmf")
    copy("fuzz_wmf", folder / "made-here" / "libreoffice-polish_question.wmf")
    for kind in ("emf", "wmf"):
        for picture in sorted(BAZA.glob("*." + kind)):
            copy("fuzz_" + kind, picture, "baza-" + picture.name)


# --- The checker's bank -------------------------------------------------------------------------

def bank():
    folder = FUZZ / "bank"
    if folder.exists():
        shutil.rmtree(folder)
    (folder / "rysunki").mkdir(parents=True)
    (folder / "obraz.png").write_bytes(png(2, 2, 2, 8, [b"\xff\x00\x00\x00\xff\x00"] * 2))
    (folder / "obraz.bmp").write_bytes(bmp(1, 1, 24, b"\x00\x00\xff\x00"))
    (folder / "obraz.ico").write_bytes(ico([(2, 2, dib_entry(2, 8))]))
    shutil.copy(CORPUS / "fuzz_jpg" / "made-baseline-8x8.jpg", folder / "obraz.jpg")
    (folder / "rysunki" / "mały.png").write_bytes(png(1, 1, 0, 8, [b"\x7f"]))
    whole = png(4, 4, 2, 8, [b"\x10" * 12] * 4)
    (folder / "uszkodzony.png").write_bytes(whole[: len(whole) - 20])


def is_found(path):
    """Whether a seed is an input a fuzzer found and a merge kept: those are named by their SHA-1."""
    return len(path.name) == 40 and all(c in "0123456789abcdef" for c in path.name)


def main():
    # What is made here is made again; what the fuzzers found stays, and so do the JPEG seeds Qt
    # wrote (make-jpeg-seeds.cpp), apart from those made here from them.
    for target in ("fuzz_reader", "fuzz_progress", "fuzz_check", "fuzz_png", "fuzz_bmp", "fuzz_ico", "fuzz_emf",
                   "fuzz_wmf", "fuzz_jpg"):
        for old in (CORPUS / target).glob("*"):
            if is_found(old):
                continue
            if target == "fuzz_jpg" and old.name.startswith("made-") and old.name not in (
                    "made-exif-rotated.jpg", "made-cut.jpg", "made-no-eoi.jpg"):
                continue
            old.unlink()
    question_seeds()
    progress_seeds()
    png_seeds()
    bmp_seeds()
    ico_seeds()
    jpeg_seeds()
    metafile_seeds()
    bank()


if __name__ == "__main__":
    main()
