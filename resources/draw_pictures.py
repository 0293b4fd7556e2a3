#!/usr/bin/python3
# Draws every picture of the record panel. Run it with Debian's /usr/bin/python3
# and python3-pil (fonts-dejavu-core for the lettering):
#     /usr/bin/python3 resources/draw_pictures.py
# It writes custom/1xx.gif, bitmaps/*.bmp, icons/murmora*.png and pictures.qrc
# next to itself. The output is deterministic: same bytes on every run.
#
# Everything is drawn at SS times the final size and box-filtered down, which
# gives smooth edges. Button pictures are composed over the very skin pixels
# they sit on, so their anti-aliased rims blend into the panel; whatever lies
# outside a button becomes the key colour RGB(190, 190, 190), which is also
# the GIF's transparent palette entry.

import math
import random
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont, ImageOps

HERE = Path(__file__).resolve().parent
SS = 4
KEY = (190, 190, 190)
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

WINDOW_SIZE = (204, 231)
SKIN_WIDTH = 203

# Window outline: rounded rectangle (exclusive right/bottom) and ellipse.
ROUND_RECT = (2, 1, 163, 231)
ROUND_CORNER = (30, 56)
BULGE = (38, 52, 204, 214)

# Panel colours.
OUTSIDE = (18, 20, 23)
PANEL_TOP = (66, 71, 80)
PANEL_BOTTOM = (36, 39, 45)
DISC_BASE = (70, 76, 86)
WELL = (14, 15, 18)
LCD_TOP = (178, 196, 164)
LCD_BOTTOM = (150, 170, 138)

# Picture rectangles in the window (left, top, width, height).
RECORD_AT = (31, 8)
MIN_AT = (9, 8)
CLOSE_AT = (136, 8)
CUT_AT = (104, 64)
WAV_AT = (64, 110)
PLAY_AT = (144, 110)
TIME_AT = (104, 155)

SMALL_SIZE = (18, 20)
SMALL_CENTRE = (9.0, 10.0)
SMALL_RADIUS = 8.5
LARGE_SIZE = (50, 48)
WAV_SIZE = (50, 49)
LARGE_CENTRE = (25.0, 24.0)
LARGE_RADIUS = 23.0
WELL_MARGIN = 2.0

RECORD_SIZE = (100, 21)
RECORDING_SIZE = (100, 22)


# ---------------------------------------------------------------- primitives

def s(v):
    """Scales a final-pixel coordinate to the supersampled canvas."""
    return v * SS


def si(v):
    """Scales to a whole number of supersampled pixels."""
    return int(round(v * SS))


def shift(image, dx, dy):
    """Moves an image by dx, dy final pixels (wrapping; callers keep margins)."""
    return ImageChops.offset(image, si(dx), si(dy))


def scaled_box(box):
    return [s(v) for v in box]


def new_mask(size):
    return Image.new("L", (s(size[0]), s(size[1])), 0)


def ellipse_mask(size, box):
    mask = new_mask(size)
    x0, y0, x1, y1 = scaled_box(box)
    ImageDraw.Draw(mask).ellipse([x0, y0, x1 - 1, y1 - 1], fill=255)
    return mask


def circle_mask(size, centre, radius):
    cx, cy = centre
    return ellipse_mask(size, (cx - radius, cy - radius, cx + radius, cy + radius))


def round_rect_mask(size, box, radius):
    mask = new_mask(size)
    x0, y0, x1, y1 = scaled_box(box)
    ImageDraw.Draw(mask).rounded_rectangle([x0, y0, x1 - 1, y1 - 1], radius=s(radius), fill=255)
    return mask


def corner_round_rect_mask(size, box, corner):
    """A rounded rectangle whose corners are quarter ellipses corner[0] x corner[1]."""
    mask = new_mask(size)
    x0, y0, x1, y1 = scaled_box(box)
    cw, ch = s(corner[0]), s(corner[1])
    draw = ImageDraw.Draw(mask)
    draw.rectangle([x0 + cw // 2, y0, x1 - 1 - cw // 2, y1 - 1], fill=255)
    draw.rectangle([x0, y0 + ch // 2, x1 - 1, y1 - 1 - ch // 2], fill=255)
    for ex, ey in ((x0, y0), (x1 - cw, y0), (x0, y1 - ch), (x1 - cw, y1 - ch)):
        draw.ellipse([ex, ey, ex + cw - 1, ey + ch - 1], fill=255)
    return mask


def scale_mask(mask, factor):
    return mask.point(lambda v: int(v * factor + 0.5))


def smooth_mask(mask, radius):
    """Rounds the corners of a hard shape by blurring and thresholding it."""
    return mask.filter(ImageFilter.GaussianBlur(s(radius))).point(lambda v: 255 if v >= 128 else 0)


def grow_mask(mask, pixels):
    return mask.filter(ImageFilter.MaxFilter(2 * si(pixels) + 1))


def shrink_mask(mask, pixels):
    return mask.filter(ImageFilter.MinFilter(2 * si(pixels) + 1))


def solid(size_ss, colour):
    return Image.new("RGB", size_ss, colour)


def vertical_gradient(size_ss, top, bottom, y0=0, y1=None):
    """Top colour at row y0, bottom colour at row y1 (supersampled rows)."""
    w, h = size_ss
    y1 = h if y1 is None else y1
    ramp = Image.new("L", (1, h))
    ramp.putdata([max(0, min(255, round(255 * (y - y0) / max(1, y1 - y0)))) for y in range(h)])
    return ImageOps.colorize(ramp.resize((w, h)), black=top, white=bottom)


def radial_gradient(size_ss, centre_ss, radius_ss, inner, outer):
    w, h = size_ss
    cx, cy = centre_ss
    ramp = Image.new("L", (w, h))
    ramp.putdata([min(255, int(255 * math.hypot(x - cx, y - cy) / radius_ss))
                  for y in range(h) for x in range(w)])
    return ImageOps.colorize(ramp, black=inner, white=outer)


def paint(canvas, colour_or_image, mask, opacity=1.0):
    """Paints a colour or image onto canvas through mask at the given opacity."""
    if opacity != 1.0:
        mask = scale_mask(mask, opacity)
    layer = colour_or_image if isinstance(colour_or_image, Image.Image) else solid(canvas.size, colour_or_image)
    canvas.paste(layer, (0, 0), mask)


def lighting(mask, blur, reach, gain):
    """Light and shade masks of a raised shape lit from the top left.

    The blurred shape acts as a height field; its slope towards the light gives
    the lit rim, its slope away gives the shaded rim."""
    height = mask.filter(ImageFilter.GaussianBlur(s(blur)))
    k = max(1, si(reach))
    ahead = ImageChops.offset(height, -k, -k)
    behind = ImageChops.offset(height, k, k)
    light = ImageChops.subtract(ahead, behind, scale=1.0 / gain)
    shade = ImageChops.subtract(behind, ahead, scale=1.0 / gain)
    return light, shade


def bevel(canvas, mask, blur, reach, gain, light_colour=(255, 255, 255), shade_colour=(0, 0, 0),
          light_opacity=0.5, shade_opacity=0.6, raised=True):
    light, shade = lighting(mask, blur, reach, gain)
    if not raised:
        light, shade = shade, light
    light = ImageChops.multiply(light, mask)
    shade = ImageChops.multiply(shade, mask)
    paint(canvas, light_colour, light, light_opacity)
    paint(canvas, shade_colour, shade, shade_opacity)


def down(image):
    return image.reduce(SS)


def font(size):
    return ImageFont.truetype(FONT_BOLD, si(size))


def text_mask(size, text, centre, points, spacing=0.0):
    """Mask of text centred at centre (final pixels), letters spaced apart."""
    mask = new_mask(size)
    draw = ImageDraw.Draw(mask)
    face = font(points)
    widths = [draw.textlength(ch, font=face) for ch in text]
    total = sum(widths) + s(spacing) * (len(text) - 1)
    x = s(centre[0]) - total / 2
    for ch, w in zip(text, widths):
        draw.text((x, s(centre[1])), ch, font=face, fill=255, anchor="lm")
        x += w + s(spacing)
    return mask


# ---------------------------------------------------------------- the skin

def outline_mask():
    return ImageChops.lighter(corner_round_rect_mask(WINDOW_SIZE, ROUND_RECT, ROUND_CORNER),
                              ellipse_mask(WINDOW_SIZE, BULGE))


def brushed_texture(size_ss, seed, strength):
    """Horizontal brush strokes: per-row noise stretched across."""
    rng = random.Random(seed)
    w, h = size_ss
    coarse = Image.new("L", (w // 24, h))
    coarse.putdata([128 + round(rng.gauss(0, strength)) for _ in range(coarse.width * h)])
    return coarse.resize((w, h), Image.BILINEAR).convert("RGB")


def add_texture(canvas, texture):
    return ImageChops.add(canvas, texture, scale=1.0, offset=-128)


def spun_disc_texture(size_ss, centre_ss, seed, ring_strength, sheen):
    """Concentric machining rings plus the four-lobed sheen of spun metal."""
    rng = random.Random(seed)
    rings = [rng.gauss(0, ring_strength) for _ in range(2048)]
    w, h = size_ss
    cx, cy = centre_ss
    data = []
    for y in range(h):
        dy = y - cy
        for x in range(w):
            dx = x - cx
            r = math.hypot(dx, dy)
            angle = math.atan2(dy, dx)
            value = rings[int(r) % 2048] + sheen * math.cos(2 * (angle + math.pi / 4))
            data.append(max(0, min(255, 128 + round(value))))
    texture = Image.new("L", size_ss)
    texture.putdata(data)
    return texture.convert("RGB")


def button_centre(at, centre=LARGE_CENTRE):
    return (at[0] + centre[0], at[1] + centre[1])


LARGE_CENTRES = [button_centre(CUT_AT), button_centre(WAV_AT), button_centre(PLAY_AT), button_centre(TIME_AT)]
SMALL_CENTRES = [button_centre(MIN_AT, SMALL_CENTRE), button_centre(CLOSE_AT, SMALL_CENTRE)]
DISC_CENTRE = (129.0, 133.5)
DISC_RADIUS = 72.5


def record_well_box():
    x, y = RECORD_AT
    return (x - 2, y - 2, x + RECORDING_SIZE[0] + 2, y + RECORDING_SIZE[1] + 2)


LCD_GAP = 3.0


def disc_mask():
    return circle_mask(WINDOW_SIZE, DISC_CENTRE, DISC_RADIUS)


def lcd_mask():
    """The display window: a top strip whose end follows the control disc, and
    a left column that wraps around the convert button, so no label sits under
    a control."""
    strip = ImageChops.subtract(round_rect_mask(WINDOW_SIZE, (6, 46, 118, 87), 2),
                                circle_mask(WINDOW_SIZE, DISC_CENTRE, DISC_RADIUS + LCD_GAP))
    column = ImageChops.subtract(round_rect_mask(WINDOW_SIZE, (6, 46, 63, 174), 2),
                                 circle_mask(WINDOW_SIZE, button_centre(WAV_AT), LARGE_RADIUS + WELL_MARGIN + LCD_GAP))
    return smooth_mask(ImageChops.lighter(strip, column), 2.5)


def visible_disc_mask():
    """The disc, cut back where the display's column reaches into it."""
    return ImageChops.subtract(disc_mask(), grow_mask(lcd_mask(), LCD_GAP))


def draw_panel(outline):
    size_ss = outline.size
    canvas = vertical_gradient(size_ss, PANEL_TOP, PANEL_BOTTOM)
    canvas = add_texture(canvas, brushed_texture(size_ss, 1, 5))
    bevel(canvas, outline, blur=2.5, reach=1.5, gain=3.0, light_opacity=0.55, shade_opacity=0.7)
    edge = ImageChops.subtract(outline, shrink_mask(outline, 1))
    paint(canvas, (8, 9, 11), edge, 0.8)
    return canvas


def draw_disc(canvas):
    disc = smooth_mask(visible_disc_mask(), 1.5)
    groove = ImageChops.subtract(grow_mask(disc, 1.5), disc)
    paint(canvas, (12, 13, 16), groove, 0.75)
    metal = solid(canvas.size, DISC_BASE)
    metal = add_texture(metal, spun_disc_texture(canvas.size, (s(DISC_CENTRE[0]), s(DISC_CENTRE[1])), 2, 2.5, 16))
    paint(canvas, metal, disc)
    bevel(canvas, disc, blur=2, reach=1, gain=3.0, light_opacity=0.5, shade_opacity=0.6)
    hub = circle_mask(WINDOW_SIZE, DISC_CENTRE, 9)
    bevel(canvas, grow_mask(hub, 1), blur=1, reach=0.75, gain=3.0, raised=False,
          light_opacity=0.4, shade_opacity=0.7)
    paint(canvas, radial_gradient(canvas.size, (s(DISC_CENTRE[0] - 3), s(DISC_CENTRE[1] - 3)), s(12),
                                  (120, 128, 140), (48, 52, 60)), hub)
    led = circle_mask(WINDOW_SIZE, DISC_CENTRE, 2.2)
    paint(canvas, (120, 20, 16), led)
    paint(canvas, (255, 120, 100), circle_mask(WINDOW_SIZE, (DISC_CENTRE[0] - 0.6, DISC_CENTRE[1] - 0.6), 0.9), 0.8)


def draw_well(canvas, mask):
    """A recessed socket: dark floor, shaded upper lip, lit lower lip."""
    paint(canvas, WELL, mask, 0.85)
    bevel(canvas, grow_mask(mask, 1), blur=1.2, reach=1, gain=3.0, raised=False,
          light_opacity=0.6, shade_opacity=0.8)


def draw_wells(canvas):
    for centre in LARGE_CENTRES:
        draw_well(canvas, circle_mask(WINDOW_SIZE, centre, LARGE_RADIUS + WELL_MARGIN))
    for centre in SMALL_CENTRES:
        draw_well(canvas, circle_mask(WINDOW_SIZE, centre, SMALL_RADIUS + WELL_MARGIN))
    draw_well(canvas, round_rect_mask(WINDOW_SIZE, record_well_box(), 12))


def draw_lcd(canvas):
    mask = lcd_mask()
    frame = grow_mask(mask, 2)
    bevel(canvas, frame, blur=1, reach=1, gain=3.0, raised=False, light_opacity=0.5, shade_opacity=0.7)
    paint(canvas, (10, 12, 10), ImageChops.subtract(frame, mask), 0.7)
    glass = vertical_gradient(canvas.size, LCD_TOP, LCD_BOTTOM, s(46), s(174))
    paint(canvas, glass, mask)
    # Inner shadow along the top and left edges of the glass, as if sunk in.
    inner = ImageChops.subtract(mask, shift(shrink_mask(mask, 0.5), 1, 1))
    paint(canvas, (60, 72, 56), inner.filter(ImageFilter.GaussianBlur(s(0.6))), 0.6)
    # A faint reflection across the upper part of the glass.
    sheen = ImageChops.multiply(mask, round_rect_mask(WINDOW_SIZE, (6, 46, 116, 58), 2))
    paint(canvas, (255, 255, 255), sheen, 0.12)


def draw_grille(canvas):
    """Microphone holes in the free corner below the display."""
    holes = new_mask(WINDOW_SIZE)
    draw = ImageDraw.Draw(holes)
    cx, cy, rows = 36.0, 199.0, 5
    for row in range(-rows // 2 + 1, rows // 2 + 1):
        for col in range(-4, 5):
            x = cx + col * 5.0 + (2.5 if row % 2 else 0.0)
            y = cy + row * 4.4
            if ((x - cx) / 24.0) ** 2 + ((y - cy) / 11.5) ** 2 <= 1.0:
                r = 1.3
                draw.ellipse([s(x - r), s(y - r), s(x + r) - 1, s(y + r) - 1], fill=255)
    bevel(canvas, grow_mask(holes, 0.5), blur=0.5, reach=0.5, gain=2.0, raised=False,
          light_opacity=0.5, shade_opacity=0.5)
    paint(canvas, (6, 7, 8), holes, 0.9)


def draw_logo(canvas):
    letters = text_mask(WINDOW_SIZE, "MURMORA", (35.0, 184.0), 6.6, spacing=0.9)
    paint(canvas, (0, 0, 0), shift(letters, 0.5, 0.5), 0.6)
    paint(canvas, (150, 156, 166), letters, 0.9)


def draw_skin():
    outline = outline_mask()
    canvas = draw_panel(outline)
    draw_disc(canvas)
    draw_wells(canvas)
    draw_lcd(canvas)
    draw_grille(canvas)
    draw_logo(canvas)
    paint(canvas, OUTSIDE, ImageOps.invert(outline))
    return down(canvas)


# ---------------------------------------------------------------- round buttons

def face_colours(pressed):
    # Released: light from above (convex). Pressed: darker, light from below (dished).
    if pressed:
        return (120, 126, 136), (176, 182, 192)
    return (236, 239, 243), (150, 156, 166)


def draw_round_button(size, centre, radius, pressed):
    """Aluminium push button: chrome rim, brushed face, gloss when released.

    Returns the supersampled RGB picture and its coverage mask."""
    size_ss = (s(size[0]), s(size[1]))
    canvas = solid(size_ss, (0, 0, 0))
    body = circle_mask(size, centre, radius)
    rim = radius * (0.12 if radius > 12 else 0.16)
    face = circle_mask(size, centre, radius - rim)
    cy0, cy1 = s(centre[1] - radius), s(centre[1] + radius)
    rim_top, rim_bottom = ((60, 64, 72), (196, 200, 208)) if pressed else ((214, 218, 224), (62, 66, 74))
    paint(canvas, vertical_gradient(size_ss, rim_top, rim_bottom, cy0, cy1), body)
    top, bottom = face_colours(pressed)
    paint(canvas, vertical_gradient(size_ss, top, bottom, cy0, cy1), face)
    paint(canvas, (20, 22, 26), ImageChops.subtract(body, shrink_mask(body, 0.5)), 0.7)
    if pressed:
        # Shadow of the rim falling onto the dished face.
        shadow = ImageChops.subtract(face, shift(face, 1, 1.5))
        paint(canvas, (30, 32, 38), shadow.filter(ImageFilter.GaussianBlur(s(0.8))), 0.55)
    else:
        gloss = ImageChops.multiply(face, ellipse_mask(size, (centre[0] - radius * 0.75, centre[1] - radius * 0.95,
                                                              centre[0] + radius * 0.75, centre[1] + radius * 0.1)))
        paint(canvas, (255, 255, 255), gloss.filter(ImageFilter.GaussianBlur(s(1))), 0.35)
    return canvas, body


def glyph_offset(pressed):
    return (1.0, 1.0) if pressed else (0.0, 0.0)


def paint_glyph(canvas, mask, colour, pressed, shade=True):
    """Paints a symbol with an engraved edge: dark line below, light line above."""
    if shade:
        paint(canvas, (255, 255, 255), ImageChops.subtract(shift(mask, 0, 0.5), mask), 0.45)
        paint(canvas, (20, 20, 24), ImageChops.subtract(shift(mask, 0, -0.5), mask), 0.35)
    if isinstance(colour, tuple) and pressed:
        colour = tuple(int(c * 0.85) for c in colour)
    paint(canvas, colour, mask)


def moved(centre, pressed):
    dx, dy = glyph_offset(pressed)
    return (centre[0] + dx, centre[1] + dy)


def glossy_fill(size_ss, centre, height, light, dark):
    return vertical_gradient(size_ss, light, dark, s(centre[1] - height / 2), s(centre[1] + height / 2))


def stop_glyph(size, canvas, centre, pressed):
    cx, cy = moved(centre, pressed)
    half = 8.5
    square = round_rect_mask(size, (cx - half, cy - half, cx + half, cy + half), 2.0)
    paint_glyph(canvas, square, glossy_fill(canvas.size, (cx, cy), 2 * half, (232, 62, 52), (150, 20, 18)), pressed)
    paint(canvas, (90, 8, 8), ImageChops.subtract(square, shrink_mask(square, 0.5)), 0.7)


def play_glyph(size, canvas, centre, pressed):
    cx, cy = moved(centre, pressed)
    mask = new_mask(size)
    h = 10.5
    points = [(s(cx - 6.5), s(cy - h)), (s(cx + 11.5), s(cy)), (s(cx - 6.5), s(cy + h))]
    ImageDraw.Draw(mask).polygon(points, fill=255)
    mask = smooth_mask(mask, 0.8)
    paint_glyph(canvas, mask, glossy_fill(canvas.size, (cx, cy), 2 * h, (88, 200, 96), (22, 120, 44)), pressed)
    paint(canvas, (10, 70, 24), ImageChops.subtract(mask, shrink_mask(mask, 0.5)), 0.7)


def line_mask(size, start, end, width):
    mask = new_mask(size)
    draw = ImageDraw.Draw(mask)
    draw.line([s(start[0]), s(start[1]), s(end[0]), s(end[1])], fill=255, width=int(s(width)))
    r = s(width) / 2
    for x, y in (start, end):
        draw.ellipse([s(x) - r, s(y) - r, s(x) + r, s(y) + r], fill=255)
    return mask


def on_dial(centre, radius, angle):
    """The point radius away from centre, angle clockwise from twelve o'clock."""
    return (centre[0] + radius * math.sin(angle), centre[1] - radius * math.cos(angle))


def clock_glyph(size, canvas, centre, pressed):
    c = moved(centre, pressed)
    dial_radius = 14.0
    paint_glyph(canvas, circle_mask(size, c, dial_radius + 1.6), (46, 50, 58), pressed)
    paint(canvas, radial_gradient(canvas.size, (s(c[0] - 3), s(c[1] - 4)), s(dial_radius * 1.4),
                                  (255, 255, 250), (214, 216, 210)), circle_mask(size, c, dial_radius))
    ticks = new_mask(size)
    for hour in range(12):
        angle = hour * math.pi / 6
        major = hour % 3 == 0
        inner = dial_radius - (3.6 if major else 2.2)
        tick = line_mask(size, on_dial(c, inner, angle), on_dial(c, dial_radius - 1.2, angle), 1.5 if major else 0.8)
        ticks = ImageChops.lighter(ticks, tick)
    paint(canvas, (40, 42, 48), ticks)
    # Ten past ten, the classic face of a clock.
    hands = ImageChops.lighter(line_mask(size, c, on_dial(c, 7.0, math.radians(300)), 2.2),
                               line_mask(size, c, on_dial(c, 10.5, math.radians(60)), 1.6))
    paint(canvas, (24, 26, 30), hands)
    second = math.radians(190)
    paint(canvas, (210, 40, 30), line_mask(size, on_dial(c, -3.0, second), on_dial(c, 11.5, second), 0.8))
    paint(canvas, (210, 40, 30), circle_mask(size, c, 1.4))


def wave_mask(size, left, right, mid_y, amplitude, periods, width):
    mask = new_mask(size)
    draw = ImageDraw.Draw(mask)
    steps = 120
    points = []
    for i in range(steps + 1):
        t = i / steps
        x = left + (right - left) * t
        envelope = math.sin(math.pi * t) ** 0.6
        y = mid_y - amplitude * envelope * math.sin(2 * math.pi * periods * t)
        points.append((s(x), s(y)))
    draw.line(points, fill=255, width=int(s(width)), joint="curve")
    return mask


def convert_glyph(size, canvas, centre, pressed):
    cx, cy = moved(centre, pressed)
    wave = wave_mask(size, cx - 14.0, cx + 14.0, cy - 6.5, 5.5, 2.5, 1.7)
    paint_glyph(canvas, wave, (28, 104, 196), pressed)
    badge = round_rect_mask(size, (cx - 13.0, cy + 1.0, cx + 13.0, cy + 12.5), 3.0)
    paint_glyph(canvas, badge, glossy_fill(canvas.size, (cx, cy + 6.7), 11.5, (255, 150, 50), (210, 86, 12)), pressed)
    letters = text_mask(size, "MP3", (cx + 0.2, cy + 6.9), 8.4, spacing=0.2)
    paint(canvas, (255, 255, 255), letters)


def minimize_glyph(size, canvas, centre, pressed):
    cx, cy = moved(centre, pressed)
    bar = round_rect_mask(size, (cx - 4.0, cy + 0.6, cx + 4.0, cy + 2.9), 1.0)
    paint_glyph(canvas, bar, (40, 44, 52), pressed, shade=False)


def close_glyph(size, canvas, centre, pressed):
    cx, cy = moved(centre, pressed)
    arm = 3.4
    cross = ImageChops.lighter(line_mask(size, (cx - arm, cy - arm), (cx + arm, cy + arm), 2.0),
                               line_mask(size, (cx - arm, cy + arm), (cx + arm, cy - arm), 2.0))
    paint_glyph(canvas, cross, (184, 30, 26), pressed, shade=False)


# ---------------------------------------------------------------- output

def compose_over_skin(skin, at, picture_ss, coverage_ss):
    """Puts a supersampled picture over the skin it will cover and returns the
    final-size RGB picture and its coverage."""
    w, h = coverage_ss.width // SS, coverage_ss.height // SS
    background = skin.crop((at[0], at[1], at[0] + w, at[1] + h)).resize(coverage_ss.size, Image.NEAREST)
    background.paste(picture_ss, (0, 0), coverage_ss)
    return down(background), down(coverage_ss)


def save_gif(path, rgb, coverage):
    """A single-image GIF89a with 255 picture colours plus the key colour as its
    256th, transparent entry."""
    transparent = [c < 64 for c in coverage.getdata()]
    keyed = rgb.copy()
    keyed.putdata([KEY if t else px for px, t in zip(rgb.getdata(), transparent)])
    quantized = keyed.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantized.getpalette()[:255 * 3]
    palette += [0] * (255 * 3 - len(palette))
    for i in range(0, len(palette), 3):
        if tuple(palette[i:i + 3]) == KEY:
            palette[i] = KEY[0] + 1          # an opaque colour must never read as the key
    key_index = 255
    indices = [key_index if t else i for i, t in zip(quantized.getdata(), transparent)]
    image = Image.new("P", rgb.size)
    image.putpalette(palette + list(KEY))
    image.putdata(indices)
    image.save(path, "GIF", transparency=key_index, optimize=False, interlace=False)


def save_bmp(path, rgb):
    rgb.convert("RGB").save(path, "BMP")


def round_button(skin, at, size, centre, radius, glyph, pressed):
    picture, coverage = draw_round_button(size, centre, radius, pressed)
    glyph(size, picture, centre, pressed)
    return compose_over_skin(skin, at, picture, coverage)


BUTTONS = [
    # released id, place, size, centre, radius, symbol
    (101, MIN_AT, SMALL_SIZE, SMALL_CENTRE, SMALL_RADIUS, minimize_glyph),
    (103, CLOSE_AT, SMALL_SIZE, SMALL_CENTRE, SMALL_RADIUS, close_glyph),
    (105, CUT_AT, LARGE_SIZE, LARGE_CENTRE, LARGE_RADIUS, stop_glyph),
    (107, PLAY_AT, LARGE_SIZE, LARGE_CENTRE, LARGE_RADIUS, play_glyph),
    (109, TIME_AT, LARGE_SIZE, LARGE_CENTRE, LARGE_RADIUS, clock_glyph),
    (111, WAV_AT, WAV_SIZE, LARGE_CENTRE, LARGE_RADIUS, convert_glyph),
]


def write_buttons(skin):
    folder = HERE / "custom"
    folder.mkdir(exist_ok=True)
    for released_id, at, size, centre, radius, glyph in BUTTONS:
        for picture_id, pressed in ((released_id, False), (released_id + 1, True)):
            rgb, coverage = round_button(skin, at, size, centre, radius, glyph, pressed)
            save_gif(folder / f"{picture_id}.gif", rgb, coverage)


# ---------------------------------------------------------------- record button

def record_button(skin, size, look):
    """The wide record button. look is "up", "down" or "recording"."""
    w, h = size
    size_ss = (s(w), s(h))
    canvas = solid(size_ss, (0, 0, 0))
    body = round_rect_mask(size, (0.5, 0.5, w - 0.5, h - 0.5), (h - 1) / 2)
    face = round_rect_mask(size, (1.7, 1.7, w - 1.7, h - 1.7), (h - 3.4) / 2)
    pressed = look == "down"
    rim = ((56, 60, 68), (190, 194, 202)) if pressed else ((206, 210, 218), (52, 56, 64))
    paint(canvas, vertical_gradient(size_ss, *rim), body)
    if look == "recording":
        face_fill = vertical_gradient(size_ss, (236, 70, 58), (128, 14, 12))
    elif pressed:
        face_fill = vertical_gradient(size_ss, (30, 32, 37), (62, 66, 74))
    else:
        face_fill = vertical_gradient(size_ss, (82, 87, 97), (34, 37, 43))
    paint(canvas, face_fill, face)
    paint(canvas, (10, 10, 12), ImageChops.subtract(body, shrink_mask(body, 0.5)), 0.7)
    nudge = 1.0 if pressed else 0.0
    mid_y = h / 2 + nudge
    if pressed:
        shadow = ImageChops.subtract(face, shift(face, 0, 1.5))
        paint(canvas, (0, 0, 0), shadow.filter(ImageFilter.GaussianBlur(s(0.8))), 0.6)
    else:
        gloss = ImageChops.multiply(face, round_rect_mask(size, (4, 2, w - 4, h / 2), (h / 2 - 2) / 2))
        paint(canvas, (255, 255, 255), gloss, 0.16 if look == "up" else 0.25)
    dot_centre = (14.5 + nudge, mid_y)
    if look == "recording":
        glow = circle_mask(size, dot_centre, 7.5).filter(ImageFilter.GaussianBlur(s(1.5)))
        paint(canvas, (255, 200, 170), ImageChops.multiply(glow, face), 0.6)
        dot_colours = ((255, 255, 240), (255, 170, 150))
    elif pressed:
        dot_colours = ((190, 40, 34), (110, 12, 10))
    else:
        dot_colours = ((255, 84, 70), (168, 18, 16))
    dot = circle_mask(size, dot_centre, 5.0)
    paint(canvas, (0, 0, 0), ImageChops.subtract(circle_mask(size, dot_centre, 5.8), dot), 0.5)
    paint(canvas, radial_gradient(size_ss, (s(dot_centre[0] - 1.5), s(dot_centre[1] - 1.8)), s(6.0), *dot_colours), dot)
    word = "RECORDING" if look == "recording" else "REC"
    points = 7.4 if look == "recording" else 8.6
    spacing = 0.5 if look == "recording" else 2.2
    letters = text_mask(size, word, (57.5 + nudge, mid_y + 0.3), points, spacing)
    if look == "recording":
        paint(canvas, (120, 10, 8), shift(letters, 0, 0.75), 0.6)
        paint(canvas, (255, 255, 255), letters)
    else:
        paint(canvas, (0, 0, 0), shift(letters, 0, 0.75), 0.6)
        paint(canvas, (150, 154, 162) if pressed else (226, 229, 234), letters)
    rgb, _ = compose_over_skin(skin, RECORD_AT, canvas, body)
    return rgb


def write_record_buttons(skin):
    folder = HERE / "bitmaps"
    folder.mkdir(exist_ok=True)
    save_bmp(folder / "RECORDBUTTONUP.bmp", record_button(skin, RECORD_SIZE, "up"))
    save_bmp(folder / "RECORDBUTTONDOWN.bmp", record_button(skin, RECORD_SIZE, "down"))
    save_bmp(folder / "RECORDBUTTONRECORDING.bmp", record_button(skin, RECORDING_SIZE, "recording"))


def write_skin(skin):
    folder = HERE / "bitmaps"
    folder.mkdir(exist_ok=True)
    save_bmp(folder / "MRSKIN.bmp", skin.crop((0, 0, SKIN_WIDTH, WINDOW_SIZE[1])))


# ---------------------------------------------------------------- icon

def icon_rgba(edge):
    """A record button on the panel's graphite: silver ring, dark plate, red dot."""
    size = (edge, edge)
    unit = edge / 32.0
    c = (edge / 2.0, edge / 2.0)
    ring = circle_mask(size, c, 15.5 * unit)
    plate = circle_mask(size, c, 13.0 * unit)
    # The ring's colours fill the whole square, so half-covered edge pixels
    # carry the ring's colour rather than a dark fringe.
    canvas = vertical_gradient(ring.size, (226, 230, 236), (86, 92, 102))
    paint(canvas, vertical_gradient(canvas.size, (30, 33, 38), (70, 76, 86)), plate)
    dot = circle_mask(size, c, 8.0 * unit)
    paint(canvas, radial_gradient(canvas.size, (s(c[0] - 2.5 * unit), s(c[1] - 3 * unit)), s(11 * unit),
                                  (255, 104, 88), (150, 14, 12)), dot)
    shine = ellipse_mask(size, (c[0] - 4.5 * unit, c[1] - 6.5 * unit, c[0] + 3.5 * unit, c[1] - 1.5 * unit))
    paint(canvas, (255, 255, 255), ImageChops.multiply(shine, dot).filter(ImageFilter.GaussianBlur(s(unit * 0.6))),
          0.55)
    image = down(canvas).convert("RGBA")
    image.putalpha(down(ring))
    return image


def write_icons():
    folder = HERE / "icons"
    folder.mkdir(exist_ok=True)
    small = icon_rgba(32)
    # 16 colours: one fully transparent entry and fifteen opaque ones, edges
    # cut at half coverage as a 16-colour icon has them.
    opaque = small.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    quantized = small.convert("RGB").quantize(colors=15, method=Image.Quantize.MEDIANCUT,
                                              dither=Image.Dither.NONE, kmeans=4)
    palette = quantized.getpalette()[:15 * 3]
    palette += [0] * (15 * 3 - len(palette))
    indices = [i if a else 15 for i, a in zip(quantized.getdata(), opaque.getdata())]
    icon = Image.new("P", small.size)
    icon.putpalette(palette + [0, 0, 0])
    icon.putdata(indices)
    icon.save(folder / "murmora.png", "PNG", transparency=15, bits=4, optimize=False)
    for edge in (48, 64):
        icon_rgba(edge).save(folder / f"murmora-{edge}.png", "PNG", optimize=False)


# ---------------------------------------------------------------- resource list

def resource_paths():
    custom = [f"custom/{i}.gif" for i in range(101, 113)]
    bitmaps = [f"bitmaps/{name}.bmp" for name in ("MRSKIN", "RECORDBUTTONUP", "RECORDBUTTONDOWN",
                                                   "RECORDBUTTONRECORDING")]
    icons = ["icons/murmora.png", "icons/murmora-48.png", "icons/murmora-64.png"]
    return custom + bitmaps + icons


def write_qrc():
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    lines += [f'    <file alias="{p}">{p}</file>' for p in resource_paths()]
    lines += ['</qresource>', '</RCC>', '']
    (HERE / "pictures.qrc").write_text("\n".join(lines))


def main():
    skin = draw_skin()
    write_skin(skin)
    write_buttons(skin)
    write_record_buttons(skin)
    write_icons()
    write_qrc()


if __name__ == "__main__":
    main()
