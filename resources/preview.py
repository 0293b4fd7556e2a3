#!/usr/bin/python3
# Composes the panel as the program shows it, for looking at the pictures:
#     /usr/bin/python3 resources/preview.py [released|pressed|recording]
# pastes the skin, the button pictures (key colour see-through) and the record
# button at their places, masks the window outline, adds sample label texts
# and writes /tmp/murmora-preview-<look>.png scaled up 3x.

import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, str(Path(__file__).resolve().parent))
import draw_pictures as pictures  # noqa: E402

HERE = pictures.HERE
LABELS = [  # (left, top, text)
    (10, 51, "1.2 MB"), (10, 67, "125 sec"), (10, 88, "Record:"),
    (10, 104, "09:30:00"), (10, 120, "PM"), (10, 136, "\u00a9Murmra"), (10, 152, "v 1.1")]


def paste_gif(canvas, picture_id, at):
    image = Image.open(HERE / "custom" / f"{picture_id}.gif").convert("RGB")
    see_through = Image.new("L", image.size)
    see_through.putdata([0 if px == pictures.KEY else 255 for px in image.getdata()])
    canvas.paste(image, at, see_through)


def compose(look):
    canvas = Image.new("RGB", pictures.WINDOW_SIZE, (255, 0, 255))
    canvas.paste(Image.open(HERE / "bitmaps" / "MRSKIN.bmp"), (0, 0))
    record = {"released": "RECORDBUTTONUP", "pressed": "RECORDBUTTONDOWN", "recording": "RECORDBUTTONRECORDING"}
    canvas.paste(Image.open(HERE / "bitmaps" / f"{record[look]}.bmp"), pictures.RECORD_AT)
    offset = 1 if look == "pressed" else 0
    for released_id, at, *_ in pictures.BUTTONS:
        paste_gif(canvas, released_id + offset, at)
    face = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12)
    draw = ImageDraw.Draw(canvas)
    for x, y, text in LABELS:
        draw.text((x, y), text, font=face, fill=(0, 0, 0))
    outline = pictures.down(pictures.outline_mask()).point(lambda v: 255 if v >= 128 else 0)
    shown = Image.new("RGB", canvas.size, (255, 255, 255))
    shown.paste(canvas, (0, 0), outline)
    return shown.resize((canvas.width * 3, canvas.height * 3), Image.NEAREST)


def main():
    look = sys.argv[1] if len(sys.argv) > 1 else "released"
    path = Path(f"/tmp/murmora-preview-{look}.png")
    compose(look).save(path)
    print(path)


if __name__ == "__main__":
    main()
