"""examples/machine: a Ferris wheel on a pivot joint, turned by a motor, its gondolas on slide
joints."""
import math

from .scene_writer import bar, CAPTION, circle, finish, fmt, Mesh, rect, ring, Scene


def write(root):
    s = Scene(root, "machine",
              "A Ferris wheel: a wheel on a pivot joint, turned by a motor, with gondolas on "
              "slide joints.",
              "--ticks 120")
    s.comment("A pivot joint pins the wheel's hub to a world point and lets it turn about it; a",
              "motor joint turns it slowly. A slide joint keeps two points between a least and",
              "a greatest distance, like a chain: each gondola hangs from the rim on one with a",
              "little slack, so it swings and bobs. One gondola is heavier, but the motor is",
              "strong enough to turn the wheel at an even speed all the same; nothing damps the",
              "gondolas (scene_damping 1). Push them with the mouse.")
    s.settings(fps=60, step_iterations=4, solver_iterations=30, gravity=(0, 400), damping=1,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A Ferris wheel -- a pivot and a motor turn the wheel, slide joints "
               "hang the gondolas -- push a gondola with the mouse",
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
    s.comment("The hinge: joint_pivot names the world point the hub turns about. With no",
              "joint_obj_b the joint's other end is the world.")
    s.joint("pivot", "Wheel", pivot=hub)
    s.comment("The motor turns the wheel (its second object) at 12 degrees a second, clockwise,",
              "against the world (no first object). joint_max_force caps its torque, here",
              "enough to carry the heavy gondola over the top at an even speed.")
    s.joint("motor", None, b="Wheel", rate=12, max_force=150000)
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
