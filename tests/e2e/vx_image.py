# SPDX-License-Identifier: MIT
"""Screen images for the end-to-end harness: RGB pixels, comparisons and test patterns."""

from vx_process import run

# ImageMagick is called by absolute path: a stand-in `convert` may come first on PATH.
CONVERT = "/usr/bin/convert"


class Screenshot:
    """RGB pixels of a screen region. pixel() takes coordinates relative to the region;
    `left` and `top` say where the region lies on the root window."""

    def __init__(self, width, height, data, left=0, top=0):
        self.width, self.height, self.data = width, height, data
        self.left, self.top = left, top

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) outside {self.width}x{self.height}")
        i = (y * self.width + x) * 3
        return tuple(self.data[i : i + 3])

    def screen_pixel(self, x, y):
        return self.pixel(x - self.left, y - self.top)

    def crop(self, x, y, w, h):
        rows = [self.data[((y + r) * self.width + x) * 3 : ((y + r) * self.width + x + w) * 3]
                for r in range(h)]
        return Screenshot(w, h, b"".join(rows), self.left + x, self.top + y)

    def save(self, path):
        """Writes a PNG (or a PPM when the path ends in .ppm)."""
        ppm = b"P6\n%d %d\n255\n" % (self.width, self.height) + bytes(self.data)
        if path.endswith(".ppm"):
            with open(path, "wb") as f:
                f.write(ppm)
        else:
            run([CONVERT, "ppm:-", path], input=ppm)
        return path


def parse_ppm(blob, left=0, top=0):
    fields, pos = [], 0
    while len(fields) < 4:
        while blob[pos : pos + 1].isspace():
            pos += 1
        if blob[pos : pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end : end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"unexpected image header {fields}")
    width, height = int(fields[1]), int(fields[2])
    data = blob[pos + 1 : pos + 1 + width * height * 3]
    if len(data) != width * height * 3:
        raise ValueError("truncated image")
    return Screenshot(width, height, data, left, top)


def read_image(path):
    """Loads any image ImageMagick reads into a Screenshot (8-bit RGB)."""
    blob = run([CONVERT, path, "-alpha", "off", "-depth", "8", "ppm:-"]).stdout
    return parse_ppm(blob)


def make_pattern(path, width, height, fn):
    """Writes an image whose pixel (x, y) is fn(x, y) = (r, g, b); PNG unless path ends .ppm.
    Returns the pixels as a Screenshot so a test can compare against them directly."""
    data = bytearray(width * height * 3)
    i = 0
    for y in range(height):
        for x in range(width):
            data[i : i + 3] = bytes(fn(x, y))
            i += 3
    shot = Screenshot(width, height, bytes(data))
    shot.save(path)
    return shot


class RegionCheck:
    """Result of comparing a region with expected colours: ok, the number of bad pixels and the
    worst one (largest channel difference), with its position relative to the region."""

    def __init__(self, rect, tolerance):
        self.rect, self.tolerance = rect, tolerance
        self.bad = 0
        self.worst = None  # (difference, x, y, actual, expected)

    @property
    def ok(self):
        return self.bad == 0

    def __str__(self):
        x, y, w, h = self.rect
        if self.ok:
            return f"region {w}x{h}+{x}+{y} matches within {self.tolerance}"
        diff, px, py, actual, expected = self.worst
        if len(expected) == 2:
            expected = f"between {expected[0]} and {expected[1]}"
        return (f"region {w}x{h}+{x}+{y}: {self.bad} pixels off by more than {self.tolerance}; "
                f"worst at ({px}, {py}) [screen ({x + px}, {y + py})]: got {actual}, "
                f"expected {expected} (difference {diff})")


def compare_region(shot, rect, expected, tolerance=0):
    """Compares rect = (x, y, w, h), in shot coordinates, with expected: an (r, g, b) tuple, a
    function of region-relative coordinates (x, y) -> (r, g, b), or -> ((r, g, b), (r, g, b))
    for the lowest and highest value each channel may take (see enlargement_bounds), or a
    Screenshot of size w x h."""
    x0, y0, w, h = rect
    check = RegionCheck((x0 + shot.left, y0 + shot.top, w, h), tolerance)
    if isinstance(expected, tuple):
        colour = expected
        expected = lambda x, y: colour  # noqa: E731
    elif isinstance(expected, Screenshot):
        expected = expected.pixel
    worst = -1
    for y in range(h):
        for x in range(w):
            actual = shot.pixel(x0 + x, y0 + y)
            want = tuple(expected(x, y))
            if len(want) == 2:
                low, high = want
                diff = max(max(lo - a, a - hi, 0) for a, lo, hi in zip(actual, low, high))
            else:
                diff = max(abs(a - b) for a, b in zip(actual, want))
            if diff > tolerance:
                check.bad += 1
            if diff > worst:
                worst = diff
                check.worst = (diff, x, y, actual, want)
    return check


def enlargement_bounds(source, width, height, slack=1):
    """What `source` (a Screenshot) may look like stretched to width x height by a filter that
    mixes neighbouring pixels (Wine's HALFTONE interpolates; see WINE-NOTES): a function
    (x, y) -> (lowest, highest) per channel over the source pixels that destination pixel
    covers, widened by `slack` source pixels on every side but never past the source's edges.
    Inside a uniform block the colour must be exact; near an edge any mix of its neighbours
    passes; a source taken one pixel off still fails at the outer edges and inside the blocks."""

    def spans(count, source_count):
        out = []
        for d in range(count):
            first = d * source_count // count - slack
            last = -(-(d + 1) * source_count // count) - 1 + slack  # ceil, minus one
            out.append((max(first, 0), min(last, source_count - 1)))
        return out

    columns, rows = spans(width, source.width), spans(height, source.height)
    cache = {}

    def bounds(x, y):
        key = (columns[x], rows[y])
        found = cache.get(key)
        if found is None:
            (x0, x1), (y0, y1) = key
            pixels = [source.pixel(sx, sy) for sy in range(y0, y1 + 1)
                      for sx in range(x0, x1 + 1)]
            found = cache[key] = (tuple(map(min, zip(*pixels))), tuple(map(max, zip(*pixels))))
        return found

    return bounds


# ---------------------------------------------------------------------------------------------
# X servers
