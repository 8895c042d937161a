"""One generator per example scene, each with write(root); scene_writer holds what they share."""
