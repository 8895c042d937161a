# The scene checker: the viewer's reader and builders without a window.
add_executable(quillmoor-check tools/check/main.cpp)
# Only the shared command-line options come from the app library; the checker opens no window.
target_link_libraries(quillmoor-check PRIVATE quillmoor_world quillmoor_app)
