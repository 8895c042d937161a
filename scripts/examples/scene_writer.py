"""What the example generators share: the palette, meshes, shapes and the scene writer.

Mesh vertices are written as "v x 0 y": the reader takes x from the first number and y from the
third, and y grows downwards on screen.
"""
import math
import os

PALETTE = {
    "coral": (0.96, 0.47, 0.40), "coral_dark": (0.70, 0.27, 0.24),
    "teal": (0.20, 0.70, 0.66), "teal_dark": (0.09, 0.42, 0.40),
    "sky": (0.42, 0.66, 0.94), "sky_dark": (0.22, 0.40, 0.66),
    "plum": (0.66, 0.46, 0.84), "plum_dark": (0.42, 0.26, 0.58),
    "gold": (0.99, 0.80, 0.34), "gold_dark": (0.80, 0.55, 0.16),
    "cream": (0.96, 0.93, 0.84), "wood": (0.78, 0.58, 0.38), "wood_dark": (0.52, 0.36, 0.22),
    "slate": (0.20, 0.24, 0.30), "slate_light": (0.38, 0.44, 0.52),
    "steel": (0.72, 0.76, 0.82), "steel_dark": (0.45, 0.50, 0.58),
    "grass": (0.36, 0.62, 0.34), "rock": (0.42, 0.38, 0.36), "rock_dark": (0.30, 0.27, 0.26),
    "neon_pink": (1.00, 0.25, 0.70), "neon_cyan": (0.20, 0.95, 1.00),
    "neon_lime": (0.60, 1.00, 0.25), "neon_gold": (1.00, 0.78, 0.20),
    "neon_violet": (0.65, 0.40, 1.00), "neon_white": (0.92, 0.95, 1.00),
}

# The caption most examples scroll: small, three units thick, at 120 units a second.
CAPTION = dict(scroller_text_scale=0.25, scroller_text_thickness=3, scroller_text_speed=120)


class Mesh:
    """Coloured convex polygons; each becomes one OBJ face, which the reader fans."""

    def __init__(self, comment):
        self.comment = comment
        self.parts = []  # (material, [(x, y), ...])

    def poly(self, material, points):
        self.parts.append((material, points))
        return self

    def write(self, folder, name, with_materials=True):
        lines = [f"# {self.comment}", "# Vertices are x 0 y (y grows downwards on screen)."]
        if with_materials:
            lines.append("mtllib meshes/colors.mtl")
        vertices, faces, current = [], [], None
        for material, points in self.parts:
            if with_materials and material != current:
                faces.append(f"usemtl {material}")
                current = material
            first = len(vertices) + 1
            vertices.extend(points)
            faces.append("f " + " ".join(str(first + i) for i in range(len(points))))
        lines += [f"v {fmt(x)} 0 {fmt(y)}" for x, y in vertices] + faces
        with open(os.path.join(folder, "meshes", name), "w") as out:
            out.write("\n".join(lines) + "\n")


def fmt(value):
    text = f"{value:.3f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def circle(radius, sides, cx=0.0, cy=0.0, turn=0.0):
    """Regular polygon; turn 0.5 puts flat edges (not corners) at the left and right."""
    return [(cx + radius * math.cos(2 * math.pi * (i + turn) / sides),
             cy + radius * math.sin(2 * math.pi * (i + turn) / sides)) for i in range(sides)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def ring(inner, outer, sides):
    """Quads between two circles."""
    quads = []
    for i in range(sides):
        a, b = 2 * math.pi * i / sides, 2 * math.pi * (i + 1) / sides
        quads.append([(outer * math.cos(a), outer * math.sin(a)),
                      (outer * math.cos(b), outer * math.sin(b)),
                      (inner * math.cos(b), inner * math.sin(b)),
                      (inner * math.cos(a), inner * math.sin(a))])
    return quads


def bar(x0, y0, x1, y1, width):
    """A straight band of the given width from one point to another."""
    length = math.hypot(x1 - x0, y1 - y0)
    nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
    return [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]


def ball_mesh(radius, sides, outer, inner, comment):
    mesh = Mesh(comment).poly(outer, circle(radius, sides, turn=0.5))
    return mesh.poly(inner, circle(radius * 0.62, sides, turn=0.5))


def crate_mesh(half, outer, inner, comment):
    return Mesh(comment).poly(outer, rect(-half, -half, half, half)).poly(
        inner, rect(-half * 0.72, -half * 0.72, half * 0.72, half * 0.72))


class Scene:
    """One example's scene.txt, written with its meshes and palette into root/name."""

    def __init__(self, root, name, title, gallery):
        self.name = name
        self.folder = os.path.join(root, name)
        os.makedirs(os.path.join(self.folder, "meshes"), exist_ok=True)
        self.lines = [f"# {title}",
                      f"# Open it from the repository: build/quillmoor -C examples/{name}",
                      "# (installed: quillmoor -C /usr/share/quillmoor/examples/" + name + ")",
                      "# Lines that start with '#' match no keyword, so they are comments.",
                      "# The world view is 1024 x 768 units, x to the right, y downwards.",
                      f"# Gallery picture (scripts/gallery.sh): quillmoor-snapshot {gallery}", ""]
        self.meshes = {}

    def comment(self, *text):
        self.lines += [""] + [f"# {t}" for t in text]

    def settings(self, **values):
        for key, value in values.items():
            if key == "scroller_text":
                self.lines.append(f"scene_scroller_text {value}")
            else:
                self.lines.append(f"scene_{key} " + " ".join(fmt(v) for v in (
                    value if isinstance(value, tuple) else (value,))))

    def mesh(self, name, mesh, with_materials=True):
        if name not in self.meshes:
            self.meshes[name] = (mesh, with_materials)
        return f"meshes/{name}"

    def obj(self, name, pos, mesh=None, col_mesh=None, col_line=None, mass=0.0, scale=None,
            bounciness=None, friction=None, col_circles=(), angle=None, velocity=None, spin=None,
            kinematic=False, moment=None, group=None, layer=None):
        """mass is left out for a kinematic object, which would not use it."""
        self.lines.append(f"new_obj {name}")
        if mesh:
            self.lines.append(f"obj_mesh {mesh}")
        if col_mesh:
            self.lines.append(f"obj_col_mesh {col_mesh}")
        if col_line:
            self.lines.append("obj_col_line " + " ".join(fmt(v) for v in col_line))
        for circle in col_circles:
            self.lines.append("obj_col_circle " + " ".join(fmt(v) for v in circle))
        self.lines.append(f"obj_pos {fmt(pos[0])} {fmt(pos[1])}")
        if angle is not None:
            self.lines.append(f"obj_angle {fmt(angle)}")
        if scale is not None:
            self.lines.append(f"obj_scale {fmt(scale)}")
        if kinematic:
            self.lines.append("obj_kinematic 1")
        else:
            self.lines.append(f"obj_mass {fmt(mass)}")
        if moment is not None:
            self.lines.append(f"obj_moment {moment if moment == 'auto' else fmt(moment)}")
        if velocity is not None:
            self.lines.append(f"obj_velocity {fmt(velocity[0])} {fmt(velocity[1])}")
        if spin is not None:
            self.lines.append(f"obj_spin {fmt(spin)}")
        if bounciness is not None:
            self.lines.append(f"obj_bounciness {fmt(bounciness)}")
        if friction is not None:
            self.lines.append(f"obj_friction {fmt(friction)}")
        if group is not None:
            self.lines.append(f"obj_group {group}")
        if layer is not None:
            self.lines.append(f"obj_layer {layer}")

    # The joint_ keywords joint() writes from its keyword arguments, in this order.
    JOINT_OPTIONS = ("pivot", "groove_a", "groove_b", "rest_length", "rest_angle", "stiffness",
                     "damping", "angle_min", "angle_max", "phase", "ratchet", "ratio", "rate",
                     "max_force", "break_force", "collide", "color")

    def joint(self, kind, a, anchor_a=None, anchor_b=None, b=None, slide=None, **options):
        """A joint of any kind; a of None leaves the first end to the world, and anchors of
        None are not written (they default to 0 0)."""
        self.lines.append(f"new_joint_{kind}")
        if a:
            self.lines.append(f"joint_obj_a {a}")
        if b:
            self.lines.append(f"joint_obj_b {b}")
        if anchor_a is not None:
            self.lines.append(f"joint_anchor_a {fmt(anchor_a[0])} {fmt(anchor_a[1])}")
        if anchor_b is not None:
            self.lines.append(f"joint_anchor_b {fmt(anchor_b[0])} {fmt(anchor_b[1])}")
        if slide:
            self.lines.append(f"joint_slide_min {fmt(slide[0])}")
            self.lines.append(f"joint_slide_max {fmt(slide[1])}")
        unknown = set(options) - set(self.JOINT_OPTIONS)
        if unknown:
            raise ValueError(f"unknown joint options: {sorted(unknown)}")
        for key in self.JOINT_OPTIONS:
            if key in options:
                value = options[key]
                values = value if isinstance(value, tuple) else (value,)
                self.lines.append(f"joint_{key} " + " ".join(fmt(v) for v in values))

    def rope(self, a, anchor_a, anchor_b, b=None, seg_len=None, seg_mass=None, thickness=None,
             color=None):
        self.lines.append("new_rope")
        self.lines.append(f"rope_obj_a {a}")
        if b:
            self.lines.append(f"rope_obj_b {b}")
        self.lines.append(f"rope_anchor_a {fmt(anchor_a[0])} {fmt(anchor_a[1])}")
        self.lines.append(f"rope_anchor_b {fmt(anchor_b[0])} {fmt(anchor_b[1])}")
        if seg_len is not None:
            self.lines.append(f"rope_approx_seg_len {fmt(seg_len)}")
        if seg_mass is not None:
            self.lines.append(f"rope_seg_mass {fmt(seg_mass)}")
        if thickness is not None:
            self.lines.append(f"rope_seg_thickness {fmt(thickness)}")
        if color is not None:
            self.lines.append("rope_color " + " ".join(fmt(v) for v in color))

    def write(self, materials):
        with open(os.path.join(self.folder, "scene.txt"), "w") as out:
            out.write("\n".join(self.lines) + "\n")
        with open(os.path.join(self.folder, "meshes", "colors.mtl"), "w") as out:
            out.write(f"# Palette of the {self.name} example: only newmtl and Kd are read.\n")
            for material in materials:
                r, g, b = PALETTE[material]
                out.write(f"newmtl {material}\nKd {fmt(r)} {fmt(g)} {fmt(b)}\n")
        for name, (mesh, with_materials) in self.meshes.items():
            mesh.write(self.folder, name, with_materials)


def used_materials(scene):
    return sorted({m for mesh, _ in scene.meshes.values() for m, _ in mesh.parts})


def finish(scene):
    scene.write(used_materials(scene))
