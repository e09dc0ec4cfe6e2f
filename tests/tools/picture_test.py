#!/usr/bin/python3
"""Pictures of drawings with their findings, as a person opens them:
zrcheck --svg/--html and zrhost's (check-picture PATH), rendered with
rsvg-convert and read back pixel by pixel.

    picture_test.py ZRCHECK ZRHOST MODULE EXAMPLES_DIR WORKDIR"""

import html.parser
import json
import math
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

import ezdxf
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tool_check import build_catalogue, expect, failures, finish, fresh_folder  # noqa: E402

ZRCHECK, ZRHOST, MODULE, EXAMPLES, WORK = sys.argv[1:6]
SVG_NS = "{http://www.w3.org/2000/svg}"
# The colours of error marks by rule, as the picture's legend and the README
# document them.
ERROR_COLOURS = {
    "pin.missing": (0xb4, 0x53, 0x09),
    "pin.unknown": (0x7c, 0x3a, 0xed),
    "pin.invalid-mate": (0xdc, 0x26, 0x26),
    "pin.self-mate": (0xbe, 0x18, 0x5d),
    "connector.unchecked": (0x25, 0x63, 0xeb),
    "connector.unknown-code": (0x0f, 0x76, 0x6e),
}
FONTS = "/usr/share/fonts/truetype/dejavu"


def zrcheck(*args):
    return subprocess.run([ZRCHECK, "--catalogue", CATALOGUE, *args], capture_output=True, text=True, timeout=300)


def render(svg_path):
    """The SVG rasterised at its own size (one pixel per SVG pixel)."""
    png = svg_path + ".png"
    subprocess.run(["rsvg-convert", svg_path, "-o", png], check=True, timeout=120)
    return Image.open(png).convert("RGB")


class PixelMap:
    """Drawing coordinates to pixels, from the data attributes of the SVG root."""

    def __init__(self, root):
        self.scale = float(root.get("data-scale"))
        self.dx = float(root.get("data-offset-x"))
        self.dy = float(root.get("data-offset-y"))

    def __call__(self, x, y):
        return self.dx + self.scale * x, self.dy - self.scale * y


def near(image, px, py, accept, reach=1):
    """True when some pixel within reach of (px, py) satisfies accept."""
    for x in range(round(px) - reach, round(px) + reach + 1):
        for y in range(round(py) - reach, round(py) + reach + 1):
            if 0 <= x < image.width and 0 <= y < image.height and accept(image.getpixel((x, y))):
                return True
    return False


def colour_is(expected, tolerance=40):
    return lambda rgb: all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


def dark(rgb):
    return sum(rgb) < 3 * 140


def example_picture():
    """Each finding of the example drawing marked at its pin's position in
    the colour of its rule; the ones without a position named beside their
    connector; the exit status as without the picture."""
    svg = os.path.join(WORK, "example.svg")
    report = zrcheck("--json", "--svg", svg, os.path.join(EXAMPLES, "drawing.dxf"))
    expect(report.returncode == 1, f"example: exit {report.returncode}: {report.stderr[:300]}")
    findings = json.loads(report.stdout)["drawings"][0]["findings"]
    root = ET.parse(svg).getroot()
    image = render(svg)
    to_pixels = PixelMap(root)
    ids = {el.get("id"): el for el in root.iter() if el.get("id")}
    placed = [f for f in findings if f["x"] is not None]
    expect(len(placed) >= 5 and len(findings) > len(placed), f"example findings: {len(placed)} of {len(findings)}")
    for f in placed:
        px, py = to_pixels(f["x"], f["y"])
        # Marks on one spot cover each other: any of their colours will do.
        here = [ERROR_COLOURS[g["rule"]] for g in placed if (g["x"], g["y"]) == (f["x"], f["y"])]
        expect(near(image, px, py, lambda rgb: any(colour_is(c)(rgb) for c in here)),
               f"no mark of {f['rule']} at {f['connector']}:{f['identifier']} ({px:.0f}, {py:.0f}): "
               f"{image.getpixel((round(px), round(py)))}")
        mark = ids.get("f-" + f["fingerprint"])
        expect(mark is not None and mark.get("class") == "mark", f"{f['connector']}:{f['identifier']}: no mark")
        if mark is not None:
            title = mark.find(SVG_NS + "title")
            expect(title is not None and f["connector"] in title.text and f["rule"] in title.text,
                   f"mark title: {title.text if title is not None else None}")
    for f in findings:
        if f["x"] is not None:
            continue
        note = ids.get("f-" + f["fingerprint"])
        text = "".join(note.itertext()) if note is not None else ""
        expect(f"{f['connector']}: pin {f['identifier']} missing" in text,
               f"missing pin {f['connector']}:{f['identifier']} not listed: {text!r}")
    # The legend names every rule beside its colour.
    legend = "".join(next(el for el in root.iter() if el.get("class") == "legend").itertext())
    expect(all(rule in legend for rule in ERROR_COLOURS), f"legend: {legend!r}")
    return findings


class Anchors(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.links, self.rows, self.external = set(), [], [], []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        href = a.get("href") or a.get("xlink:href")
        if href:
            (self.links if href.startswith("#") else self.external).append(href)
        if tag in ("script", "link", "img", "iframe") or a.get("src"):
            self.external.append(tag)
        if tag == "tr" and a.get("class") == "finding":
            self.rows.append(a["id"])


def example_page(findings):
    """The page holds one table row per finding; each row links to its mark,
    each mark to its row, and nothing comes from elsewhere."""
    page = os.path.join(WORK, "example.html")
    r = zrcheck("--html", page, os.path.join(EXAMPLES, "drawing.dxf"))
    expect(r.returncode == 1, f"page: exit {r.returncode}")
    parser = Anchors()
    with open(page, encoding="utf-8") as f:
        parser.feed(f.read())
    expect(parser.rows == ["row-" + f["fingerprint"] for f in findings],
           f"rows: {parser.rows[:3]}... ({len(parser.rows)} for {len(findings)} findings)")
    dangling = [link for link in parser.links if link[1:] not in parser.ids]
    expect(not dangling, f"links to nothing: {dangling[:5]}")
    for f in findings:
        expect("#f-" + f["fingerprint"] in parser.links and "#row-" + f["fingerprint"] in parser.links,
               f"{f['connector']}:{f['identifier']}: row and mark not linked both ways")
    expect(not parser.external, f"external resources: {parser.external[:5]}")


def nested_drawing(path):
    """Blocks in blocks with base points, scales and rotations, beside the
    other kinds of entities the picture draws."""
    doc = ezdxf.new("R2013")
    inner = doc.blocks.new("INNER", base_point=(1, 1))
    inner.add_line((1, 1), (3, 1))
    inner.add_circle((3, 1), 0.5)
    outer = doc.blocks.new("OUTER")
    outer.add_blockref("INNER", (10, 0), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 90})
    # A block that refers to itself is drawn once, not forever.
    loop = doc.blocks.new("LOOP")
    loop.add_line((0, 0), (1, 0))
    loop.add_blockref("LOOP", (2, 0))
    msp = doc.modelspace()
    msp.add_blockref("OUTER", (100, 50), dxfattribs={"xscale": 1.5, "yscale": 1.5, "rotation": 30})
    msp.add_blockref("LOOP", (80, 40))
    # A half circle by bulge from (80,70) to (90,70), counter-clockwise: below the chord.
    msp.add_lwpolyline([(80, 70, 0, 0, 1), (90, 70)], format="xyseb")
    msp.add_polyline2d([(80, 80), (90, 80), (90, 85)])
    msp.add_arc((120, 75), 5, 0, 90)
    msp.add_text("<&\"' \x01", dxfattribs={"height": 2}).set_placement((80, 90))
    msp.add_mtext("two\\Plines", dxfattribs={"char_height": 2, "insert": (100, 90)})
    doc.saveas(path)


def nested_picture():
    """A child entity lands where its references' transforms put it."""
    dxf = os.path.join(WORK, "nested.dxf")
    nested_drawing(dxf)
    svg = os.path.join(WORK, "nested.svg")
    r = zrcheck("--svg", svg, dxf)
    expect(r.returncode == 0, f"nested: exit {r.returncode}: {r.stderr[:300]}")
    root = ET.parse(svg).getroot()  # hostile text kept well-formed
    image = render(svg)
    to_pixels = PixelMap(root)

    def world(x, y):
        # INNER (base 1,1) at (10,0) ×2 turned 90°, in OUTER at (100,50) ×1.5 turned 30°.
        x, y = (x - 1) * 2, (y - 1) * 2
        x, y = -y + 10, x
        x, y = x * 1.5, y * 1.5
        c, s = math.cos(math.radians(30)), math.sin(math.radians(30))
        return 100 + c * x - s * y, 50 + s * x + c * y

    cx, cy = world(3, 1)
    radius = 0.5 * 2 * 1.5
    for angle in range(0, 360, 45):
        px, py = to_pixels(cx + radius * math.cos(math.radians(angle)), cy + radius * math.sin(math.radians(angle)))
        expect(near(image, px, py, dark, 2), f"nested circle not drawn at angle {angle}")
    # Inside the circle, beside the line that ends at its centre: nothing.
    expect(not near(image, *to_pixels(*world(3, 1.3)), dark, 2), "nested circle: its inside is drawn on")
    for t in (0.25, 0.5, 0.75):
        expect(near(image, *to_pixels(*world(1 + 2 * t, 1)), dark, 2), f"nested line missing at {t}")
    # Where the circle would be without the inner rotation: nothing.
    x, y = (3 - 1) * 2 + 10, 0
    expect(not near(image, *to_pixels(100 + 1.5 * x * math.cos(math.radians(30)),
                                      50 + 1.5 * x * math.sin(math.radians(30))), dark, 2),
           "nested circle drawn without its rotation")
    # The bulge bends the polyline below its chord; the arc's first quarter is drawn.
    expect(near(image, *to_pixels(85, 65), dark, 2), "the bulge's arc is missing")
    expect(not near(image, *to_pixels(85, 70), dark, 2), "the bulged segment was drawn straight")
    expect(near(image, *to_pixels(120 + 5 * math.cos(math.radians(45)), 75 + 5 * math.sin(math.radians(45))),
                 dark, 2), "the arc is missing")
    expect(not near(image, *to_pixels(115, 75), dark, 2), "the arc was drawn as a whole circle")
    expect(near(image, *to_pixels(90, 82.5), dark, 2), "the polyline's vertices are not joined")
    texts = ["".join(t.itertext()) for t in root.iter(SVG_NS + "text")]
    expect(any(t.startswith("<&\"'") for t in texts), f"the text is not given back: {texts}")
    expect(any("two" in t and "lines" in t for t in texts), f"paragraph text: {texts}")
    expect(len([u for u in root.iter(SVG_NS + "use")]) <= 4, "a block reference loop was followed")


def several_drawings():
    """With several drawings each picture takes its drawing's stem; names
    that would meet, standard output and a folder are refused with exit 2."""
    a = os.path.join(WORK, "a")
    b = os.path.join(WORK, "b")
    for folder in (a, b):
        os.makedirs(folder, exist_ok=True)
        shutil.copy(os.path.join(EXAMPLES, "drawing.dxf"), os.path.join(folder, "sheet.dxf"))
    shutil.copy(os.path.join(EXAMPLES, "drawing.dxf"), os.path.join(b, "other.dxf"))
    out = os.path.join(WORK, "out", "report.svg")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    r = zrcheck("--svg", out, os.path.join(a, "sheet.dxf"), os.path.join(b, "other.dxf"))
    expect(r.returncode == 1, f"two drawings: exit {r.returncode}: {r.stderr[:300]}")
    for stem in ("sheet", "other"):
        expect(os.path.isfile(os.path.join(WORK, "out", f"report-{stem}.svg")), f"no picture for {stem}")
    expect(not os.path.exists(out), "the plain name was written with two drawings")
    refused = [
        ("same stems", ["--svg", out, os.path.join(a, "sheet.dxf"), os.path.join(b, "sheet.dxf")]),
        ("standard output", ["--svg", "-", os.path.join(a, "sheet.dxf")]),
        ("a folder", ["--html", WORK, os.path.join(a, "sheet.dxf")]),
        ("a missing folder", ["--svg", os.path.join(WORK, "nowhere", "x.svg"), os.path.join(a, "sheet.dxf")]),
    ]
    for what, args in refused:
        r = zrcheck(*args)
        expect(r.returncode == 2 and r.stderr.startswith("zrcheck: "), f"{what}: exit {r.returncode}: {r.stderr}")
    expect(not [n for n in os.listdir(os.path.join(WORK, "out")) if ".part" in n], "a temporary file was left")


def host_picture():
    """zrhost draws the open drawing with the findings of the same check."""
    svg = os.path.join(WORK, "host.svg")
    page = os.path.join(WORK, "host.html")
    drawing = os.path.join(EXAMPLES, "drawing.dxf")
    script = (f'(display (check-picture "{svg}")) (newline) (display (check-picture "{page}")) (newline)'
              f'(check-picture "{os.path.join(WORK, "nowhere", "x.svg")}")')
    env = dict(os.environ, ZR_SETTINGS_DIR=WORK)
    r = subprocess.run([ZRHOST, "--module", MODULE, "--eval", script, drawing], capture_output=True, text=True,
                       env=env, stdin=subprocess.DEVNULL, timeout=300)
    reference = os.path.join(WORK, "reference.svg")
    zrcheck("--svg", reference, drawing)
    with open(reference, encoding="utf-8") as f:
        expected = f.read()
    with open(svg, encoding="utf-8") as f:
        got = f.read()
    expect(got == expected, "zrhost's picture differs from zrcheck's")
    lines = r.stdout.split()
    expect(lines[:2] == ["19", "19"], f"zrhost: the number of findings: {r.stdout!r}")
    expect(os.path.isfile(page) and "<table" in open(page, encoding="utf-8").read(), "zrhost: no page")
    expect(r.returncode == 1 and "check-picture" in r.stderr and "nowhere" in r.stderr,
           f"zrhost: an unwritable picture: exit {r.returncode}: {r.stderr[-300:]}")


def contrast(colour):
    """WCAG contrast of "#rrggbb" on white."""
    def channel(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    return 1.05 / (0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b) + 0.05)


def text_box(el, fonts):
    """The box a <text> of the overlay takes, measured with the font it names
    (DejaVu Sans at its size, bold when bold), from its x, y and anchor."""
    text = "".join(el.itertext())
    font = fonts[el.get("font-weight") == "bold"]
    width = font.getlength(text)
    x, y = float(el.get("x")), float(el.get("y"))
    if el.get("text-anchor") == "end":
        x -= width
    elif el.get("text-anchor") == "middle":
        x -= width / 2
    ascent, descent = font.getmetrics()
    return (x, y - ascent, x + width, y + descent), text


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def crowded_drawing(path):
    """Findings close together: unknown pins a tenth of a ring apart, pins on
    one spot, missing pins listed beside their connector."""
    doc = ezdxf.new("R2013")
    doc.appids.new("ZR_PINO")
    block = doc.blocks.new("PIN-A")
    block.add_circle((0, 0), 0.5)
    block.add_attdef("ID_PINO", (0.7, 0), dxfattribs={"height": 0.5})
    msp = doc.modelspace()
    pins = [("X1", "CM03M", str(9 - i), 10 + 0.3 * i, 10, "ESQ") for i in range(5)]
    pins += [("X2", "CM03F", "A", 12, 12, "ESQ"), ("X3", "CM03F", "A", 12, 12, "ESQ"), ("X4", "ZZ99", "1", 11, 11, "ESQ")]
    pins += [("X5", "CM10M", "A", 10.5, 10.2, "ESQ")]
    for name, code, ident, x, y, layer in pins:
        ref = msp.add_blockref("PIN-A", (x, y), dxfattribs={"layer": layer})
        ref.add_attrib("ID_PINO", ident, (x + 0.7, y), dxfattribs={"height": 0.5})
        ref.set_xdata("ZR_PINO", [(1000, name), (1000, code), (1000, "S")])
    doc.saveas(path)


def legibility():
    """Every mark colour has 3:1 contrast on white and every text 4.5:1; every
    element styles itself (nothing relies on a style sheet reaching <use>
    copies); no label covers another label or a mark, measured with the
    font's own advances."""
    from PIL import ImageFont
    fonts = {False: ImageFont.truetype(os.path.join(FONTS, "DejaVuSans.ttf"), 12),
             True: ImageFont.truetype(os.path.join(FONTS, "DejaVuSans-Bold.ttf"), 12)}
    drawings = [os.path.join(EXAMPLES, "drawing.dxf"), os.path.join(WORK, "crowded.dxf")]
    crowded_drawing(drawings[1])
    for drawing in drawings:
        name = os.path.basename(drawing)
        for severity in ("error", "warning"):
            svg = os.path.join(WORK, f"legible-{severity}-{name}.svg")
            args = [] if severity == "error" else [a for rule in ERROR_COLOURS for a in ("--severity", f"{rule}=warning")]
            r = zrcheck(*args, "--svg", svg, drawing)
            expect(r.returncode in (0, 1) and os.path.isfile(svg), f"{name}: exit {r.returncode} {r.stderr[:300]}")
            if not os.path.isfile(svg):
                continue
            root = ET.parse(svg).getroot()
            drawing_group = next(el for el in root.iter() if el.get("class") == "drawing")
            expect(drawing_group.get("fill") == "none" and drawing_group.get("stroke"),
                   f"{name}: the drawing's group styles itself: {drawing_group.attrib}")
            for el in root.iter(SVG_NS + "text"):
                fill = el.get("fill") or ""
                expect(fill.startswith("#") and contrast(fill) >= 4.5, f"{name}: text {''.join(el.itertext())!r} in {fill}")
            overlay = next(el for el in root.iter() if el.get("class") == "overlay")
            for el in overlay.iter():
                for attr in ("stroke", "fill"):
                    colour = el.get(attr)
                    if colour and colour.startswith("#"):
                        expect(contrast(colour) >= 3, f"{name}: {el.tag} {attr} {colour}: contrast {contrast(colour):.2f}")
            # Labels against labels and marks.
            labels = [text_box(el, fonts) for el in overlay.iter(SVG_NS + "text")]
            rings = [(float(c.get("cx")) - float(c.get("r")) - 1.5, float(c.get("cy")) - float(c.get("r")) - 1.5,
                      float(c.get("cx")) + float(c.get("r")) + 1.5, float(c.get("cy")) + float(c.get("r")) + 1.5)
                     for c in overlay.iter(SVG_NS + "circle") if c.get("class") == "at"]
            expect(len(labels) >= 5, f"{name}: labels {len(labels)}")
            for i, (box, text) in enumerate(labels):
                for other, other_text in labels[i + 1:]:
                    expect(not overlaps(box, other), f"{name}: label {text!r} covers {other_text!r}")
                for ring in rings:
                    expect(not overlaps(box, ring), f"{name}: label {text!r} covers a mark at {ring[:2]}")
            render(svg)


def in_browser():
    """Headless Chromium, where it is installed: pin symbols drawn through
    <use> are rings, not filled discs, with lines one pixel wide, and the
    HTML page shows the whole picture with its legend at 1600 pixels."""
    chromium = shutil.which("chromium")
    if not chromium:
        print("picture: no chromium here; the browser checks are skipped")
        return
    drawing = os.path.join(WORK, "clean-symbols.dxf")
    doc = ezdxf.new("R2013")
    doc.appids.new("ZR_PINO")
    block = doc.blocks.new("PIN-A")
    block.add_circle((0, 0), 2)
    block.add_attdef("ID_PINO", (3, 0))
    msp = doc.modelspace()
    centres = [(10 + 20 * i, 10) for i in range(3)]
    for ident, (x, y) in zip("ABC", centres):
        ref = msp.add_blockref("PIN-A", (x, y), dxfattribs={"xscale": 3, "yscale": 3})
        ref.add_attrib("ID_PINO", ident, (x + 9, y))
        ref.set_xdata("ZR_PINO", [(1000, "X1"), (1000, "CM03M"), (1000, "S")])
    doc.saveas(drawing)
    svg = os.path.join(WORK, "clean-symbols.svg")
    zrcheck("--svg", svg, drawing)
    root = ET.parse(svg).getroot()
    width, height = round(float(root.get("width"))), round(float(root.get("height")))
    shot = os.path.join(WORK, "clean-symbols.chromium.png")
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    f"--window-size={width},{height}", f"--screenshot={shot}", "file://" + svg],
                   capture_output=True, timeout=180)
    if not os.path.isfile(shot):
        failures.append("chromium wrote no screenshot of the SVG")
        return
    image = Image.open(shot).convert("RGB")
    to_pixels = PixelMap(root)
    for x, y in centres:
        px, py = to_pixels(x, y)
        ring = to_pixels(x + 6, y)[0] - px  # radius 2 scaled by 3
        expect(not near(image, px, py, dark, reach=2), f"chromium: the symbol at {x},{y} is filled")
        expect(near(image, px + ring, py, dark, reach=2), f"chromium: no ring at {x},{y}")
        # One pixel wide: a few pixels inside the ring are light again.
        expect(not near(image, px + ring - 4, py, dark, reach=1), f"chromium: the ring at {x},{y} is thick")
    page = os.path.join(WORK, "example-browser.html")
    zrcheck("--html", page, os.path.join(EXAMPLES, "drawing.dxf"))
    shot = os.path.join(WORK, "example-browser.png")
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    "--window-size=1600,1000", f"--screenshot={shot}", "file://" + page], capture_output=True, timeout=180)
    if os.path.isfile(shot):
        image = Image.open(shot).convert("RGB")
        # The legend's swatches of the last rule are on screen.
        colour = ERROR_COLOURS["connector.unknown-code"]
        seen = any(colour_is(colour, 30)(image.getpixel((x, y)))
                   for x in range(0, image.width, 2) for y in range(0, image.height, 2))
        expect(seen, "chromium: the legend is not in view at 1600x1000")
    else:
        failures.append("chromium wrote no screenshot of the page")


def main():
    global CATALOGUE
    fresh_folder(WORK)
    CATALOGUE = build_catalogue(EXAMPLES, os.path.join(WORK, "catalogo.db"))
    with open(os.path.join(WORK, "zrhost.ini"), "w") as f:
        f.write(f"[database]\ndata_folder = {WORK}/\ntype = MDB\nname = catalogo.db\n")
    findings = example_picture()
    example_page(findings)
    nested_picture()
    several_drawings()
    host_picture()
    legibility()
    in_browser()
    return finish("pictures")


if __name__ == "__main__":
    sys.exit(main())
