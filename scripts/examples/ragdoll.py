"""examples/ragdoll: a ragdoll of pivot joints and rotary limits tumbles down stairs."""
import math

from .scene_writer import bar, CAPTION, circle, finish, Mesh, rect, Scene


def capsule(width, length, sides=5):
    """A limb around its centre: a band of the given width with round ends, along y."""
    r, half = width / 2, length / 2 - width / 2
    points = [(r * math.cos(math.pi * i / sides), half + r * math.sin(math.pi * i / sides))
              for i in range(sides + 1)]
    return points + [(-x, -y) for x, y in points]


def write(root):
    s = Scene(root, "ragdoll",
              "A ragdoll tumbles down stairs: ten parts on pivot joints, held by rotary limits.",
              "--ticks 75")
    s.comment("A pivot joint pins two objects together at one point and lets them turn freely",
              "about it, like a hinge. Each joint here is given as a world point (joint_pivot),",
              "where the two parts meet as the scene is built. A rotary limit joint then keeps",
              "the angle of its second object, relative to its first, between joint_angle_min",
              "and joint_angle_max (degrees, clockwise on screen), so knees and elbows bend one",
              "way only.")
    s.settings(fps=60, step_iterations=3, solver_iterations=20, gravity=(0, 600), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A ragdoll -- pivot joints and rotary limits -- push it with the "
               "mouse, r starts again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.85, 0.90, 1.0, 1))

    landing, rise, run, steps, floor = 276.0, 48.0, 60.0, 8, 660.0
    stairs = Mesh("Ragdoll: the stairs and the floor, drawn")
    stairs_col = Mesh("Ragdoll: the stairs' collision, a block per step")
    blocks = [(0, landing, 200, 768)]
    blocks += [(200 + run * i, landing + rise * (i + 1), 200 + run * (i + 1), 768)
               for i in range(steps - 1)]
    blocks += [(200 + run * (steps - 1), floor, 1024, 768), (1000, 380, 1024, floor)]
    for x0, y0, x1, y1 in blocks:
        stairs.poly("wood_dark", rect(x0, y0, x1, y1))
        stairs.poly("wood", rect(x0 + 3, y0 + 3, x1 - 3, y0 + 10))
        stairs_col.poly("wood", rect(x0, y0, x1, y1))
    rail = Mesh("Ragdoll: the handrail, drawn only")
    tops = [(200 + run * (i + 0.5), landing + rise * (i + 1)) for i in range(steps - 1)]
    for px, py in tops:
        rail.poly("steel_dark", rect(px - 3, py - 96, px + 3, py))
    (x0, y0), (x1, y1) = tops[0], tops[-1]
    rail.poly("steel_dark", bar(x0 - 30, y0 - 96 - 30 * rise / run, x1 + 30,
                                y1 - 96 + 30 * rise / run, 8))
    s.comment("The handrail has no collision shape; its layer, -3, is drawn first of all.")
    s.obj("Rail", (0, 0), mesh=s.mesh("rail.obj", rail), layer=-3)
    s.comment("The stairs: one static object whose collision mesh is one block per step.",
              "obj_layer -2 draws it behind the doll's far arm and leg (layer -1).")
    s.obj("Stairs", (0, 0), mesh=s.mesh("stairs.obj", stairs),
          col_mesh=s.mesh("stairs_col.obj", stairs_col, with_materials=False), friction=0.5,
          layer=-2)

    # The doll stands on the landing facing right. Its measures are given for a doll 150
    # units tall and scaled by k; (x, y) is its hip.
    k = 1.4
    x, y = 110.0, landing - 64 * k

    def at(dx, dy):
        return (x + dx * k, y + dy * k)

    def scaled(points):
        return [(px * k, py * k) for px, py in points]

    parts = [  # name, centre, outline, colour, mass, layer
        ("torso", at(0, -28), scaled(capsule(30, 60)), "sky", 3.0, 0),
        ("head", at(0, -72), scaled(circle(14, 16)), "cream", 1.0, 0),
    ]
    for tag, side, layer, shade in (("far", -1, -1, "_dark"), ("near", 1, 1, "")):
        parts += [
            (f"arm_upper_{tag}", at(4 * side, -36), scaled(capsule(11, 32)), "coral" + shade,
             0.5, layer),
            (f"arm_lower_{tag}", at(4 * side, -6), scaled(capsule(10, 30)), "coral" + shade,
             0.4, layer),
            (f"leg_upper_{tag}", at(3 * side, 16), scaled(capsule(13, 34)), "plum" + shade,
             0.8, layer),
            (f"leg_lower_{tag}", at(3 * side, 48), scaled(capsule(12, 32)), "plum" + shade,
             0.6, layer),
        ]
    s.comment("The parts. Each collides through its own outline (obj_col_mesh), and obj_moment",
              "auto gives each the moment of inertia of that outline. All share obj_group doll,",
              "so parts that overlap at a joint do not push each other apart. The far arm and",
              "leg are drawn behind the torso (obj_layer -1), the near ones in front (1). Every",
              "part starts with the same obj_velocity: the doll runs off the landing.")
    for name, pos, outline, colour, mass, layer in parts:
        mesh = Mesh(f"Ragdoll: {name}").poly(colour, outline)
        if name == "head":  # an eye, to show which way it faces
            mesh.poly("slate", circle(2.5 * k, 8, 7 * k, -3 * k))
        col = Mesh(f"Ragdoll: {name}'s collision").poly(colour, outline)
        s.obj(name, pos, mesh=s.mesh(f"{name}.obj", mesh),
              col_mesh=s.mesh(f"{name}_col.obj", col, with_materials=False), mass=mass,
              moment="auto", friction=0.4, bounciness=0.2, velocity=(230, 0), group="doll",
              layer=layer)
    s.comment("The joints: a pivot where two parts meet, and a rotary limit on the angle of",
              "the second part relative to the first. The doll faces right, so a knee bends",
              "clockwise (positive: the shin swings back) and an elbow anticlockwise.")
    joints = [("torso", "head", at(0, -58), -40, 40)]
    for tag, side in (("far", -1), ("near", 1)):
        joints += [("torso", f"arm_upper_{tag}", at(4 * side, -50), -160, 70),
                   (f"arm_upper_{tag}", f"arm_lower_{tag}", at(4 * side, -21), -140, 0),
                   ("torso", f"leg_upper_{tag}", at(3 * side, 0), -110, 30),
                   (f"leg_upper_{tag}", f"leg_lower_{tag}", at(3 * side, 32), 0, 140)]
    for a, b, point, low, high in joints:
        s.joint("pivot", a, b=b, pivot=point)
        s.joint("rotary_limit", a, b=b, angle_min=low, angle_max=high)
    finish(s)
