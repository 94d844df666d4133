// The committed artwork is exactly what make_art draws, and each file is a
// well-formed icon, cursor or bitmap. The files are read here with a decoder
// of their own, written from the formats rather than from the writers, so a
// fault in the writers shows up even though the committed files came from
// them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "resources/art.h"

namespace pallix::art {
namespace {

namespace fs = std::filesystem;
using ByteVector = std::vector<std::uint8_t>;

ByteVector ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ByteVector Committed(const std::string& name) {
  return ReadFile(fs::path(PALLIX_ART_DIR) / name);
}

// Little-endian reads that fail the test instead of reading past the end.
struct Reader {
  const ByteVector& data;

  unsigned U8(std::size_t at) const {
    if (at >= data.size()) throw std::out_of_range("read past the end of the file");
    return data[at];
  }
  unsigned U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | std::uint32_t{U16(at + 2)} << 16; }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
};

struct InfoHeader {
  std::uint32_t size;
  std::int32_t width, height;
  unsigned planes, bits;
  std::uint32_t compression, image_bytes, colours_used;
};

InfoHeader ReadInfoHeader(const Reader& r, std::size_t at) {
  return {r.U32(at),      r.I32(at + 4),  r.I32(at + 8),  r.U16(at + 12),
          r.U16(at + 14), r.U32(at + 16), r.U32(at + 20), r.U32(at + 32)};
}

std::vector<Rgb> ReadPalette(const Reader& r, std::size_t at, std::size_t count) {
  std::vector<Rgb> palette;
  for (std::size_t i = 0; i < count; ++i) {
    EXPECT_EQ(r.U8(at + 4 * i + 3), 0u) << "palette entry " << i << " reserved byte";
    palette.push_back({static_cast<std::uint8_t>(r.U8(at + 4 * i + 2)),
                       static_cast<std::uint8_t>(r.U8(at + 4 * i + 1)),
                       static_cast<std::uint8_t>(r.U8(at + 4 * i))});
  }
  return palette;
}

std::size_t Stride(int width, int bits) {
  return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

// Pixel (x, y), y counted from the top, of bottom-up rows starting at `at`.
unsigned PixelAt(const Reader& r, std::size_t at, int width, int height, int bits, int x, int y) {
  const std::size_t row = at + Stride(width, bits) * static_cast<std::size_t>(height - 1 - y);
  const std::size_t bit = static_cast<std::size_t>(x) * bits;
  const unsigned byte = r.U8(row + bit / 8);
  return (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

// Bits past the last pixel of each row must be zero: they are what a writer
// with the wrong stride would leave its pixels in.
void ExpectZeroPadding(const Reader& r, std::size_t at, int width, int height, int bits,
                       const std::string& what) {
  const std::size_t stride = Stride(width, bits);
  for (int row = 0; row < height; ++row) {
    for (std::size_t bit = static_cast<std::size_t>(width) * bits; bit < stride * 8; ++bit) {
      const unsigned byte = r.U8(at + stride * row + bit / 8);
      ASSERT_EQ((byte >> (7 - bit % 8)) & 1u, 0u) << what << " row " << row << " bit " << bit;
    }
  }
}

struct DirEntry {
  int width, height;
  unsigned colour_count, reserved, planes_or_hot_x, bits_or_hot_y;
  std::uint32_t bytes, offset;
};

struct IconFile {
  unsigned type = 0;
  std::vector<DirEntry> entries;
  std::vector<Image> images;  // decoded, in directory order
};

// Decodes an .ico or .cur: the directory, then every image's header, palette,
// colour rows and mask rows, checking each structural rule on the way.
IconFile DecodeIconFile(const ByteVector& data) {
  const Reader r{data};
  IconFile file;
  EXPECT_EQ(r.U16(0), 0u) << "ICONDIR reserved";
  file.type = r.U16(2);
  const unsigned count = r.U16(4);
  std::size_t expected_offset = 6 + 16 * count;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = 6 + 16 * i;
    DirEntry e{r.U8(at) == 0 ? 256 : static_cast<int>(r.U8(at)),
               r.U8(at + 1) == 0 ? 256 : static_cast<int>(r.U8(at + 1)),
               r.U8(at + 2),
               r.U8(at + 3),
               r.U16(at + 4),
               r.U16(at + 6),
               r.U32(at + 8),
               r.U32(at + 12)};
    EXPECT_EQ(e.reserved, 0u) << "entry " << i;
    EXPECT_EQ(e.offset, expected_offset) << "entry " << i << " should follow the one before";
    expected_offset = e.offset + e.bytes;
    file.entries.push_back(e);

    const InfoHeader h = ReadInfoHeader(r, e.offset);
    EXPECT_EQ(h.size, 40u) << "entry " << i;
    EXPECT_EQ(h.width, e.width) << "entry " << i;
    EXPECT_EQ(h.height, 2 * e.height) << "entry " << i << ": icon DIBs count both masks";
    EXPECT_EQ(h.planes, 1u) << "entry " << i;
    EXPECT_EQ(h.compression, 0u) << "entry " << i;
    const int bits = static_cast<int>(h.bits);
    if (bits != 1 && bits != 4 && bits != 8) {
      ADD_FAILURE() << "entry " << i << " has " << bits << " bits per pixel";
      continue;
    }
    const std::size_t colours = h.colours_used ? h.colours_used : std::size_t{1} << bits;
    const std::size_t xor_at = e.offset + 40 + 4 * colours;
    const std::size_t and_at = xor_at + Stride(e.width, bits) * e.height;
    const std::size_t end = and_at + Stride(e.width, 1) * e.height;
    EXPECT_EQ(e.bytes, end - e.offset) << "entry " << i << " size";
    if (h.image_bytes != 0) {
      EXPECT_EQ(h.image_bytes, end - xor_at) << "entry " << i << " biSizeImage";
    }
    ExpectZeroPadding(r, xor_at, e.width, e.height, bits, "colour rows");
    ExpectZeroPadding(r, and_at, e.width, e.height, 1, "mask rows");

    Image image;
    image.width = e.width;
    image.height = e.height;
    image.palette = ReadPalette(r, e.offset + 40, colours);
    for (int y = 0; y < e.height; ++y) {
      for (int x = 0; x < e.width; ++x) {
        const unsigned colour = PixelAt(r, xor_at, e.width, e.height, bits, x, y);
        const bool clear = PixelAt(r, and_at, e.width, e.height, 1, x, y) == 1;
        // A clear pixel with colour would flip the screen instead of
        // showing it; nothing here is drawn that way.
        EXPECT_FALSE(clear && colour != 0) << "entry " << i << " pixel " << x << "," << y;
        image.pixels.push_back(clear ? kClear : static_cast<std::uint8_t>(colour));
      }
    }
    file.images.push_back(std::move(image));
  }
  EXPECT_EQ(expected_offset, data.size()) << "the last image should end the file";
  return file;
}

Image DecodeBmp(const ByteVector& data) {
  const Reader r{data};
  EXPECT_EQ(r.U8(0), 'B');
  EXPECT_EQ(r.U8(1), 'M');
  EXPECT_EQ(r.U32(2), data.size()) << "bfSize";
  EXPECT_EQ(r.U32(6), 0u) << "reserved";
  const std::uint32_t pixels_at = r.U32(10);
  const InfoHeader h = ReadInfoHeader(r, 14);
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.planes, 1u);
  EXPECT_EQ(h.compression, 0u);
  Image image;
  image.width = h.width;
  image.height = h.height;
  if (h.height <= 0) {
    ADD_FAILURE() << "a top-down or empty bitmap: height " << h.height;
    return image;
  }
  const int bits = static_cast<int>(h.bits);
  const std::size_t colours = h.colours_used ? h.colours_used : std::size_t{1} << bits;
  EXPECT_EQ(pixels_at, 14 + 40 + 4 * colours) << "pixels should follow the palette";
  const std::size_t rows = Stride(h.width, bits) * h.height;
  EXPECT_EQ(pixels_at + rows, data.size());
  if (h.image_bytes != 0) {
    EXPECT_EQ(h.image_bytes, rows) << "biSizeImage";
  }
  ExpectZeroPadding(r, pixels_at, h.width, h.height, bits, "bitmap rows");
  image.palette = ReadPalette(r, 54, colours);
  for (int y = 0; y < h.height; ++y) {
    for (int x = 0; x < h.width; ++x) {
      image.pixels.push_back(
          static_cast<std::uint8_t>(PixelAt(r, pixels_at, h.width, h.height, bits, x, y)));
    }
  }
  return image;
}

// Compares pixel by pixel so that a failure names the first pixel that
// differs rather than dumping two vectors.
void ExpectSameImage(const Image& decoded, const Image& drawn, const std::string& what) {
  ASSERT_EQ(decoded.width, drawn.width) << what;
  ASSERT_EQ(decoded.height, drawn.height) << what;
  EXPECT_EQ(decoded.palette, drawn.palette) << what;
  for (int y = 0; y < drawn.height; ++y) {
    for (int x = 0; x < drawn.width; ++x) {
      ASSERT_EQ(int{decoded.At(x, y)}, int{drawn.At(x, y)}) << what << " pixel " << x << "," << y;
    }
  }
}

TEST(ArtFiles, GeneratorRebuildsTheCommittedFilesByteForByte) {
  const fs::path out = PALLIX_ART_SCRATCH;
  fs::remove_all(out);
  const std::string command = std::string("\"") + PALLIX_MAKE_ART + "\" \"" + out.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(out)) {
    written.insert(entry.path().filename().string());
  }
  EXPECT_EQ(written, (std::set<std::string>{"pallix.ico", "tray.ico", "picker.cur", "logo.bmp"}));
  for (const std::string& name : written) {
    const ByteVector fresh = ReadFile(out / name);
    const ByteVector committed = Committed(name);
    ASSERT_EQ(fresh.size(), committed.size()) << name << ": run make_art on resources/";
    for (std::size_t i = 0; i < fresh.size(); ++i) {
      ASSERT_EQ(fresh[i], committed[i])
          << name << " differs at byte " << i << ": run make_art on resources/";
    }
  }
}

TEST(ArtFiles, ProgramIconIsOne32PixelSixteenColourImage) {
  const IconFile ico = DecodeIconFile(Committed("pallix.ico"));
  EXPECT_EQ(ico.type, 1u);
  ASSERT_EQ(ico.entries.size(), 1u);
  const DirEntry& e = ico.entries[0];
  EXPECT_EQ(e.width, 32);
  EXPECT_EQ(e.height, 32);
  EXPECT_EQ(e.colour_count, 16u);
  EXPECT_EQ(e.planes_or_hot_x, 1u);
  EXPECT_EQ(e.bits_or_hot_y, 4u);
  // Header, 16 colours, 32 rows of 16 colour bytes and of 4 mask bytes.
  EXPECT_EQ(e.bytes, 40u + 64 + 32 * 16 + 32 * 4);
  ASSERT_EQ(ico.images.size(), 1u);
  EXPECT_EQ(ico.images[0].palette, Vga16());
  ExpectSameImage(ico.images[0], ProgramIcon32(), "pallix.ico");
}

TEST(ArtFiles, TrayIconHolds32And16PixelImages) {
  const IconFile ico = DecodeIconFile(Committed("tray.ico"));
  EXPECT_EQ(ico.type, 1u);
  ASSERT_EQ(ico.entries.size(), 2u);
  ASSERT_EQ(ico.images.size(), 2u);
  const int sizes[] = {32, 16};
  for (int i = 0; i < 2; ++i) {
    const DirEntry& e = ico.entries[i];
    EXPECT_EQ(e.width, sizes[i]);
    EXPECT_EQ(e.height, sizes[i]);
    EXPECT_EQ(e.colour_count, 16u);
    EXPECT_EQ(e.bits_or_hot_y, 4u);
    EXPECT_EQ(ico.images[i].palette, Vga16());
  }
  // The 16-pixel mask rows are 2 bytes of pixels padded to 4.
  EXPECT_EQ(ico.entries[1].bytes, 40u + 64 + 16 * 8 + 16 * 4);
  ExpectSameImage(ico.images[0], ProgramIcon32(), "tray.ico 32");
  ExpectSameImage(ico.images[1], TrayIcon16(), "tray.ico 16");
}

TEST(ArtFiles, PickerCursorIsMonochromeWithItsHotSpotOnTheCrossHair) {
  const ByteVector data = Committed("picker.cur");
  const IconFile cur = DecodeIconFile(data);
  EXPECT_EQ(cur.type, 2u);
  ASSERT_EQ(cur.entries.size(), 1u);
  const DirEntry& e = cur.entries[0];
  EXPECT_EQ(e.width, 32);
  EXPECT_EQ(e.height, 32);
  EXPECT_EQ(e.planes_or_hot_x, 13u);
  EXPECT_EQ(e.bits_or_hot_y, 9u);
  EXPECT_EQ(e.bytes, 40u + 8 + 32 * 4 + 32 * 4);
  ASSERT_EQ(cur.images.size(), 1u);
  const Image& image = cur.images[0];
  EXPECT_EQ(image.palette, (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
  ExpectSameImage(image, PickerCursor(), "picker.cur");

  // The hot spot is the middle of the cross hair, which is black...
  for (const auto& [x, y] : {std::pair{13, 9}, {12, 9}, {14, 9}, {13, 8}, {13, 10}}) {
    EXPECT_EQ(image.At(x, y), 0) << "cross hair pixel " << x << "," << y;
  }
  // ...and the middle of the frame: past the cross hair and the gap around
  // it, the frame lies as far to the left as to the right, and as far up as
  // down.
  auto frame_distance = [&](int dx, int dy) {
    int x = 13, y = 9, steps = 0;
    auto inside = [&] { return x >= 0 && x < 32 && y >= 0 && y < 32; };
    while (inside() && image.At(x, y) != kClear) x += dx, y += dy, ++steps;
    while (inside() && image.At(x, y) == kClear) x += dx, y += dy, ++steps;
    return inside() ? steps : -1;
  };
  EXPECT_GT(frame_distance(1, 0), 3);
  EXPECT_EQ(frame_distance(1, 0), frame_distance(-1, 0));
  EXPECT_GT(frame_distance(0, 1), 3);
  EXPECT_EQ(frame_distance(0, 1), frame_distance(0, -1));

  // Rows run bottom-up, whatever the decoder above believes: the first mask
  // row in the file is the bottom of the hand, the last is the empty top row.
  const std::size_t and_at = e.offset + 40 + 8 + 32 * 4;
  const std::vector<std::uint8_t> bottom(data.begin() + and_at, data.begin() + and_at + 4);
  const std::vector<std::uint8_t> top(data.begin() + and_at + 31 * 4,
                                      data.begin() + and_at + 32 * 4);
  EXPECT_NE(bottom, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(top, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ArtFiles, LogoIsA46Pixel256ColourBitmap) {
  const ByteVector data = Committed("logo.bmp");
  const Reader r{data};
  EXPECT_EQ(r.U16(28), 8u) << "bits per pixel";
  EXPECT_EQ(r.I32(18), 46);
  EXPECT_EQ(r.I32(22), 46);
  // 46 pixels a row pad to 48 bytes.
  EXPECT_EQ(data.size(), 14u + 40 + 256 * 4 + 48 * 46);
  const Image logo = DecodeBmp(data);
  EXPECT_EQ(logo.palette.size(), 256u);
  ExpectSameImage(logo, Logo(), "logo.bmp");
  // The mark is smoothed into the tile, not a two-colour stencil.
  EXPECT_GT(std::set<std::uint8_t>(logo.pixels.begin(), logo.pixels.end()).size(), 40u);
}

TEST(FromArt, MapsLegendCharactersToPaletteIndices) {
  const Image image = FromArt({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, "abc", {"a.c", "bca"});
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{0, kClear, 2, 1, 2, 0}));
}

TEST(FromArt, RejectsRaggedRowsAndUnknownCharacters) {
  EXPECT_THROW(FromArt(Vga16(), "KW", {"KW", "K"}), std::invalid_argument);
  EXPECT_THROW(FromArt(Vga16(), "KW", {"KW", "KX"}), std::invalid_argument);
  EXPECT_THROW(FromArt(Vga16(), "KW", {}), std::invalid_argument);
}

// Widths that are not a multiple of 8 or 32 exercise the packing and the row
// padding that the real artwork, all 16, 32 and 46 pixels wide, barely does.
TEST(Writers, OddSizedIconRoundTrips) {
  const Image drawn = FromArt(Vga16(), "KmgoNptSGrLyBfCW", {"W.B.m", "..Kf.", "CyLrG", "S.t.."});
  const ByteVector bytes = EncodeIcon({drawn});
  EXPECT_EQ(bytes.size(), 6u + 16 + 40 + 64 + 4 * 4 + 4 * 4);
  const IconFile ico = DecodeIconFile(bytes);
  ASSERT_EQ(ico.images.size(), 1u);
  ExpectSameImage(ico.images[0], drawn, "5 x 4 icon");
}

TEST(Writers, OddSizedCursorKeepsItsHotSpot) {
  const Image drawn =
      FromArt({{0, 0, 0}, {255, 255, 255}}, "KW", {"KW.KWK.WKWK", "..........W", "W.........K"});
  const IconFile cur = DecodeIconFile(EncodeCursor(drawn, 10, 2));
  ASSERT_EQ(cur.entries.size(), 1u);
  EXPECT_EQ(cur.entries[0].planes_or_hot_x, 10u);
  EXPECT_EQ(cur.entries[0].bits_or_hot_y, 2u);
  ASSERT_EQ(cur.images.size(), 1u);
  ExpectSameImage(cur.images[0], drawn, "11 x 3 cursor");
}

TEST(Writers, OddSizedBitmapRoundTrips) {
  Image drawn;
  drawn.width = 3;
  drawn.height = 2;
  for (int i = 0; i < 256; ++i) {
    drawn.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7});
  }
  drawn.pixels = {0, 255, 17, 128, 1, 254};
  const ByteVector bytes = EncodeBmp(drawn);
  EXPECT_EQ(bytes.size(), 14u + 40 + 1024 + 2 * 4);
  ExpectSameImage(DecodeBmp(bytes), drawn, "3 x 2 bitmap");
}

TEST(Writers, RejectWhatTheFormatCannotHold) {
  // A cursor's hot spot must lie on it.
  EXPECT_THROW(EncodeCursor(PickerCursor(), 32, 9), std::invalid_argument);
  EXPECT_THROW(EncodeCursor(PickerCursor(), 13, -1), std::invalid_argument);
  // Icons here are 16 colours; a 2-colour image would need another depth.
  EXPECT_THROW(EncodeIcon({PickerCursor()}), std::invalid_argument);
  EXPECT_THROW(EncodeIcon({}), std::invalid_argument);
  // The bitmap writer makes 256-colour files only.
  EXPECT_THROW(EncodeBmp(ProgramIcon32()), std::invalid_argument);
}

}  // namespace
}  // namespace pallix::art
