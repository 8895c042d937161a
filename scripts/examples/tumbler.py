"""examples/tumbler: a kinematic drum and paddle turn forever, tumbling balls and crates."""
import math

from .scene_writer import ball_mesh, bar, CAPTION, circle, crate_mesh, finish, fmt, Mesh, rect, \
    ring, Scene


def write(root):
    s = Scene(root, "tumbler",
              "A tumbler: a kinematic drum and paddle turn forever, tumbling balls and crates.",
              "--ticks 200")
    s.comment("A kinematic object (obj_kinematic 1) moves by its start velocity (obj_velocity)",
              "and spin (obj_spin) forever: gravity, contacts, joints and the mouse never change",
              "them, and it needs no mass. It pushes moving objects as an unstoppable wall",
              "would, and its surface moves, so friction carries what lies on it. Kinematic and",
              "static objects never collide with each other, only with moving ones. Here a",
              "kinematic drum turns clockwise; its ribs lift the balls and crates up the left",
              "side until they tumble down, and a paddle in the middle turns the other way.")
    s.settings(fps=60, step_iterations=3, solver_iterations=15, gravity=(0, 500), damping=0.95,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A tumbler -- a kinematic drum and paddle, turning forever -- "
               "push the balls with the mouse",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.6, 0.9, 0.85, 1))
    hub, inner, rim, ribs, sides = (512.0, 410.0), 230.0, 16.0, 6, 40

    stand = Mesh("Tumbler: the stand and the floor, drawn only")
    stand.poly("slate", rect(0, 700, 1024, 768)).poly("slate_light", rect(0, 696, 1024, 704))
    for side in (-1, 1):
        stand.poly("steel_dark", bar(hub[0], hub[1], hub[0] + side * 200, 698, 18))
        stand.poly("steel_dark", circle(22, 16, hub[0] + side * 150, hub[1] + 196))
        stand.poly("steel", circle(12, 16, hub[0] + side * 150, hub[1] + 196))
    s.comment("The stand has no collision shape, and obj_layer -2 draws it behind the drum.")
    s.obj("stand", (0, 0), mesh=s.mesh("stand.obj", stand), layer=-2)

    drum = Mesh("Tumbler: the drum, its rim and ribs")
    drum_col = Mesh("Tumbler: the drum's collision, the rim and the ribs")
    for quad in ring(inner, inner + rim, sides):
        drum.poly("steel_dark", quad)
        drum_col.poly("steel", quad)
    for i in range(ribs):
        a = 2 * math.pi * (i + 0.5) / ribs
        rib = bar(inner * math.cos(a), inner * math.sin(a), (inner - 48) * math.cos(a),
                  (inner - 48) * math.sin(a), 12)
        drum.poly("steel", rib)
        drum_col.poly("steel", rib)
    drum.parts.insert(0, ("slate", circle(inner, sides)))  # its back, drawn first
    speed = 36
    s.comment(f"The drum: one kinematic object turning clockwise at {fmt(speed)} degrees a "
              "second.",
              f"Its collision mesh is its rim ({2 * sides} triangles) and {ribs} ribs; its dark "
              "back is",
              "only drawn. obj_layer -1 puts it behind the balls it holds, though its name",
              "comes after theirs.")
    s.obj("drum", hub, mesh=s.mesh("drum.obj", drum),
          col_mesh=s.mesh("drum_col.obj", drum_col, with_materials=False), kinematic=True,
          spin=speed, friction=0.8, layer=-1)

    paddle = Mesh("Tumbler: the paddle in the middle")
    paddle_col = Mesh("Tumbler: the paddle's collision")
    for i in range(3):
        a = 2 * math.pi * i / 3
        blade = bar(0, 0, 86 * math.cos(a), 86 * math.sin(a), 12)
        paddle.poly("teal_dark", blade)
        paddle_col.poly("teal", blade)
    paddle.poly("teal", circle(18, 16)).poly("cream", circle(7, 12))
    s.comment("The paddle turns the other way (a negative spin is anticlockwise on screen). It",
              "turns through the drum's space without touching it: kinematic objects never",
              "collide with each other either.")
    s.obj("paddle", hub, mesh=s.mesh("paddle.obj", paddle),
          col_mesh=s.mesh("paddle_col.obj", paddle_col, with_materials=False), kinematic=True,
          spin=-60, friction=0.5)

    s.comment("The load: balls that collide through one circle each (obj_col_circle) and roll",
              "(obj_moment auto), and crates. They start in rows in the bottom of the drum, clear of",
              "the paddle.")
    colours = ["coral", "gold", "sky", "plum", "teal"]
    index = 0
    for row, y in enumerate((560.0, 520.0, 480.0)):
        for col in range(9 - row):
            x = hub[0] + (col - (8 - row) / 2) * 38
            if row == 2 and abs(x - hub[0]) < 60:
                continue  # the paddle's sweep: a ball there would start inside a blade
            colour = colours[index % len(colours)]
            index += 1
            if (row + col) % 4 == 3:
                mesh = s.mesh(f"crate_{colour}.obj", crate_mesh(
                    15, colour + "_dark", colour, f"Tumbler: a {colour} crate"))
                s.obj(f"load{index:02d}", (x, y), mesh=mesh,
                      col_mesh=s.mesh("crate_col.obj", Mesh("Tumbler: a crate's collision").poly(
                          "slate", rect(-15, -15, 15, 15)), with_materials=False),
                      mass=1, moment="auto", friction=0.5)
            else:
                mesh = s.mesh(f"ball_{colour}.obj", ball_mesh(
                    16, 20, colour + "_dark", colour, f"Tumbler: a {colour} ball"))
                s.obj(f"load{index:02d}", (x, y), mesh=mesh, col_circles=[(0, 0, 16)], mass=0.8,
                      moment="auto", bounciness=0.3, friction=0.5)
    finish(s)
