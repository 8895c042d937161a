#pragma once
// Pictures read back from PNG files (the snapshot tool's and screenshots of the screen).
#include <string>
#include <vector>

struct Pixel {
  int r, g, b;
};

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;  // 8-bit RGB rows, top row first

  bool empty() const { return rgb.empty(); }
  Pixel at(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
};

// Any PNG, converted to 8-bit RGB; an empty image when the file cannot be read.
Image readPng(const std::string& path);
