#include <GL/glut.h>

#include "app/args.h"
#include "app/common_options.h"
#include "app/startup.h"

int main(int argc, char** argv) {
  handleCommonOptions(&argc, argv, "quillmoor", kViewerSyntax);
  startViewer(&argc, argv);
  glutMainLoop();
  return 0;
}
