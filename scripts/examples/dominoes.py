"""examples/dominoes: two rows of dominoes, started by one tilted piece, joined by a ball."""
import math

from .scene_writer import ball_mesh, CAPTION, finish, fmt, Mesh, rect, Scene


def write(root):
    s = Scene(root, "dominoes",
              "Dominoes: one tilted piece topples a row, a ball carries it down to a second row.",
              "--ticks 340")
    s.comment("obj_angle gives an object its start angle in degrees; a positive angle turns it",
              "clockwise on screen (y grows downwards), about its position. The first domino",
              "starts tilted to the right and topples the rest. At the end of the shelf the",
              "last one pushes a ball off; the ball rolls down a turned ramp and starts the",
              "row below, which falls the other way.")
    s.settings(fps=60, step_iterations=3, solver_iterations=20, gravity=(0, 900), damping=0.95,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="Dominoes -- obj_angle tilts the first piece -- r sets them up again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.85, 0.90, 1.0, 1))
    shelf_y, floor_y, half_w, half_h = 330.0, 690.0, 6.0, 34.0

    ground = Mesh("Dominoes: the floor and the shelf")
    ground.poly("wood_dark", rect(0, floor_y, 1024, 768)).poly("wood", rect(0, floor_y, 1024,
                                                                            floor_y + 8))
    ground.poly("wood_dark", rect(20, shelf_y, 730, shelf_y + 18))
    ground.poly("wood", rect(20, shelf_y, 730, shelf_y + 6))
    ground.poly("wood_dark", rect(32, shelf_y + 18, 46, floor_y))
    ground_col = Mesh("Dominoes: collision of the floor and the shelf").poly(
        "wood", rect(0, floor_y, 1024, 768)).poly("wood", rect(20, shelf_y, 730, shelf_y + 18))
    s.comment("The floor and the shelf: one static object. The shelf's post is only drawn.")
    s.obj("Ground", (0, 0), mesh=s.mesh("ground.obj", ground),
          col_mesh=s.mesh("ground_col.obj", ground_col, with_materials=False), friction=0.8)

    ramp_pos, ramp_len, ramp_angle = (770.0, 600.0), 250.0, -35.0
    s.comment("The ramp is a static object turned by obj_angle: its collision line and its",
              f"picture are turned {fmt(-ramp_angle)} degrees anticlockwise about its position,",
              "so its left end comes down to the floor.")
    ramp = Mesh("Dominoes: the ramp, drawn level; obj_angle turns it")
    ramp.poly("steel_dark", rect(-ramp_len / 2, -7, ramp_len / 2, 7))
    ramp.poly("steel", rect(-ramp_len / 2 + 3, -4, ramp_len / 2 - 3, 1))
    s.obj("Ramp", ramp_pos, mesh=s.mesh("ramp.obj", ramp),
          col_line=(-ramp_len / 2, 0, ramp_len / 2, 0, 7), angle=ramp_angle, friction=0.8)

    pieces_col = Mesh("Dominoes: a domino's collision").poly(
        "slate", rect(-half_w, -half_h, half_w, half_h))
    colours = ["coral", "gold", "teal", "sky", "plum"]
    meshes = {}
    for colour in colours:
        mesh = Mesh(f"Dominoes: a {colour} domino")
        mesh.poly(colour + "_dark", rect(-half_w, -half_h, half_w, half_h))
        mesh.poly(colour, rect(-half_w + 2, -half_h + 2, half_w - 2, half_h - 2))
        meshes[colour] = s.mesh(f"domino_{colour}.obj", mesh)
    col = s.mesh("domino_col.obj", pieces_col, with_materials=False)
    tilt = 18.0
    s.comment("The upper row. A domino is 12 x 68 and collides through its outline; obj_moment",
              "auto gives it the moment of inertia of that outline (the old rule, a disc out to",
              "its nearest corner, makes it turn more slowly). The first starts at",
              f"{fmt(tilt)} degrees, standing on its lower right corner, so it begins to fall",
              "at once.")
    spacing = 42.0
    for i in range(15):
        x = 90 + spacing * i
        if i == 0:
            a = math.radians(tilt)
            pos = (x, shelf_y - (half_w * math.sin(a) + half_h * math.cos(a)))
        else:
            pos = (x, shelf_y - half_h)
        s.obj(f"upper{i + 1:02d}", pos, mesh=meshes[colours[i % 5]], col_mesh=col, mass=1,
              angle=tilt if i == 0 else None, moment="auto", friction=0.6)
    radius = 20.0
    s.comment("The ball at the end of the shelf: one collision circle and obj_moment auto, so",
              "it rolls.")
    s.obj("ball", (90 + spacing * 15 - 8, shelf_y - radius),
          mesh=s.mesh("ball.obj", ball_mesh(radius, 24, "steel_dark", "steel",
                                            "Dominoes: the ball")),
          col_circles=[(0, 0, radius)], mass=2, moment="auto", friction=0.6)
    s.comment("The lower row, which the ball meets from the right.")
    for i in range(14):
        x = 630 - spacing * i
        s.obj(f"lower{i + 1:02d}", (x, floor_y - half_h), mesh=meshes[colours[(i + 2) % 5]],
              col_mesh=col, mass=1, moment="auto", friction=0.6)
    finish(s)
