// quillmoor-fontgen OUT.cpp: writes GLUT_STROKE_ROMAN and GLUT_BITMAP_8_BY_13, captured from
// the installed freeglut, as the tables the web build draws its text with (web/fonts.h). It
// opens a window, so it needs an X display: xvfb-run -a build/quillmoor-fontgen OUT.cpp.
#include <GL/freeglut.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "source.h"

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') {
    std::cerr << "usage: quillmoor-fontgen OUT.cpp\n";
    return 2;
  }
  const std::filesystem::path path = argv[1];
  openCaptureWindow(128, 128);
  try {
    const StrokeFontData roman = captureStrokeFont(GLUT_STROKE_ROMAN);
    checkStrokeLengths(GLUT_STROKE_ROMAN, tableOf(roman));
    const BitmapFontData fixed = captureBitmapFont(GLUT_BITMAP_8_BY_13);

    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::filesystem::path part = path;
    part += ".part";  // renamed when complete, so a failed run leaves no half a file
    std::ofstream out(part);
    writeFontSource(out, roman, fixed);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + part.string());
    std::filesystem::rename(part, path);
    std::cout << "quillmoor-fontgen: wrote " << path.string() << ": "
              << roman.strip_starts.size() - 1 << " strips of " << roman.points.size() / 2
              << " points, " << fixed.rows.size() << " bytes of bitmap rows\n";
  } catch (const std::exception& e) {
    std::cerr << "quillmoor-fontgen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
