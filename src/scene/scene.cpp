#include "scene/scene.h"

std::unique_ptr<Scene> newScene() {
  auto scene = std::make_unique<Scene>();
  scene->static_body.reset(cpBodyNewStatic());
  return scene;
}
