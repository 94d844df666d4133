// Pallix's artwork, drawn in code, and the writers for the Windows icon,
// cursor and bitmap file formats. make_art turns these into the files that
// pallix.rc compiles in; the host tests decode those files independently and
// compare them with the drawings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pallix::art {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Icons and cursors may leave pixels out; a bitmap may not.
inline constexpr std::uint8_t kClear = 0xFF;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;  // palette indices or kClear, top row first

  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The 16 colours every 4-bit display shows the same way.
const std::vector<Rgb>& Vga16();

// An image from an ASCII-art map: legend[i] is the character for palette
// entry i, '.' is a clear pixel. Throws std::invalid_argument on ragged rows
// or characters not in the legend, so a mistyped map never becomes art.
Image FromArt(std::vector<Rgb> palette, std::string_view legend,
              const std::vector<std::string_view>& rows);

Image ProgramIcon32();
Image TrayIcon16();
Image PickerCursor();
Image Logo();

inline constexpr int kPickerHotSpotX = 13;
inline constexpr int kPickerHotSpotY = 9;

// File writers. Icons take 16-colour images, the cursor a 2-colour one, the
// bitmap a 256-colour one (where every byte is a colour, so nothing is
// clear); anything else throws std::invalid_argument.
std::vector<std::uint8_t> EncodeIcon(const std::vector<Image>& images);
std::vector<std::uint8_t> EncodeCursor(const Image& image, int hot_x, int hot_y);
std::vector<std::uint8_t> EncodeBmp(const Image& image);

struct ArtFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// Every file make_art writes, by file name.
std::vector<ArtFile> AllArt();

}  // namespace pallix::art
