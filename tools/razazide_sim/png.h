#pragma once
// Writes a picture of the driver's drawing surface as a PNG file, with no library: 8-bit RGB,
// deflate's stored blocks, so any viewer opens it.
#include <cstdint>
#include <string>
#include <vector>

namespace raz::simcli {

// pixels: 0x00RRGGBB, row by row from the top. False when the file cannot be written.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels);

}  // namespace raz::simcli
