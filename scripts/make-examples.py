#!/usr/bin/env python3
"""Writes the example scenes under examples/: each folder's scene.txt, meshes and materials.

The files are committed; run this again only after changing it (python3 scripts/make-examples.py).
Mesh vertices are written as "v x 0 y": the reader takes x from the first number and y from the
third, and y grows downwards on screen.
"""
import math
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")

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
    def __init__(self, name, title, gallery):
        self.name = name
        self.folder = os.path.join(ROOT, name)
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
            bounciness=None, friction=None):
        self.lines.append(f"new_obj {name}")
        if mesh:
            self.lines.append(f"obj_mesh {mesh}")
        if col_mesh:
            self.lines.append(f"obj_col_mesh {col_mesh}")
        if col_line:
            self.lines.append("obj_col_line " + " ".join(fmt(v) for v in col_line))
        self.lines.append(f"obj_pos {fmt(pos[0])} {fmt(pos[1])}")
        if scale is not None:
            self.lines.append(f"obj_scale {fmt(scale)}")
        self.lines.append(f"obj_mass {fmt(mass)}")
        if bounciness is not None:
            self.lines.append(f"obj_bounciness {fmt(bounciness)}")
        if friction is not None:
            self.lines.append(f"obj_friction {fmt(friction)}")

    def joint(self, kind, a, anchor_a, anchor_b, b=None, slide=None):
        self.lines.append(f"new_joint_{kind}")
        self.lines.append(f"joint_obj_a {a}")
        if b:
            self.lines.append(f"joint_obj_b {b}")
        self.lines.append(f"joint_anchor_a {fmt(anchor_a[0])} {fmt(anchor_a[1])}")
        self.lines.append(f"joint_anchor_b {fmt(anchor_b[0])} {fmt(anchor_b[1])}")
        if slide:
            self.lines.append(f"joint_slide_min {fmt(slide[0])}")
            self.lines.append(f"joint_slide_max {fmt(slide[1])}")

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


def cradle():
    s = Scene("cradle", "Newton's cradle: five steel balls on pin joints, bouncing without loss.",
              "--ticks 12")
    s.comment("No damping (1 keeps all speed) and bounciness 1 on every ball: elasticity",
              "multiplies, so two balls of bounciness 1 meet perfectly elastically. The balls",
              "hang 2 units apart, so each collision is between two balls only and passes the",
              "whole speed on.")
    s.settings(fps=60, step_iterations=8, solver_iterations=30, gravity=(0, 600), damping=1,
               mouse_impulse_force=0.05, mouse_impulse_force_max=2000,
               scroller_text="Newton's cradle -- pin joints and bounciness 1 -- move the mouse "
               "over a ball to swing it, r restarts",
               scroller_text_y=80, **CAPTION, scroller_text_color=(0.85, 0.90, 1.0, 1))
    radius, sides, length, top = 30.0, 32, 300.0, 180.0
    pitch = 2 * radius * math.cos(math.pi / sides) + 2
    frame = Mesh("Newton's cradle: the frame, drawn only")
    frame.poly("wood_dark", rect(130, 160, 894, 180)).poly("wood", rect(134, 163, 890, 176))
    for x in (142, 882):
        frame.poly("wood_dark", rect(x - 8, 176, x + 8, 650))
    frame.poly("wood_dark", rect(90, 650, 934, 680)).poly("wood", rect(96, 654, 928, 676))
    s.comment("The frame has no collision shape. Objects are drawn in name order, upper case",
              "first, so 'Frame' is drawn behind the balls.")
    s.obj("Frame", (0, 0), mesh=s.mesh("frame.obj", frame))
    # The string is part of the ball's mesh, drawn from the centre to the pivot as declared.
    def ball_with_string(name, dx, dy):
        mesh = ball_mesh(radius, sides, "steel_dark", "steel",
                         "Newton's cradle: steel ball with its string up to the pivot")
        mesh.parts.insert(0, ("cream", bar(0, 0, dx, dy, 2.4)))
        return s.mesh(name, mesh)

    col = s.mesh("ball_col.obj", Mesh("Newton's cradle: collision polygon of a ball").poly(
        "steel", circle(radius, sides, turn=0.5)), with_materials=False)
    s.comment("Each ball and its string are one body. Two pin joints tie the top of the",
              "string (its anchor on the body) to two world points above it, 100 units away",
              "each: that holds the top still while the body swings about it. The raised",
              "ball has its own mesh, with the string drawn slanting up to its pivot.")
    for i in range(5):
        pivot = (512 + (i - 2) * pitch, top)
        angle = math.radians(-40 if i == 0 else 0)  # the first ball starts raised to the left
        pos = (pivot[0] + length * math.sin(angle), pivot[1] + length * math.cos(angle))
        s.comment(f"Ball {i + 1}, hanging from ({fmt(pivot[0])}, {fmt(top)})"
                  + (", starts raised." if i == 0 else "."))
        top_local = (pivot[0] - pos[0], pivot[1] - pos[1])
        mesh = ball_with_string("ball_raised.obj" if i == 0 else "ball.obj", *top_local)
        s.obj(f"ball{i + 1}", pos, mesh=mesh, col_mesh=col, mass=1, bounciness=1, friction=0)
        for side in (-1, 1):
            s.joint("pin", f"ball{i + 1}", top_local, (pivot[0] + side * 60, top - 80))
    finish(s)


def bridge():
    s = Scene("bridge", "Rope bridge: planks joined by short ropes, with balls rolling across it.",
              "--ticks 150")
    s.comment("Ropes are chains of small bodies held together by pivot joints; they stretch",
              "unless the world is stepped several times per frame, so this scene asks for 8",
              "substeps (scene_step_iterations, 4 or more for any scene with ropes). Ropes",
              "collide with nothing: the planks carry the balls, the ropes hold the planks.")
    s.settings(fps=60, step_iterations=10, solver_iterations=30, gravity=(0, 500), damping=0.99,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               draw_rope_after_objects=0,
               scroller_text="A rope bridge -- three balls roll down the ramp and across -- "
               "push them back with the mouse, r starts again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.99, 0.86, 0.5, 1))
    left_edge, right_edge, deck, drop = 232.0, 792.0, 434.0, 40.0
    s.comment("The left ledge is a ramp down to the bridge. Static objects (mass 0) collide",
              "through thick lines (radius 4); the rock is drawn by a separate mesh.")
    # The ramp curves from steep to the bridge's own slope, so a ball runs onto the bridge
    # instead of hitting it.
    def ramp_y(x):
        u = x / left_edge
        return 430 - 320 * (1 - u) ** 2 * (1 + 0.4 * u)

    ramp_x = [left_edge * i / 8 for i in range(9)]
    rock = Mesh("Rope bridge: the rocks on both sides, drawn only")
    # Convex pieces only: the reader fans each face from its first corner.
    for dy, colour in ((-4, "rock_dark"), (8, "rock")):
        for x0, x1 in zip(ramp_x, ramp_x[1:]):
            if dy > 0:
                x1 = min(x1, left_edge - 8)
            rock.poly(colour, [(x0, ramp_y(x0) + dy), (x1, ramp_y(x1) + dy), (x1, 768), (x0, 768)])
    for x0, x1 in zip(ramp_x, ramp_x[1:]):
        rock.poly("grass", [(x0, ramp_y(x0) - 6), (x1, ramp_y(x1) - 6), (x1, ramp_y(x1) + 2),
                            (x0, ramp_y(x0) + 2)])
    right = [((right_edge, 466), (850, 466)), ((850, 466), (880, 506)), ((880, 506), (1000, 506)),
             ((1000, 340), (1024, 340))]
    for (x0, y0), (x1, y1) in right:
        rock.poly("rock_dark", [(x0, y0), (x1, y1), (x1, 768), (x0, 768)])
    for (x0, y0), (x1, y1) in right:
        x0, x1 = x0 + (8 if x0 == right_edge else -6), (1024 if x1 == 1024 else x1 - 6)
        if x1 == 994:
            x1 = 1010
        rock.poly("rock", [(x0, y0 + 10), (x1, y1 + 10), (x1, 768), (x0, 768)])
    rock.poly("grass", [(right_edge, 464), (850, 464), (850, 472), (right_edge, 472)])
    s.obj("Rocks", (0, 0), mesh=s.mesh("rocks.obj", rock))
    ledges = [(f"ramp{i}", (x0, ramp_y(x0), x1, ramp_y(x1)))
              for i, (x0, x1) in enumerate(zip(ramp_x, ramp_x[1:]))]
    ledges += [("ledge_right", (right_edge, 470, 850, 470)), ("pit_slope", (850, 470, 880, 510)),
               ("pit_floor", (880, 510, 1004, 510)), ("pit_wall", (1004, 510, 1004, 340))]
    s.comment("The right ledge, 40 units lower, ends in a pit that keeps the balls once they",
              "have crossed.")
    for name, (x0, y0, x1, y1) in ledges:
        s.obj(name, (0, 0), col_line=(x0, y0, x1, y1, 4), friction=3)
    planks, width, sag = 14, 36.0, 30.0
    gap = (right_edge - left_edge - planks * width) / (planks + 1)
    s.comment(f"{planks} planks, {fmt(width)} units wide, hang on a curve {fmt(sag)} units deep,",
              "so the bridge starts near its resting shape. Each plank collides through a",
              "line as long as itself; short ropes tie each plank's ends to its neighbours.")
    plank_mesh = s.mesh("plank.obj", Mesh("Rope bridge: a plank").poly(
        "wood_dark", rect(-width / 2, -5, width / 2, 5)).poly(
        "wood", rect(-width / 2 + 2, -3, width / 2 - 2, 3)))

    def deck_y(x):
        u = (x - left_edge) / (right_edge - left_edge)
        return deck + drop * u + sag * 4 * u * (1 - u)

    xs = [left_edge + gap * (i + 1) + width * (i + 0.5) for i in range(planks)]
    for i, x in enumerate(xs):
        s.obj(f"plank{i:02d}", (x, deck_y(x)), mesh=plank_mesh,
              col_line=(-width / 2 + 4, 0, width / 2 - 4, 0, 5), mass=1, friction=3)
    rope = dict(seg_len=4, seg_mass=0.1, thickness=3, color=(0.85, 0.75, 0.55, 1))
    s.comment("The ropes: the first and last tie a plank to a world point at the ledge's edge.")
    s.rope("plank00", (-width / 2, 0), (left_edge, deck), **rope)
    for i in range(planks - 1):
        s.rope(f"plank{i:02d}", (width / 2, 0), (-width / 2, 0), b=f"plank{i + 1:02d}", **rope)
    s.rope(f"plank{planks - 1:02d}", (width / 2, 0), (right_edge, deck + drop), **rope)
    s.comment("Three balls: one on the ramp, two starting above the view and dropping onto it",
              "later (falling into view, which quillmoor-check accepts), so they cross",
              "one at a time. Friction multiplies: the balls have 0.3 and the",
              "ground and planks 3, so a ball grips the planks (0.9) and rolls, while two",
              "balls that touch hardly brake each other (0.09).")
    for i, (x, fall, radius, mass, colour) in enumerate([(75, 0, 22, 1.5, "gold"),
                                                          (30, 200, 20, 1.2, "sky"),
                                                          (30, 420, 18, 1.0, "coral")]):
        slope = (ramp_y(x + 1) - ramp_y(x - 1)) / 2
        n = math.hypot(1, slope)
        pos = (x + slope / n * (radius + 5), ramp_y(x) - (radius + 5) / n - fall)
        s.obj(f"ball{i + 1}", pos,
              mesh=s.mesh(f"ball_{colour}.obj", ball_mesh(radius, 20, colour + "_dark", colour,
                                                          f"Rope bridge: a {colour} ball")),
              col_mesh=s.mesh(f"ball{i + 1}_col.obj", Mesh("Rope bridge: a ball's collision").poly(
                  colour, circle(radius, 20, turn=0.5)), with_materials=False),
              mass=mass, friction=0.3)
    finish(s)


def machine():
    s = Scene("machine", "A Ferris wheel: a wheel on pin joints, with gondolas on slide joints.",
              "--ticks 120")
    s.comment("A pin joint keeps two points at the distance they had when it was made; a slide",
              "joint only keeps it between a least and a greatest distance, like a chain.",
              "The wheel turns about its hub because two pin joints tie the hub to two world",
              "points 100 units away. Each gondola hangs from the rim on a slide joint with a",
              "little slack, so it swings and bobs. One gondola is heavier, so the wheel swings",
              "like a pendulum; nothing damps it (scene_damping 1). Push it with the mouse.")
    s.settings(fps=60, step_iterations=4, solver_iterations=30, gravity=(0, 400), damping=1,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A Ferris wheel -- pin joints hold the hub, slide joints hang the "
               "gondolas -- push a gondola with the mouse",
               scroller_text_y=60, **CAPTION, scroller_text_color=(0.6, 0.9, 0.85, 1))
    hub, rim, count = (512.0, 330.0), 210.0, 8
    stand = Mesh("Ferris wheel: the stand and the ground, drawn only")
    stand.poly("slate", rect(0, 700, 1024, 768)).poly("grass", rect(0, 696, 1024, 704))
    for side in (-1, 1):
        stand.poly("steel_dark", bar(hub[0], hub[1], hub[0] + side * 170, 698, 14))
    stand.poly("steel_dark", rect(hub[0] - 200, 690, hub[0] + 200, 700))
    s.comment("The stand, drawn behind everything (upper-case names are drawn first), and a",
              "ground line in case a gondola is pushed hard.")
    s.obj("Stand", (0, 0), mesh=s.mesh("stand.obj", stand), col_line=(0, 698, 1024, 698, 6),
          friction=0.8)
    wheel = Mesh("Ferris wheel: rim, spokes and hub")
    for quad in ring(rim - 6, rim + 6, 48):
        wheel.poly("gold_dark", quad)
    for quad in ring(rim * 0.55 - 3, rim * 0.55 + 3, 32):
        wheel.poly("gold_dark", quad)
    for i in range(count):
        a = 2 * math.pi * i / count
        wheel.poly("gold", bar(0, 0, rim * math.cos(a), rim * math.sin(a), 6))
        wheel.poly("gold", bar(rim * math.cos(a), rim * math.sin(a),
                               rim * math.cos(a + 2 * math.pi / count),
                               rim * math.sin(a + 2 * math.pi / count), 3))
    wheel.poly("gold_dark", circle(22, 16)).poly("cream", circle(10, 16))
    s.comment("The wheel collides only through its hub, so the gondolas pass in front of it.")
    s.obj("Wheel", hub, mesh=s.mesh("wheel.obj", wheel),
          col_mesh=s.mesh("hub_col.obj", Mesh("Ferris wheel: hub collision").poly(
              "gold", circle(22, 16)), with_materials=False), mass=6, friction=0.5)
    s.joint("pin", "Wheel", (0, 0), (hub[0] - 100, hub[1]))
    s.joint("pin", "Wheel", (0, 0), (hub[0], hub[1] - 100))
    colours = ["coral", "teal", "sky", "plum"]
    slack, drop = 6.0, 16.0
    for i in range(count):
        a = 2 * math.pi * (i + 0.5) / count
        anchor = (rim * math.cos(a), rim * math.sin(a))
        colour = colours[i % 4]
        heavy = i == 0
        gondola = Mesh(f"Ferris wheel: a {colour} gondola")
        gondola.poly("steel_dark", bar(0, -34 - drop, 0, -12, 4))  # reaches the rim when taut
        gondola.poly(colour + "_dark", [(-26, -14), (26, -14), (22, 22), (-22, 22)])
        gondola.poly(colour, [(-21, -9), (21, -9), (18, 17), (-18, 17)])
        gondola.poly("cream", rect(-14, -6, 14, 4))
        pos = (hub[0] + anchor[0], hub[1] + anchor[1] + 34 + drop)
        s.comment(f"Gondola {i + 1}" + (", twice as heavy as the others" if heavy else "")
                  + f": its top (0 -34) hangs {fmt(drop)} to {fmt(drop + slack)} units below "
                  f"the rim point ({fmt(anchor[0])} {fmt(anchor[1])}) of the wheel.")
        s.obj(f"gondola{i + 1}", pos, mesh=s.mesh(f"gondola_{colour}.obj", gondola),
              col_mesh=s.mesh("gondola_col.obj", Mesh("Ferris wheel: gondola collision").poly(
                  "slate", [(-26, -14), (26, -14), (22, 22), (-22, 22)]), with_materials=False),
              mass=2 if heavy else 1, friction=0.5)
        s.joint("slide", f"gondola{i + 1}", (0, -34), anchor, b="Wheel",
                slide=(drop - slack, drop + slack))
    finish(s)


def galton():
    s = Scene("galton", "A Galton board: 180 balls fall through rows of pegs into bins.",
              "--ticks 240")
    s.comment("Every peg is a static object that collides through a short thick line",
              "(obj_col_line with a radius): lines are the cheapest static shapes. Each ball",
              "is a small moving body of 12 triangles; at every peg it goes left or right by",
              "chance, so the bins fill in the shape of a bell curve.")
    s.settings(fps=60, step_iterations=3, solver_iterations=10, gravity=(0, 500), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A Galton board -- every ball takes its own way through the pegs",
               scroller_text_y=740, scroller_text_scale=0.2, scroller_text_thickness=2,
               scroller_text_speed=100, scroller_text_color=(0.99, 0.86, 0.5, 1))
    board = Mesh("Galton board: the back board, funnel and bins, drawn only")
    left, right, bin_top, floor = 152.0, 872.0, 510.0, 720.0
    board.poly("slate", rect(left - 10, 20, right + 10, floor + 10))
    funnel = [((300, 24), (490, 196)), ((724, 24), (534, 196))]
    for (x0, y0), (x1, y1) in funnel:
        board.poly("wood", bar(x0, y0, x1, y1, 8))
    board.poly("wood_dark", rect(left - 10, floor, right + 10, floor + 12))
    pitch = 36.0
    walls = [left + pitch * i for i in range(21)]
    for x in walls:
        board.poly("wood_dark", rect(x - 3, bin_top, x + 3, floor))
    s.comment("The board is drawn behind everything; its walls collide through lines below.")
    s.obj("Board", (0, 0), mesh=s.mesh("board.obj", board))
    s.comment("The funnel, the side walls, the floor and the bin walls.")
    lines = [("funnel_left", (300, 24, 490, 196)), ("funnel_right", (724, 24, 534, 196)),
             ("side_left", (left, 30, left, floor)), ("side_right", (right, 30, right, floor)),
             ("floor", (left, floor, right, floor))]
    lines += [(f"bin{i:02d}", (x, bin_top, x, floor)) for i, x in enumerate(walls[1:-1])]
    for name, (x0, y0, x1, y1) in lines:
        s.obj(name, (0, 0), col_line=(x0, y0, x1, y1, 3), friction=0.3, bounciness=0.2)
    peg = s.mesh("peg.obj", Mesh("Galton board: a peg").poly("cream", circle(5, 12)))
    s.comment("Pegs: 12 rows, each shifted half a step from the one above.")
    for row in range(12):
        y = 236 + row * 22
        offset = 7 + (0 if row % 2 == 0 else pitch / 2)  # no peg right under the mouth
        x = left + pitch / 2 + offset - pitch
        col = 0
        while x <= right:
            if x > left + 4 and x < right - 4:
                s.obj(f"peg{row}_{col:02d}", (x, y), mesh=peg, col_line=(0, -0.5, 0, 0.5, 4.5),
                      friction=0.3, bounciness=0.1)
                col += 1
            x += pitch
    colours = ["coral", "teal", "sky", "gold", "plum"]
    s.comment("180 balls start packed in the funnel and run out of its mouth, 44 units wide:",
              "narrower ones jam.")
    # An octagon (six triangles) collides almost like the drawn 12-sided ball at half the cost.
    col_ball = s.mesh("ball_col.obj", Mesh("Galton board: ball collision").poly(
        "cream", circle(5.1, 8, turn=0.5)), with_materials=False)
    n, row = 0, 0
    while n < 180:
        y = 182 - row * 9.5
        inner = 300 + (490 - 300) * (24 - y) / (24 - 196)  # the funnel's left side at y
        cols = int((2 * (512 - inner) - 16) // 11.5)
        for c in range(cols):
            if n == 180:
                break
            x = 512 - (cols - 1) * 11.5 / 2 + c * 11.5 + (row % 2) * 2
            colour = colours[n % 5]
            s.obj(f"ball{n:03d}", (x, y), mesh=s.mesh(f"ball_{colour}.obj", Mesh(
                f"Galton board: a {colour} ball").poly(colour, circle(5, 12))), col_mesh=col_ball,
                  mass=0.2, friction=0.1, bounciness=0.1)
            n += 1
        row += 1
    finish(s)


def pyramid():
    s = Scene("pyramid", "A pyramid of 36 crates that stands until the mouse pushes it.",
              "--ticks 120")
    s.comment("Stacking needs friction (it defaults to 0, and two shapes' frictions multiply:",
              "crates 0.8 on ground 1 gives 0.8 at the base) and enough solver iterations to",
              "settle the contacts of a tall stack; two substeps per frame keep it quiet.",
              "Move the mouse through the crates to knock them down; r builds the pyramid again.",
              "The push is the mouse's speed: scene_mouse_impulse_force scales it, and a jump",
              "longer than scene_mouse_impulse_force_max (say, the cursor entering the window)",
              "is ignored.")
    s.settings(fps=60, step_iterations=2, solver_iterations=30, gravity=(0, 600), damping=0.9,
               mouse_impulse_force=0.08, mouse_impulse_force_max=3000,
               scroller_text="A pyramid of crates -- it stands until you push it: move the "
               "mouse through it -- r builds it again",
               scroller_text_y=90, **CAPTION, scroller_text_color=(0.96, 0.93, 0.84, 1))
    ground = Mesh("Pyramid: the ground, drawn only")
    ground.poly("slate", rect(0, 700, 1024, 768)).poly("slate_light", rect(0, 700, 1024, 706))
    s.obj("Ground", (0, 0), mesh=s.mesh("ground.obj", ground),
          col_line=(-200, 706, 1224, 706, 6), friction=1)
    s.comment("Walls just outside the view keep pushed crates in sight.")
    s.obj("wall_left", (0, 0), col_line=(-6, -400, -6, 706, 6), friction=0.5)
    s.obj("wall_right", (0, 0), col_line=(1030, -400, 1030, 706, 6), friction=0.5)
    half = 22.0
    col = s.mesh("crate_col.obj", Mesh("Pyramid: crate collision square").poly(
        "wood", rect(-half, -half, half, half)), with_materials=False)
    colours = ["coral", "teal", "sky", "plum", "gold"]
    rows = 8
    s.comment(f"{rows} rows of crates, {fmt(2 * half)} units square, each row resting on the one "
              "below", "(declared touching, 2 units apart sideways).")
    n = 0
    for row in range(rows):
        count = rows - row
        y = 700 - half - row * 2 * half
        for c in range(count):
            x = 512 + (c - (count - 1) / 2) * (2 * half + 2)
            colour = colours[(row + c) % 5]
            s.obj(f"crate{n:02d}", (x, y), mesh=s.mesh(f"crate_{colour}.obj", crate_mesh(
                half, colour + "_dark", colour, f"Pyramid: a {colour} crate")), col_mesh=col,
                  mass=1, friction=0.8)
            n += 1
    finish(s)


def glow():
    s = Scene("glow", "Glow showcase: twelve neon pendulums swing through a soft glow.",
              "--ticks 120")
    s.comment("scene_glow_enabled 1 draws the frame through the glow: the picture is blurred",
              "at eight sizes and the blurs are added over it. scene_glow_base is the weight of",
              "the first (sharpest) layer and scene_glow_mul the factor from one layer to the",
              "next, so 0.6 and 0.85 give a bright halo that fades slowly; try 0.3 for a",
              "subtle one. Bright colours on black glow best. The scroller text is part of the",
              "glowing picture; scene_scroller_text_color sets its colour.")
    s.settings(fps=60, step_iterations=8, solver_iterations=20, gravity=(0, 600), damping=1,
               glow_enabled=1, glow_base=0.6, glow_mul=0.85,
               mouse_impulse_force=0.03, mouse_impulse_force_max=2000,
               draw_rope_after_objects=0,
               scroller_text="~ Q U I L L M O O R ~  neon pendulums in a soft glow  ~",
               scroller_text_y=110, scroller_text_scale=0.45, scroller_text_thickness=4,
               scroller_text_shadow_dist=(4, 4), scroller_text_speed=160,
               scroller_text_color=(1.0, 0.35, 0.8, 1))
    rail = Mesh("Glow: the rail and the floor line, drawn only")
    rail.poly("neon_violet", rect(150, 146, 874, 152)).poly("neon_cyan", rect(40, 712, 984, 716))
    s.obj("Rail", (0, 0), mesh=s.mesh("rail.obj", rail))
    colours = ["neon_pink", "neon_cyan", "neon_lime", "neon_gold", "neon_violet", "neon_white"]
    rope_colours = {"neon_pink": (1, 0.25, 0.7, 0.8), "neon_cyan": (0.2, 0.95, 1, 0.8),
                    "neon_lime": (0.6, 1, 0.25, 0.8), "neon_gold": (1, 0.78, 0.2, 0.8),
                    "neon_violet": (0.65, 0.4, 1, 0.8), "neon_white": (0.92, 0.95, 1, 0.8)}
    s.comment("The bobs have no collision shape on purpose, so they pass through each",
              "other; hung on pins, they are not what quillmoor-check warns of.")
    s.comment("A pendulum wave: in 60 seconds pendulum k swings about 10 + k times, so the",
              "lengths are g (T / 2 pi)^2 for T = 60 / (10 + k). Each bob is a body without",
              "collision shape (they pass through each other), held by a pin joint to its",
              "point on the rail; the coloured string is a rope alongside it. Ropes need",
              "several substeps (8 here; 4 or more). Nothing damps the swing (damping 1).")
    for k in range(12):
        period = 60.0 / (10 + k)
        length = 600 * (period / (2 * math.pi)) ** 2
        pivot = (181 + k * 60, 150.0)
        angle = 0.4
        pos = (pivot[0] + length * math.sin(angle), pivot[1] + length * math.cos(angle))
        colour = colours[k % len(colours)]
        bob = Mesh(f"Glow: a {colour} bob").poly(colour, circle(14, 20))
        bob.poly("neon_white", circle(6, 12))
        s.obj(f"bob{k:02d}", pos, mesh=s.mesh(f"bob_{colour}.obj", bob), mass=1)
        s.joint("pin", f"bob{k:02d}", (0, 0), pivot)
        s.rope(f"bob{k:02d}", (0, 0), pivot, seg_len=25, seg_mass=0.002, thickness=2,
               color=rope_colours[colour])
    finish(s)


def stress():
    s = Scene("stress", "Stress test: 2,000 moving bodies pour into a box (performance reference).",
              "--ticks 100")
    s.comment("2,000 small bodies (squares of two collision triangles and single triangles)",
              "start in a grid, fall onto a row of deflectors and pile up in a box. Every",
              "frame steps them all once (one substep, 10 solver iterations) and draws them,",
              "so this scene measures the cost of the physics and the drawing. Friction 0.5.")
    s.settings(fps=60, step_iterations=1, solver_iterations=10, gravity=(0, 500), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=2000,
               scroller_text="2,000 moving bodies -- the performance reference scene",
               scroller_text_y=40, scroller_text_scale=0.22, scroller_text_thickness=2,
               scroller_text_speed=120, scroller_text_color=(0.9, 0.9, 0.9, 1))
    box = Mesh("Stress: the box and the deflectors, drawn only")
    box.poly("slate_light", rect(0, 748, 1024, 768)).poly("slate_light", rect(0, 0, 8, 768))
    box.poly("slate_light", rect(1016, 0, 1024, 768))
    deflectors = []
    for i in range(6):
        x = 112 + i * 160
        deflectors.append((x - 40, 580, x + 40, 600) if i % 2 else (x - 40, 600, x + 40, 580))
    for x0, y0, x1, y1 in deflectors:
        box.poly("slate_light", bar(x0, y0, x1, y1, 10))
    s.obj("Box", (0, 0), mesh=s.mesh("box.obj", box))
    s.obj("floor", (0, 0), col_line=(0, 752, 1024, 752, 6), friction=0.5)
    s.obj("wall_left", (0, 0), col_line=(4, -300, 4, 752, 6), friction=0.5)
    s.obj("wall_right", (0, 0), col_line=(1020, -300, 1020, 752, 6), friction=0.5)
    for i, (x0, y0, x1, y1) in enumerate(deflectors):
        s.obj(f"deflector{i}", (0, 0), col_line=(x0, y0, x1, y1, 5), friction=0.5)
    colours = ["coral", "teal", "sky", "gold", "plum"]
    square = s.mesh("square_col.obj", Mesh("Stress: square collision").poly(
        "cream", rect(-6, -6, 6, 6)), with_materials=False)
    triangle = [(0, -7), (7, 5), (-7, 5)]
    tri_col = s.mesh("triangle_col.obj", Mesh("Stress: triangle collision").poly(
        "cream", triangle), with_materials=False)
    s.comment("The bodies: 50 columns by 40 rows, 19 by 12 units apart.")
    n = 0
    for row in range(40):
        for c in range(50):
            x = 40 + c * 19 + (6 if row % 2 else 0)
            y = 60 + row * 12
            colour = colours[(row // 2 + c) % 5]
            if (row + c) % 2:
                s.obj(f"b{n:04d}", (x, y), mesh=s.mesh(f"square_{colour}.obj", Mesh(
                    f"Stress: a {colour} square").poly(colour, rect(-6, -6, 6, 6))),
                      col_mesh=square, mass=0.2, friction=0.5)
            else:
                s.obj(f"b{n:04d}", (x, y), mesh=s.mesh(f"triangle_{colour}.obj", Mesh(
                    f"Stress: a {colour} triangle").poly(colour, triangle)),
                      col_mesh=tri_col, mass=0.2, friction=0.5)
            n += 1
    finish(s)


if __name__ == "__main__":
    cradle()
    bridge()
    machine()
    galton()
    pyramid()
    glow()
    stress()
