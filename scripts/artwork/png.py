"""PNG files of 8-bit RGB or RGBA rows, written with zlib and struct, and read back for comparison. RGB
rows of at most 256 colours are written with a palette, a quarter of the raw size of RGBA; quantise brings
a picture down to that many."""

import collections
import struct
import zlib

_COLOUR_TYPES = {3: 2, 4: 6}  # channels -> PNG colour type


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _predict(kind, row, previous, i, bpp):
    a = row[i - bpp] if i >= bpp else 0
    b = previous[i]
    c = previous[i - bpp] if i >= bpp else 0
    return (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]


def _filtered(kind, row, previous, bpp):
    if kind == 0:
        return row
    return bytes((row[i] - _predict(kind, row, previous, i, bpp)) & 0xFF for i in range(len(row)))


def _pixels(row, channels):
    return [row[i:i + channels] for i in range(0, len(row), channels)]


def quantise(rows, channels, limit=256):
    """The rows with at most limit colours: the most frequent colours stay, and every other pixel (the rare
    blends along an edge) takes the nearest of them."""
    counts = collections.Counter(p for row in rows for p in _pixels(row, channels))
    if len(counts) <= limit:
        return rows
    kept = [colour for colour, _ in sorted(counts.items(), key=lambda item: (-item[1], item[0]))[:limit]]
    nearest = {colour: colour for colour in kept}
    for colour in counts:
        if colour not in nearest:
            nearest[colour] = min(kept, key=lambda k: sum((a - b) ** 2 for a, b in zip(colour, k)))
    return [b"".join(nearest[p] for p in _pixels(row, channels)) for row in rows]


def _chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def _png(width, height, colour_type, raw, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + extra +
            _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def _encode_indexed(rows, colours):
    """A palette PNG of RGB rows; rows of indices compress best unfiltered."""
    index = {colour: i for i, colour in enumerate(colours)}
    raw = bytearray()
    for row in rows:
        raw.append(0)
        raw += bytes(index[p] for p in _pixels(row, 3))
    return _png(len(rows[0]) // 3, len(rows), 3, raw, _chunk(b"PLTE", b"".join(colours)))


def encode_png(rows, channels=4):
    """A PNG of the rows, channels bytes a pixel: with a palette when RGB rows have at most 256 colours,
    else in full colour, each row taking the filter that leaves the smallest residues."""
    width, height = len(rows[0]) // channels, len(rows)
    if channels == 3:
        colours = list(dict.fromkeys(p for row in rows for p in _pixels(row, 3)))
        if len(colours) <= 256:
            return _encode_indexed(rows, colours)
    previous = bytes(len(rows[0]))
    raw = bytearray()
    for row in rows:
        candidates = [_filtered(kind, row, previous, channels) for kind in range(5)]
        cost = [sum(v if v < 128 else 256 - v for v in f) for f in candidates]
        kind = cost.index(min(cost))
        raw.append(kind)
        raw += candidates[kind]
        previous = row
    return _png(width, height, _COLOUR_TYPES[channels], raw)


def decode_png(data):
    """(width, height, rows) of a PNG as encode_png writes it, a palette's indices turned into RGB: enough to
    compare pictures."""
    position, width, height, channels, idat, palette = 8, 0, 0, 4, b"", None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
            channels = {v: k for k, v in _COLOUR_TYPES.items()}.get(body[9], 1)
        elif kind == b"PLTE":
            palette = _pixels(body, 3)
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytes(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]
        if kind == 0:
            row = bytes(line)
        else:
            row = bytearray(stride)
            for i in range(stride):
                row[i] = (line[i] + _predict(kind, row, previous, i, channels)) & 0xFF
        rows.append(bytes(row))
        previous = rows[-1]
    if palette:
        rows = [b"".join(palette[i] for i in row) for row in rows]
    return width, height, rows
