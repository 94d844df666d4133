#include "resources/art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace pallix::art {

namespace {

// One character per VGA colour, in palette order: black, maroon, green,
// olive, navy, purple, teal, silver, grey, red, lime, yellow, blue, fuchsia,
// aqua, white.
constexpr std::string_view kVgaLegend = "KmgoNptSGrLyBfCW";

// clang-format off

// A dialog box whose button has been answered: navy title bar, silver body
// with two lines of text and a button, and a check mark breaking out of the
// lower right corner.
const std::vector<std::string_view> kProgramIcon32 = {
    "................................",
    "................................",
    "................................",
    ".KKKKKKKKKKKKKKKKKKKKKKKKKKK....",
    ".KNNNNNNNNNNNNNNNNNNNNNNNNNK....",
    ".KNNNNNNNNNNNNNNNNNNNSSSSNNK....",
    ".KNNWWWWWWWWWWNNNNNNNSKKSNNK....",
    ".KNNWWWWWWWWWWNNNNNNNSKKSNNK....",
    ".KNNNNNNNNNNNNNNNNNNNSSSSNNK....",
    ".KNNNNNNNNNNNNNNNNNNNNNNNNNK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSGGGGGGGGGGGGGGGGGGGSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSGGGGGGGGGGGGGGSSSSSSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSK....",
    ".KSSSSSSSSSSSSSSSSSSSSSSSSSKKKK.",
    ".KSSWWWWWWKSSSSSSSSSSSSSSSSKBBNK",
    ".KSSWSSSSGKSKKKSSSSSSSSSSSKBBNK.",
    ".KSSWSSSSGKKNBBKSSSSSSSSSKBBNK..",
    ".KSSWGGGGGKSKNBBKSSSSSSSKBBNK...",
    ".KSSKKKKKKKSSKNBBKSSSSSKBBNK....",
    ".KSSSSSSSSSSSSKNBBKSSSKBBNKK....",
    ".KSSSSSSSSSSSSSKNBBKSKBBNKSK....",
    ".KKKKKKKKKKKKKKKKNBBKBBNKKKK....",
    ".................KNBBBNK........",
    "..................KBBBK.........",
    "...................KKK..........",
    "................................",
    "................................",
};

// The same dialog and check for the notification area, redrawn so that
// every stroke survives at 16 pixels.
const std::vector<std::string_view> kTrayIcon16 = {
    "................",
    "KKKKKKKKKKKKK...",
    "KNNNNNNNNNNNK...",
    "KNWWWWWNNSSNK...",
    "KNNNNNNNNNNNK...",
    "KSSSSSSSSSSSK...",
    "KSSSSSSSSSSSK...",
    "KSGGGGGGGGSSKKKK",
    "KSSSSSSSSSSSKBBN",
    "KSGGGGGSSSSKBBNK",
    "KSSSKKKSSSKBBNK.",
    "KSSKNBBKSKBBNK..",
    "KSSSKNBBKBBNK...",
    "KKKKKKNBBBNKK...",
    "......KBBBK.....",
    ".......KKK......",
};

// A dotted frame standing for the window to be picked, a cross hair at the
// hot spot in its middle, and a hand below pointing up at it. Black and
// white alternate along the frame so it shows on any background.
const std::vector<std::string_view> kPickerCursor = {
    "................................",
    "................................",
    "................................",
    ".....KWKWKWKWKWKWKWKWK..........",
    ".....W...............W..........",
    ".....K.......W.......K..........",
    ".....W......WKW......W..........",
    ".....K......WKW......K..........",
    ".....W....WWWKWWW....W..........",
    ".....K...WKKKKKKKW...K..........",
    ".....W....WWWKWWW....W..........",
    ".....K......WKW......K..........",
    ".....W......WKW......W..........",
    ".....K.......W.......K..........",
    ".....W...............W..........",
    ".....KWKWKWKWKWKWKWKWK..........",
    "................................",
    "............KKK.................",
    "...........KWWWK................",
    "...........KWWWK................",
    "...........KWWWK................",
    "...........KWWWKKKK.............",
    "...........KWWWKWWWKKKK.........",
    "...........KWWWKWWWKWWWKKK......",
    "........KKKKWWWKWWWKWWWKWWK.....",
    ".......KWWWKWWWWWWWWWWWWWWK.....",
    ".......KWWWWWWWWWWWWWWWWWWK.....",
    "........KWWWWWWWWWWWWWWWWWK.....",
    ".........KWWWWWWWWWWWWWWWK......",
    "..........KWWWWWWWWWWWWWK.......",
    "...........KWWWWWWWWWWWK........",
    "...........KKKKKKKKKKKKK........",
};

// clang-format on

// Little-endian byte output, the order every field of these formats uses.
class Bytes {
 public:
  void U8(unsigned v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Append(const std::vector<std::uint8_t>& more) {
    out_.insert(out_.end(), more.begin(), more.end());
  }
  std::size_t size() const { return out_.size(); }
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// Rows of every DIB are padded to a multiple of four bytes.
std::size_t RowBytes(int width, int bits) {
  return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

void Require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

void Header(Bytes& out, int width, int height, int bits, std::uint32_t image_bytes,
            int colours_used) {
  out.U32(40);
  out.U32(static_cast<std::uint32_t>(width));
  out.U32(static_cast<std::uint32_t>(height));
  out.U16(1);
  out.U16(static_cast<unsigned>(bits));
  out.U32(0);  // BI_RGB
  out.U32(image_bytes);
  out.U32(0);
  out.U32(0);
  out.U32(static_cast<std::uint32_t>(colours_used));
  out.U32(0);
}

void Palette(Bytes& out, const std::vector<Rgb>& palette) {
  for (const Rgb& c : palette) {
    out.U8(c.b);
    out.U8(c.g);
    out.U8(c.r);
    out.U8(0);
  }
}

// Packs palette indices into bottom-up rows, `bits` per pixel, most
// significant bits first.
std::vector<std::uint8_t> PackRows(int width, int height, int bits, auto value_at) {
  const std::size_t stride = RowBytes(width, bits);
  std::vector<std::uint8_t> data(stride * static_cast<std::size_t>(height), 0);
  const int per_byte = 8 / bits;
  for (int row = 0; row < height; ++row) {
    const int y = height - 1 - row;
    std::uint8_t* line = &data[stride * static_cast<std::size_t>(row)];
    for (int x = 0; x < width; ++x) {
      const unsigned v = value_at(x, y) & ((1u << bits) - 1);
      const int shift = (per_byte - 1 - x % per_byte) * bits;
      line[x / per_byte] |= static_cast<std::uint8_t>(v << shift);
    }
  }
  return data;
}

// The BITMAPINFOHEADER, palette, colour (XOR) rows and mask (AND) rows of one
// icon or cursor image. The header counts both masks, so its height is
// doubled. A clear pixel is black in the colour rows and set in the mask, so
// the screen shows through unchanged.
std::vector<std::uint8_t> IconImage(const Image& image, int bits) {
  Require(image.width > 0 && image.width <= 256 && image.height > 0 && image.height <= 256,
          "icon images are 1 to 256 pixels a side");
  Require(image.palette.size() == (1u << bits), "icon palette must fill its bit depth");
  Require(image.pixels.size() == static_cast<std::size_t>(image.width * image.height),
          "pixel count does not match the size");
  for (std::uint8_t p : image.pixels) {
    Require(p == kClear || p < image.palette.size(), "pixel outside the palette");
  }
  auto colour = [&](int x, int y) -> unsigned {
    const std::uint8_t p = image.At(x, y);
    return p == kClear ? 0 : p;
  };
  auto mask = [&](int x, int y) -> unsigned { return image.At(x, y) == kClear ? 1 : 0; };
  const std::vector<std::uint8_t> xor_rows = PackRows(image.width, image.height, bits, colour);
  const std::vector<std::uint8_t> and_rows = PackRows(image.width, image.height, 1, mask);
  Bytes out;
  Header(out, image.width, image.height * 2, bits,
         static_cast<std::uint32_t>(xor_rows.size() + and_rows.size()), 0);
  Palette(out, image.palette);
  out.Append(xor_rows);
  out.Append(and_rows);
  return out.Take();
}

struct DirEntry {
  const Image* image;
  unsigned planes_or_hot_x;
  unsigned bits_or_hot_y;
  int bits;
};

// ICONDIR, one ICONDIRENTRY per image, then the images in the same order.
std::vector<std::uint8_t> IconDirectory(unsigned type, const std::vector<DirEntry>& entries) {
  std::vector<std::vector<std::uint8_t>> blobs;
  for (const DirEntry& e : entries) blobs.push_back(IconImage(*e.image, e.bits));
  Bytes out;
  out.U16(0);
  out.U16(type);
  out.U16(static_cast<unsigned>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Image& image = *entries[i].image;
    out.U8(image.width == 256 ? 0 : static_cast<unsigned>(image.width));
    out.U8(image.height == 256 ? 0 : static_cast<unsigned>(image.height));
    out.U8(entries[i].bits >= 8 ? 0 : 1u << entries[i].bits);
    out.U8(0);
    out.U16(entries[i].planes_or_hot_x);
    out.U16(entries[i].bits_or_hot_y);
    out.U32(static_cast<std::uint32_t>(blobs[i].size()));
    out.U32(offset);
    offset += static_cast<std::uint32_t>(blobs[i].size());
  }
  for (const auto& blob : blobs) out.Append(blob);
  return out.Take();
}

// The logo's palette is a grid: 16 tones of the blue tile, each mixed with
// white in 16 steps, so the anti-aliased mark blends into whichever tone
// lies beneath it.
constexpr int kLogoSize = 46;
constexpr int kTones = 16;
constexpr int kLevels = 16;
constexpr Rgb kTileLight{0x3C, 0x7E, 0xC8};
constexpr Rgb kTileDark{0x14, 0x33, 0x66};
constexpr Rgb kMarkColour{0xFF, 0xFF, 0xFF};

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, double t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}

struct Point {
  double x, y;
};

double SegmentDistance(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t =
      std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The mark: a grain (the maker's name means one) held between a stem and
// two arms, which together read as a K without spelling anything.
bool InMark(Point p) {
  constexpr Point kStemTop{13.5, 11.0}, kStemBottom{13.5, 35.0};
  constexpr Point kUpperEnd{33.5, 11.0}, kLowerEnd{33.5, 35.0};
  constexpr Point kGrain{24.0, 23.0};
  constexpr double kStroke = 3.0, kGrainRadius = 4.8, kGap = 1.5;
  if (SegmentDistance(p, kStemTop, kStemBottom) <= kStroke) return true;
  if (std::hypot(p.x - kGrain.x, p.y - kGrain.y) <= kGrainRadius) return true;
  // The arms stop short of the grain, leaving a ring of tile around it.
  if (std::hypot(p.x - kGrain.x, p.y - kGrain.y) <= kGrainRadius + kGap) return false;
  return SegmentDistance(p, kGrain, kUpperEnd) <= kStroke ||
         SegmentDistance(p, kGrain, kLowerEnd) <= kStroke;
}

}  // namespace

const std::vector<Rgb>& Vga16() {
  static const std::vector<Rgb> palette = {
      {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
      {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xC0, 0xC0, 0xC0},
      {0x80, 0x80, 0x80}, {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0xFF, 0xFF, 0x00},
      {0x00, 0x00, 0xFF}, {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF},
  };
  return palette;
}

Image FromArt(std::vector<Rgb> palette, std::string_view legend,
              const std::vector<std::string_view>& rows) {
  Require(!rows.empty() && !rows.front().empty(), "an art map needs at least one pixel");
  Require(legend.size() <= palette.size(), "legend longer than the palette");
  Image image;
  image.width = static_cast<int>(rows.front().size());
  image.height = static_cast<int>(rows.size());
  image.palette = std::move(palette);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (rows[y].size() != rows.front().size()) {
      throw std::invalid_argument("art map row " + std::to_string(y) + " has " +
                                  std::to_string(rows[y].size()) + " pixels, not " +
                                  std::to_string(rows.front().size()));
    }
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      const char c = rows[y][x];
      if (c == '.') {
        image.pixels.push_back(kClear);
        continue;
      }
      const std::size_t index = legend.find(c);
      if (index == std::string_view::npos) {
        throw std::invalid_argument("art map row " + std::to_string(y) + " column " +
                                    std::to_string(x) + ": '" + std::string(1, c) +
                                    "' is not in the legend");
      }
      image.pixels.push_back(static_cast<std::uint8_t>(index));
    }
  }
  return image;
}

Image ProgramIcon32() {
  return FromArt(Vga16(), kVgaLegend, kProgramIcon32);
}

Image TrayIcon16() {
  return FromArt(Vga16(), kVgaLegend, kTrayIcon16);
}

Image PickerCursor() {
  return FromArt({{0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF}}, "KW", kPickerCursor);
}

Image Logo() {
  Image image;
  image.width = image.height = kLogoSize;
  for (int tone = 0; tone < kTones; ++tone) {
    const Rgb base = Mix(kTileLight, kTileDark, tone / double(kTones - 1));
    for (int level = 0; level < kLevels; ++level) {
      image.palette.push_back(Mix(base, kMarkColour, level / double(kLevels - 1)));
    }
  }
  // 4 x 4 samples per pixel give the mark smooth edges.
  constexpr int kSamples = 4;
  for (int y = 0; y < kLogoSize; ++y) {
    for (int x = 0; x < kLogoSize; ++x) {
      // Light falls from the top left.
      const double along = (x + y) / double(2 * (kLogoSize - 1));
      const int tone = std::min(kTones - 1, static_cast<int>(along * kTones));
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Point p{x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples};
          if (InMark(p)) ++covered;
        }
      }
      const int level =
          static_cast<int>(std::lround(covered * (kLevels - 1) / double(kSamples * kSamples)));
      image.pixels.push_back(static_cast<std::uint8_t>(tone * kLevels + level));
    }
  }
  return image;
}

std::vector<std::uint8_t> EncodeIcon(const std::vector<Image>& images) {
  Require(!images.empty(), "an icon needs at least one image");
  std::vector<DirEntry> entries;
  for (const Image& image : images) entries.push_back({&image, 1, 4, 4});
  return IconDirectory(1, entries);
}

std::vector<std::uint8_t> EncodeCursor(const Image& image, int hot_x, int hot_y) {
  Require(hot_x >= 0 && hot_x < image.width && hot_y >= 0 && hot_y < image.height,
          "the hot spot must lie on the cursor");
  return IconDirectory(2,
                       {{&image, static_cast<unsigned>(hot_x), static_cast<unsigned>(hot_y), 1}});
}

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
  Require(image.palette.size() == 256, "the bitmap writer takes 256 colours");
  Require(image.pixels.size() == static_cast<std::size_t>(image.width * image.height),
          "pixel count does not match the size");
  const std::vector<std::uint8_t> rows =
      PackRows(image.width, image.height, 8, [&](int x, int y) { return image.At(x, y); });
  constexpr std::uint32_t kHeaders = 14 + 40 + 256 * 4;
  Bytes out;
  out.U8('B');
  out.U8('M');
  out.U32(static_cast<std::uint32_t>(kHeaders + rows.size()));
  out.U16(0);
  out.U16(0);
  out.U32(kHeaders);
  Header(out, image.width, image.height, 8, static_cast<std::uint32_t>(rows.size()), 256);
  Palette(out, image.palette);
  out.Append(rows);
  return out.Take();
}

std::vector<ArtFile> AllArt() {
  return {
      {"pallix.ico", EncodeIcon({ProgramIcon32()})},
      {"tray.ico", EncodeIcon({ProgramIcon32(), TrayIcon16()})},
      {"picker.cur", EncodeCursor(PickerCursor(), kPickerHotSpotX, kPickerHotSpotY)},
      {"logo.bmp", EncodeBmp(Logo())},
  };
}

}  // namespace pallix::art
