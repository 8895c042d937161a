#pragma once
#include <string>
#include <vector>

// Writes 8-bit RGB rows, top row first. Returns false when the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgb);
