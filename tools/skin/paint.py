"""Drawing primitives: a canvas drawn at a higher scale and reduced once at the end, so edges are
smooth at 96 DPI, and the skin's colours."""

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SCALE = 3

FONT_REGULAR = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Colours
BASE = (10, 13, 18)          # the window behind everything
BASE_LIGHT = (18, 23, 31)
PANEL = (16, 21, 29)
PANEL_EDGE = (36, 46, 60)
CONTROL = (27, 34, 45)
CONTROL_TOP = (33, 42, 55)
CONTROL_EDGE = (52, 64, 82)
OVER = (38, 50, 68)
OVER_TOP = (48, 62, 84)
INK_DIM = (104, 120, 142)
INK = (196, 206, 220)
WHITE = (255, 255, 255)

# One accent per page, so the four pages are told apart at a glance; each tab keeps its page's.
ACCENTS = [(0, 196, 255), (255, 138, 28), (168, 108, 255), (36, 226, 136)]
DANGER = (232, 48, 64)


def mix(a, b, t):
    """a blended toward b by t (0 = a, 1 = b)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def chamfered_outline(w, h, k):
    """A rectangle with its corners cut at 45 degrees, k pixels deep."""
    return [(k, 0), (w - k, 0), (w, k), (w, h - k), (w - k, h), (k, h), (0, h - k), (0, k)]


def shape_mask(outline, w, h):
    """Black where a window is, white where it is cut away: no pixel in between. Pixel (x, y)
    belongs to the window when its centre lies inside the outline."""
    image = Image.new("RGB", (w, h), (255, 255, 255))
    ImageDraw.Draw(image).polygon([(x - 0.5, y - 0.5) for x, y in outline], fill=(0, 0, 0))
    return image


class Canvas:
    """An RGB image addressed in window pixels and drawn SCALE times larger."""

    def __init__(self, w, h, colour=BASE):
        self.w, self.h = w, h
        self.image = Image.new("RGB", (w * SCALE, h * SCALE), colour)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def s(v):
        return int(round(v * SCALE))

    def box(self, x0, y0, x1, y1):
        return (self.s(x0), self.s(y0), self.s(x1) - 1, self.s(y1) - 1)

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1, radius=0):
        b = self.box(x0, y0, x1, y1)
        if radius:
            self.draw.rounded_rectangle(b, radius=self.s(radius), fill=fill, outline=outline,
                                        width=self.s(width) if outline else 0)
        else:
            self.draw.rectangle(b, fill=fill, outline=outline, width=self.s(width) if outline else 0)

    def gradient(self, x0, y0, x1, y1, top, bottom, radius=0):
        """A vertical gradient, clipped to a rounded rectangle when radius is given."""
        b = self.box(x0, y0, x1, y1)
        w, h = b[2] - b[0] + 1, b[3] - b[1] + 1
        if w <= 0 or h <= 0:
            return
        strip = Image.new("RGB", (1, h))
        for y in range(h):
            strip.putpixel((0, y), mix(top, bottom, y / max(1, h - 1)))
        strip = strip.resize((w, h))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=self.s(radius), fill=255)
        self.image.paste(strip, (b[0], b[1]), mask)

    def hgradient(self, x0, y0, x1, y1, left, right, radius=0):
        b = self.box(x0, y0, x1, y1)
        w, h = b[2] - b[0] + 1, b[3] - b[1] + 1
        if w <= 0 or h <= 0:
            return
        strip = Image.new("RGB", (w, 1))
        for x in range(w):
            strip.putpixel((x, 0), mix(left, right, x / max(1, w - 1)))
        strip = strip.resize((w, h))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=self.s(radius), fill=255)
        self.image.paste(strip, (b[0], b[1]), mask)

    def line(self, points, fill, width=1):
        self.draw.line([(self.s(x), self.s(y)) for x, y in points], fill=fill, width=max(1, self.s(width)),
                       joint="curve")

    def polygon(self, points, fill=None, outline=None, width=1):
        pts = [(self.s(x), self.s(y)) for x, y in points]
        self.draw.polygon(pts, fill=fill)
        if outline:
            self.draw.line(pts + [pts[0]], fill=outline, width=max(1, self.s(width)), joint="curve")

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1):
        self.draw.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline,
                          width=self.s(width) if outline else 0)

    def text(self, x, y, text, size, fill, bold=False, anchor="mm", spacing=0):
        font = ImageFont.truetype(FONT_BOLD if bold else FONT_REGULAR, self.s(size))
        if spacing:
            # letter-spaced text, centred on x
            widths = [font.getlength(c) for c in text]
            total = sum(widths) + self.s(spacing) * (len(text) - 1)
            cx = self.s(x) - total / 2 if anchor[0] == "m" else self.s(x)
            for c, w in zip(text, widths):
                self.draw.text((cx, self.s(y)), c, font=font, fill=fill, anchor="l" + anchor[1])
                cx += w + self.s(spacing)
        else:
            self.draw.text((self.s(x), self.s(y)), text, font=font, fill=fill, anchor=anchor)

    def glow(self, draw_shape, colour, radius, strength=1.0, clip=None):
        """Draws a blurred copy of a shape (draw_shape(ImageDraw, scale) on a mask) in colour,
        kept inside clip (x0, y0, x1, y1) when given."""
        mask = Image.new("L", self.image.size, 0)
        draw_shape(ImageDraw.Draw(mask), self.s)
        mask = mask.filter(ImageFilter.GaussianBlur(self.s(radius)))
        if strength != 1.0:
            mask = mask.point(lambda v: min(255, int(v * strength)))
        if clip:
            keep = Image.new("L", self.image.size, 0)
            ImageDraw.Draw(keep).rectangle(self.box(*clip), fill=255)
            mask = Image.composite(mask, Image.new("L", self.image.size, 0), keep)
        self.image.paste(Image.new("RGB", self.image.size, colour), (0, 0), mask)

    def paste_region(self, other, box):
        """Copies a window-pixel box of another canvas of the same size onto this one."""
        b = self.box(*box)
        region = (b[0], b[1], b[2] + 1, b[3] + 1)
        self.image.paste(other.image.crop(region), region[:2])

    def final(self):
        # An area average: what a rectangle holds stays inside its own pixels.
        return self.image.resize((self.w, self.h), Image.BOX)
