# The scene checker: the viewer's reader and builders without a window.
add_executable(quillmoor-check tools/check/main.cpp)
target_link_libraries(quillmoor-check PRIVATE quillmoor_world)
