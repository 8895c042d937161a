# The web build's font tables, captured from the installed freeglut on an X display:
# xvfb-run -a build/quillmoor-fontgen OUT.cpp. The capture library, with the web build's
# drawing functions, is also what the font tests compare with freeglut.
add_library(quillmoor_fontgen STATIC tools/fontgen/capture.cpp tools/fontgen/source.cpp
  tools/fontgen/desktop_raster.cpp web/glut_fonts.cpp)
target_include_directories(quillmoor_fontgen PUBLIC tools/fontgen web)
target_compile_definitions(quillmoor_fontgen PRIVATE GL_GLEXT_PROTOTYPES)
target_link_libraries(quillmoor_fontgen PUBLIC GLUT::GLUT OpenGL::GL)

add_executable(quillmoor-fontgen tools/fontgen/main.cpp)
target_link_libraries(quillmoor-fontgen PRIVATE quillmoor_fontgen)
