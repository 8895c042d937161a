#include <GL/glut.h>

#include "app/common_options.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  // The window system's own -display and -geometry take a value too.
  handleCommonOptions(&argc, argv, "quillmoor",
                      {{"--scene", "-display", "-geometry"}, {"-h", "-help", "--help", "-?"}});
  startViewer(&argc, argv);
  glutMainLoop();
  return 0;
}
