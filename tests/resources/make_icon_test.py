"""Tests of scripts/make-icon: pixels land where the grid puts them, sources it cannot
read are refused. Run: python3 make_icon_test.py <path of make-icon>."""

import importlib.machinery
import importlib.util
import os
import struct
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None


def load_script():
    loader = importlib.machinery.SourceFileLoader("make_icon", SCRIPT)
    module_spec = importlib.util.spec_from_loader("make_icon", loader)
    module = importlib.util.module_from_spec(module_spec)
    loader.exec_module(module)
    return module


def pixel(image, size, x, y):
    """(palette index, transparent) of pixel x, y (top-left origin) of one .ico image."""
    colour_row = (size * 4 + 31) // 32 * 4
    mask_row = (size + 31) // 32 * 4
    colours = image[40 + 64:]
    mask = colours[size * colour_row:]
    row = size - 1 - y  # stored bottom-up
    byte = colours[row * colour_row + x // 2]
    index = byte >> 4 if x % 2 == 0 else byte & 0x0F
    transparent = bool(mask[row * mask_row + x // 8] & (0x80 >> (x % 8)))
    return index, transparent


class MakeIconTest(unittest.TestCase):
    def setUp(self):
        self.tool = load_script()

    def test_pixels_palette_and_mask(self):
        # Corner pixels differ, so a flipped or mirrored image or swapped nibbles show.
        source = ("legend . transparent\nlegend r 9\nlegend w 15\nlegend k 0\n"
                  "image 3\nr.w\n...\nk.w\n")
        images = self.tool.parse_source(source)
        ico = self.tool.ico_file(images)
        reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", ico, 6)
        self.assertEqual((width, height, colours, planes, bits), (3, 3, 16, 1, 4))
        image = ico[offset:offset + size]
        self.assertEqual(len(image), size)
        self.assertEqual(struct.unpack_from("<Iii", image, 0), (40, 3, 6))
        self.assertEqual(image[40 + 9 * 4:40 + 9 * 4 + 3], bytes([0x00, 0x00, 0xFF]))  # red, BGR
        self.assertEqual(pixel(image, 3, 0, 0), (9, False))
        self.assertEqual(pixel(image, 3, 1, 0)[1], True)
        self.assertEqual(pixel(image, 3, 2, 0), (15, False))
        self.assertEqual(pixel(image, 3, 0, 2), (0, False))
        self.assertEqual(pixel(image, 3, 2, 2), (15, False))
        self.assertEqual(pixel(image, 3, 1, 1)[1], True)

    def test_refuses_bad_sources(self):
        bad = {
            "short row": "legend a 1\nimage 2\naa\na\n",
            "missing rows": "legend a 1\nimage 2\naa\n",
            "unknown character": "legend a 1\nimage 2\naa\nab\n",
            "colour out of range": "legend a 16\nimage 1\na\n",
            "same size twice": "legend a 1\nimage 1\na\nimage 1\na\n",
            "no image": "legend a 1\n",
            "stray line": "legend a 1\nimage 1\na\nhello\n",
        }
        for name, source in bad.items():
            with self.subTest(name):
                with self.assertRaises(self.tool.SourceError):
                    self.tool.parse_source(source)

    def test_command_line_writes_larger_image_first(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "icon.txt")
            with open(source, "w") as f:
                f.write("legend a 1\nimage 1\na\nimage 2\naa\naa\n")
            ico = os.path.join(folder, "icon.ico")
            png = os.path.join(folder, "icon.png")
            subprocess.run([sys.executable, SCRIPT, source, ico, "--png", png], check=True)
            with open(ico, "rb") as f:
                data = f.read()
            self.assertEqual([data[6], data[6 + 16]], [2, 1])
            with open(png, "rb") as f:
                self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
